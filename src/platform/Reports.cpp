#include "platform/Reports.h"

#include "platform/Prompts.h"

namespace reports {

void named(Prompts& prompts, QWidget* parent, const QString& prefix, const AppError& error) {
    prompts.message(parent, prefix + error.description);
}

void plain(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, error.description);
}

void critical(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, QStringLiteral("Error! ") + error.description, QString(), Prompts::Buttons::Ok,
                    Prompts::Icon::Critical);
}

void file(Prompts& prompts, QWidget* parent, const AppError& error) {
    prompts.message(parent, fileReportText(error), QStringLiteral("File Error"));
}

} // namespace reports
