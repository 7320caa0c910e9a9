#pragma once

#include <QString>

// Words that name a Windows thing keep it on Windows; elsewhere they name what the system has.
namespace platformwords {

// The compile-options check box that hides the compiler's console.
inline QString hideConsoleCaption() {
#ifdef Q_OS_WIN
    return QStringLiteral("&Don't Display DOS Window");
#else
    return QStringLiteral("&Don't Show the Terminal Window");
#endif
}

// The file dialog filter for choosing the programmer program.
inline QString programmerFilter() {
#ifdef Q_OS_WIN
    return QStringLiteral("EPICWin Programmer|Epicwin.exe|All Files (*.*)|*.*|");
#else
    return QStringLiteral("Programmer|*|All Files (*.*)|*.*|");
#endif
}

} // namespace platformwords
