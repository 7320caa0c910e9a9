#include "platform/Reports.h"

#include "platform/Prompts.h"

namespace reports {

void named(Prompts& prompts, QWidget* parent, const QString& prefix, const AppError& error) {
    prompts.message(parent, withPath(prefix + error.description, error));
}

void plain(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, withPath(error.description, error));
}

void critical(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, withPath(QStringLiteral("Error! ") + error.description, error), QString(),
                    Prompts::Buttons::Ok, Prompts::Icon::Critical);
}

void file(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, fileReportText(error), QStringLiteral("File Error"));
}

} // namespace reports
