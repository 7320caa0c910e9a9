#include "platform/AppError.h"

#include <QDir>

#include "platform/TextHelpers.h"

QString errorDescription(int number) {
    switch (number) {
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 9:
        return QStringLiteral("Subscript out of range");
    case AppError::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case 52:
        return QStringLiteral("Bad file name or number");
    case AppError::FileNotFound:
        return QStringLiteral("File not found");
    case 57:
        return QStringLiteral("Device I/O error");
    case AppError::DiskFull:
        return QStringLiteral("Disk full");
    case 62:
        return QStringLiteral("Input past end of file");
    case 70:
        return QStringLiteral("Permission denied");
    case AppError::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case AppError::PathNotFound:
        return QStringLiteral("Path not found");
    case AppError::ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case AppError::Cancelled:
        return QStringLiteral("Cancel was selected");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

AppError AppError::fromNumber(int number) {
    return AppError{number, errorDescription(number)};
}

QString fileReportText(const AppError& e) {
    return withPath(QStringLiteral("Error(") + text::Str(e.number) + QStringLiteral("): ") + e.description,
                    e);
}

QString withPath(const QString& text, const AppError& e) {
    return e.path.isEmpty() ? text : text + u'\n' + QDir::toNativeSeparators(e.path);
}
