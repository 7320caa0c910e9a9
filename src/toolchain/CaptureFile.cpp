#include "toolchain/CaptureFile.h"

#include "platform/TextEncoding.h"
#include "platform/TextHelpers.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace capture {

LineKind parseLine(QStringView text, ErrorLine& out) {
    static const QString tag = QString::fromLatin1(ErrorTag);
    const qsizetype p = text.indexOf(tag);
    if (p < 0)
        return LineKind::Other;
    const qsizetype numberStart = p + tag.size();
    const qsizetype colon = text.indexOf(u':', numberStart);
    if (colon < 0)
        return LineKind::Malformed;
    out.line = text::ValInt(text.mid(numberStart, colon - numberStart).toString());
    out.message = text.mid(colon + 1).toString();
    out.file.clear();
    return LineKind::Error;
}

LineKind parseLine(QStringView text, const QString& documentName, ErrorLine& out) {
    const LineKind kind = parseLine(text, out);
    if (kind != LineKind::Error)
        return kind;
    const QString named = namedFile(out.message);
    const QString name = QFileInfo(QString(named).replace(u'\\', u'/')).fileName();
    if (!named.isEmpty() && name.compare(documentName, Qt::CaseInsensitive) != 0)
        out.file = named;
    return kind;
}

QString namedFile(const QString& message) {
    // A name with an extension and no blanks, so that a remark in parentheses is not taken for a file.
    QStringView tail(message);
    while (!tail.isEmpty() && tail.back().isSpace())
        tail.chop(1);
    if (!tail.endsWith(u')'))
        return {};
    static const QRegularExpression name(QStringLiteral("\\(([^\\s()]+\\.[A-Za-z][A-Za-z0-9_]*)\\)\\s*$"));
    const QRegularExpressionMatch m = name.match(message);
    return m.hasMatch() ? m.captured(1) : QString();
}

const ErrorLine* Capture::find(int line) const {
    const auto it = firstOfLine.constFind(line);
    return it == firstOfLine.constEnd() ? nullptr : &errors[*it];
}

QString decode(const QByteArray& bytes) {
    return textenc::isValidUtf8(bytes) ? QString::fromUtf8(bytes) : textenc::decode1252(bytes);
}

Capture parse(const QString& text, const QString& documentName) {
    Capture c;
    c.text = text;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = size;
        QStringView line = QStringView(text).mid(start, end - start);
        // CR CR LF too: a program that writes CR LF through a text stream gets one CR more.
        while (line.endsWith(u'\r'))
            line.chop(1);
        start = end + 1;
        ErrorLine e;
        const LineKind kind = parseLine(line, documentName, e);
        if (kind == LineKind::Other)
            continue;
        if (kind == LineKind::Malformed) {
            c.malformed = true;
            break;
        }
        if (e.file.isEmpty() && !c.firstOfLine.contains(e.line))
            c.firstOfLine.insert(e.line, int(c.errors.size()));
        c.errors.append(std::move(e));
    }
    return c;
}

} // namespace capture
