#pragma once

#include <QString>
#include <utility>

// A failure as a value, with the classic error numbers and wordings.
struct AppError {
    int number = 0;
    QString description;
    // The file or folder concerned, when there is one: the reports name it on a line of its own.
    QString path;

    AppError() = default;
    AppError(int n, QString text, QString concerned = QString())
        : number(n), description(std::move(text)), path(std::move(concerned)) {}
    // The same error, naming the file or folder it concerns.
    AppError about(const QString& concerned) const { return AppError(number, description, concerned); }

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

// "Error( 53): File not found" — the text of the file report, and the path concerned on a line of its own.
QString fileReportText(const AppError& e);
// A report's text followed by the path the error concerns on a line of its own (the text alone when the
// error names no path).
QString withPath(const QString& text, const AppError& e);
