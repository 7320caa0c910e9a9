#pragma once

#include <QString>

// A failure as a value, with the classic error numbers and wordings.
struct AppError {
    int number = 0;
    QString description;

    bool isCancel() const { return number == Cancelled; }
    explicit operator bool() const { return number != 0; }

    enum : int {
        TypeMismatch = 13,
        FileNotFound = 53,
        DiskFull = 61,
        PathFileAccess = 75,
        PathNotFound = 76,
        ObjectNotSet = 91,
        Cancelled = 32755,
    };

    static AppError none() { return {}; }
    static AppError fromNumber(int number);
    static AppError typeMismatch() { return fromNumber(TypeMismatch); }
    static AppError fileNotFound() { return fromNumber(FileNotFound); }
    static AppError accessError() { return fromNumber(PathFileAccess); }
    static AppError pathNotFound() { return fromNumber(PathNotFound); }
    static AppError objectNotSet() { return fromNumber(ObjectNotSet); }
    static AppError cancelled() { return fromNumber(Cancelled); }
};

// The classic wording of an error number ("File not found" for 53).
QString errorDescription(int number);

// "Error( 53): File not found" — the text of the file report.
QString fileReportText(const AppError& e);
