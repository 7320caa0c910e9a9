#pragma once

#include "platform/AppError.h"

class Prompts;
class QWidget;

// The ways a handler reports a failure to the user. Each handler uses exactly one of them; the
// "ignore" and "silent end" behaviours show nothing and need no helper.
namespace reports {

// A report prefix immediately followed by the error's description ("Goto Error: Overflow").
void named(Prompts& prompts, QWidget* parent, const QString& prefix, const AppError& error);
// The error's description alone.
void plain(Prompts& prompts, QWidget* parent, const AppError& error);
// The stop icon and "Error! " followed by the description.
void critical(Prompts& prompts, QWidget* parent, const AppError& error);
// The file report: "Error( 53): File not found" titled "File Error".
void file(Prompts& prompts, QWidget* parent, const AppError& error);

} // namespace reports
