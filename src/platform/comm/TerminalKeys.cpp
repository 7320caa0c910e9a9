#include "platform/comm/TerminalKeys.h"

#include <QStringList>

namespace terminalkeys {

QByteArray lineEnding(Enter enter) {
    switch (enter) {
    case Enter::LF:
        return QByteArrayLiteral("\n");
    case Enter::CRLF:
        return QByteArrayLiteral("\r\n");
    case Enter::CR:
        break;
    }
    return QByteArrayLiteral("\r");
}

QByteArray keyBytes(int key, Qt::KeyboardModifiers modifiers, const QString& text, Enter enter) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return lineEnding(enter);
    case Qt::Key_Backspace:
        return QByteArrayLiteral("\x08");
    case Qt::Key_Tab:
        return QByteArrayLiteral("\t");
    case Qt::Key_Escape:
        return QByteArrayLiteral("\x1b");
    case Qt::Key_Delete:
        return QByteArrayLiteral("\x7f");
    default:
        break;
    }
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A &&
        key <= Qt::Key_Z)
        return QByteArray(1, char(key - Qt::Key_A + 1));
    // Text of control characters that the platform attaches to other keys is not sent.
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
        return {};
    return text.toUtf8();
}

QByteArray pasteBytes(const QString& pasted, Enter enter) {
    QString t = pasted;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    QByteArray bytes;
    const QStringList lines = t.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        bytes += lines[i].toUtf8();
        if (i + 1 < lines.size())
            bytes += lineEnding(enter);
    }
    return bytes;
}

} // namespace terminalkeys
