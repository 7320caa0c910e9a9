#include "toolchain/RunScript.h"

#include "platform/TextHelpers.h"

#include <QStandardPaths>

namespace runscript {

namespace {

// Characters that end or change a word of the Windows command interpreter.
bool needsBatchQuotes(const QString& s) {
    static const QString special = QStringLiteral(" \t&()[]{}^=;!'+,`~<>|");
    for (const QChar c : s)
        if (special.contains(c))
            return true;
    return false;
}

QString batchWord(const QString& s) {
    QString out = s;
    out.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return needsBatchQuotes(s) ? u'"' + out + u'"' : out;
}

QString join(const QString& folder, const QString& name, QChar sep) {
    return folder.endsWith(sep) ? folder + name : folder + sep + name;
}

} // namespace

QString deviceArg(const QString& comboEntry) {
    return comboEntry.mid(3);
}

bool batchLines(const Inputs& in, QStringList& lines, AppError& error) {
    const qsizetype lastSep = in.docShort.lastIndexOf(u'\\');
    // The folder after the drive: from the third character up to the last backslash.
    if (lastSep < 2) {
        error = AppError::fromNumber(5);
        return false;
    }
    const QString folder = in.docShort.mid(2, lastSep - 2);
    const QString capture = join(in.appShort, QString::fromLatin1(CaptureName), u'\\');
    const QString cd = needsBatchQuotes(folder) ? QStringLiteral("CD ") + batchWord(folder)
                                                : QStringLiteral("CD") + batchWord(folder);
    lines = QStringList{
        QStringLiteral("@ECHO OFF"),
        QStringLiteral("DEL ") + batchWord(capture),
        cd,
        QStringLiteral("ECHO Compiling.... Please Wait."),
        batchWord(text::Trim(in.compilerShort)) + u' ' + in.options + QStringLiteral(" -p") + in.deviceArg +
            u' ' + batchWord(in.docShort) + u'>' + batchWord(capture),
        QStringLiteral("TYPE ") + batchWord(capture),
    };
    return true;
}

QString shellQuote(const QString& word) {
    QString out = word;
    out.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
    return u'\'' + out + u'\'';
}

QString partialName(const QString& runId) {
    return QString::fromLatin1(CaptureName) + u'.' + runId + QStringLiteral(".part");
}

QString findWine() {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    return wine.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wine64")) : wine;
}

QStringList shellLines(const ShellInputs& in) {
    const QString capture = shellQuote(join(in.workFolder, QString::fromLatin1(CaptureName), u'/'));
    const QString partial = shellQuote(join(in.workFolder, partialName(in.runId), u'/'));
    const qsizetype slash = in.document.lastIndexOf(u'/');
    const QString folder = slash <= 0 ? QStringLiteral("/") : in.document.left(slash);
    const QString marker = QStringLiteral("# run ") + in.runId;

    QStringList command;
    QString source = shellQuote(in.document);
    if (!in.wine.isEmpty()) {
        // Wine's own messages would land in the capture file.
        command << QStringLiteral("WINEDEBUG=-all") << shellQuote(in.wine);
        // The source path in Windows form, by Wine's own winepath (the command of that name is only a
        // wrapper around it, and not every installation has one).
        source = QStringLiteral("\"$(WINEDEBUG=-all ") + shellQuote(in.wine) + QStringLiteral(" winepath -w ") +
                 source + QStringLiteral(" 2>/dev/null || echo ") + source + QStringLiteral(")\"");
    }
    command << shellQuote(in.compiler);
    for (const QString& o : in.options)
        command << shellQuote(o);
    command << shellQuote(QStringLiteral("-p") + in.deviceArg) << source;

    return QStringList{
        QStringLiteral("#!/bin/sh"),
        marker,
        QStringLiteral("rm -f ") + capture,
        QStringLiteral("cd ") + shellQuote(folder),
        QStringLiteral("echo 'Compiling.... Please Wait.'"),
        command.join(u' ') + QStringLiteral(" >") + partial + QStringLiteral(" 2>&1"),
        QStringLiteral("if grep -qx ") + shellQuote(marker) + QStringLiteral(" \"$0\"; then mv -f ") +
            partial + u' ' + capture + QStringLiteral("; else rm -f ") + partial + QStringLiteral("; fi"),
        QStringLiteral("cat ") + capture,
    };
}

} // namespace runscript
