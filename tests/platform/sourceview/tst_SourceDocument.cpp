#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "platform/sourceview/LineData.h"
#include "platform/sourceview/SourceDocument.h"
#include "support/TestSupport.h"

using testsupport::readFile;
using testsupport::writeFile;

class tst_SourceDocument : public QObject {
    Q_OBJECT
private:
    QTemporaryDir tmp_;
    QString path(const QString& name) const { return tmp_.filePath(name); }

    // Runs the current case again as an ordinary user, whom permissions stop.
    static void rerunUnprivileged() {
#ifdef Q_OS_WIN
        QSKIP("Permission bits do not stop a Windows program; the Linux build runs this case");
#endif
        QString log;
        const QString testCase = QString::fromLatin1(QTest::currentTestFunction()) + u':' +
                                 QString::fromLatin1(QTest::currentDataTag());
        QVERIFY2(testsupport::runCaseUnprivileged(testCase, &log), qPrintable(log));
    }
    static QString endingName(LineEnding e) {
        return QStringList{"none", "LF", "CRLF", "CR"}.at(int(e));
    }
    // Writes `bytes` to `name` and loads them, reading 8-bit bytes in `eightBit`.
    bool load(SourceDocument& d, const QString& name, const QByteArray& bytes,
              const QString& eightBit = QStringLiteral("Windows-1252")) {
        d.setEightBitEncoding(eightBit);
        return writeFile(path(name), bytes) && d.LoadFile(path(name));
    }
    static QString lines(const SourceDocument& d) {
        QStringList out;
        for (int i = 0; i < d.NumLines(); ++i)
            out << d.GetLine(i);
        return out.join(u'|');
    }

private slots:
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("ending"); // the break new lines take
        QTest::addColumn<QString>("text");   // lines joined by |
        const QString platform = TextFileFormat::platformEnding() == LineEnding::CRLF ? "CRLF" : "LF";
        // clang-format off
        QTest::newRow("utf8 lf final newline") << QByteArray("Main:\n  HIGH PORTB.0 ' \xc3\xa7\n") << "UTF-8" << "LF"
            << QString::fromUtf8("Main:|  HIGH PORTB.0 ' ç|");
        QTest::newRow("1252 crlf") << QByteArray("caf\xe9\r\n\x80 \x93q\x94\r\n") << "Windows-1252" << "CRLF"
            << QString::fromUtf8("café|€ “q”|");
        QTest::newRow("1252 bytes shaped like a utf8 surrogate") << QByteArray("\xed\xa0\x80\n") << "Windows-1252"
            << "LF" << QString::fromUtf16(u"\u00ed\u00a0\u20ac|");
        QTest::newRow("utf8 bom") << QByteArray("\xef\xbb\xbfx = 1\r\n") << "UTF-8" << "CRLF" << "x = 1|";
        QTest::newRow("a second byte order mark is text") << QByteArray("\xef\xbb\xbf\xef\xbb\xbfx\n") << "UTF-8"
            << "LF" << QChar(0xfeff) + QStringLiteral("x|");
        QTest::newRow("empty") << QByteArray() << "UTF-8" << platform << "";
        QTest::newRow("no line break") << QByteArray("HIGH 1") << "UTF-8" << platform << "HIGH 1";
        QTest::newRow("mixed endings") << QByteArray("a\r\nb\nc\r\n") << "UTF-8" << "CRLF" << "a|b|c|";
        QTest::newRow("lone cr") << QByteArray("a\rb\n") << "UTF-8" << "LF" << "a|b|";
        QTest::newRow("cr only") << QByteArray("a\rb\rc\r") << "UTF-8" << "CR" << "a|b|c|";
        QTest::newRow("cr before crlf") << QByteArray("a\r\r\nb") << "UTF-8" << "CRLF" << "a||b";
        // Only CR and LF break lines: a Unicode separator is a character of its line, as the compiler sees it.
        QTest::newRow("paragraph separator") << QByteArray("a\xe2\x80\xa9" "b\n") << "UTF-8" << "LF"
            << QString::fromUtf16(u"a\u2029b|");
        QTest::newRow("nul and control bytes") << QByteArray("a\0b\x01\n", 5) << "UTF-8" << "LF"
            << QString::fromUtf16(u"a\u0000b\u0001|", 5);
        // clang-format on

        // Big files: a CR LF pair straddling 256 KiB, and breaks far beyond it, come out as one break each.
        const auto big = [](const char* filler, const char* tail) {
            QByteArray b;
            while (b.size() < 262143 - 40)
                b += filler;
            b += QByteArray(262143 - b.size(), 'y') + "\r\n"; // CR at 256 Ki - 1, LF at 256 Ki
            for (int i = 0; i < 30000; ++i)
                b += tail;
            return b;
        };
        const auto joined = [](QString t) {
            return t.replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")), QStringLiteral("|"));
        };
        const QByteArray crlf = big("x = 1 ' \xc3\xa7\r\n", "GOTO \xc3\xa7\r\n");
        QTest::newRow("utf8 crlf across slices") << crlf << "UTF-8"
                                                 << "CRLF" << joined(QString::fromUtf8(crlf));
        const QByteArray mixed = big("caf\xe9\r\n", "a\rb\n");
        QTest::newRow("1252 mixed endings across slices") << mixed << "Windows-1252"
                                                          << "CRLF" << joined(QString::fromLatin1(mixed));
    }
    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, ending);
        QFETCH(QString, text);
        SourceDocument d;
        AppError err;
        QVERIFY(load(d, "in.pbp", bytes));
        QCOMPARE(d.encodingName() + u' ' + endingName(d.format().newLines) + u' ' + lines(d),
                 encoding + u' ' + ending + u' ' + text);
        QVERIFY(!d.Modified() && !d.CanUndo());
        QVERIFY(d.SaveFile(path("out.pbp"), &err));
        QCOMPARE(readFile(path("out.pbp")), bytes);

        // An edit on the first line leaves every other byte as it was.
        d.InsertImpl(0, 0, QStringLiteral("' x"));
        QVERIFY(d.Modified());
        QVERIFY(d.SaveFile(path("edited.pbp"), &err));
        QVERIFY(!d.Modified());
        QByteArray expected = bytes;
        expected.insert(bytes.startsWith("\xef\xbb\xbf") ? 3 : 0, "' x");
        QCOMPARE(readFile(path("edited.pbp")), expected);
        // Undoing the edit gives the unchanged text back, and with it the original bytes.
        d.Undo();
        QVERIFY(d.SaveFile(path("undone.pbp"), &err));
        QCOMPARE(readFile(path("undone.pbp")), bytes);
    }

    // Open, edit, save: only the edited bytes change. A line the edit adds takes the break most lines
    // have; the bytes are read in the given 8-bit encoding when they are not UTF-8.
    void editChangesOnlyItsBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("eightBit");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("removeLines"); // whole lines removed at `line` first
        QTest::addColumn<QString>("typed");   // typed at line, col (\n: Enter)
        QTest::addColumn<QByteArray>("saved");
        // clang-format off
        QTest::newRow("cr only, new line") << QByteArray("a\rb\rc") << "Windows-1252" << 1 << 1 << 0 << "\nY"
            << QByteArray("a\rb\rY\rc");
        QTest::newRow("mixed, new line takes crlf") << QByteArray("a\r\nb\nc\r\nd\r") << "Windows-1252" << 1 << 1 << 0
            << "\nY" << QByteArray("a\r\nb\r\nY\nc\r\nd\r");
        QTest::newRow("mixed, joined lines keep the second break") << QByteArray("a\nb\r\nc\r") << "Windows-1252"
            << 1 << 0 << 1 << "" << QByteArray("a\nc\r");
        QTest::newRow("1252 edit") << QByteArray("' caf\xe9\r\nHIGH 1\r\n") << "Windows-1252" << 1 << 6 << 0
            << QString::fromUtf8(" ' €") << QByteArray("' caf\xe9\r\nHIGH 1 ' \x80\r\n");
        QTest::newRow("ascii, a letter beyond latin-1") << QByteArray("a\r\nb\r\nc") << "Windows-1252" << 1 << 1 << 0
            << QString::fromUtf8("\n\u015f") << QByteArray("a\r\nb\r\n\xc5\x9f\r\nc");
        // clang-format on
    }
    void editChangesOnlyItsBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, eightBit);
        QFETCH(int, line);
        QFETCH(int, col);
        QFETCH(int, removeLines);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        SourceDocument d;
        QVERIFY(load(d, "e.pbp", bytes, eightBit));
        if (removeLines > 0)
            d.DeleteImpl(0, line, 0, line + removeLines);
        for (const QChar c : typed) { // one key at a time, as typed
            d.InsertImpl(col, line, QString(c));
            col = c == u'\n' ? 0 : col + 1;
            line += c == u'\n';
        }
        const auto written = [&] {
            return d.SaveFile(path("e.pbp")) ? readFile(path("e.pbp")) : QByteArray("not saved");
        };
        QCOMPARE(written(), saved);
        // Undone, the file is as it was; redone, as edited.
        while (d.CanUndo())
            d.Undo();
        QCOMPARE(written(), bytes);
        while (d.CanRedo())
            d.Redo();
        QCOMPARE(written(), saved);
    }

    // A character the file's encoding cannot hold stops the save (the frame asks first, in
    // tst_FileFormats); the file and the text stay.
    void unencodableCharacterIsNotSavedSilently() {
        const QByteArray bytes("' caf\xe9\r\n");
        SourceDocument d;
        QVERIFY(load(d, "u.pbp", bytes));
        d.InsertImpl(1, 0, QString::fromUtf8("Ω"));
        QCOMPARE(d.unencodable(), (TextPos{0, 1}));
        AppError err;
        QVERIFY(!d.SaveFile(path("u.pbp"), &err));
        QCOMPARE(err.number, int(SourceDocument::Unencodable));
        QCOMPARE(readFile(path("u.pbp")), bytes);
        QVERIFY(d.Modified());
    }

    void loadFailures_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << path("nope/missing.pbp") << int(AppError::FileNotFound);
        QTest::newRow("folder") << tmp_.path() << int(AppError::PathFileAccess);
        QTest::newRow("endless device") << "/dev/zero" << int(AppError::PathFileAccess);
        QTest::newRow("no read permission") << path("locked.pbp") << int(AppError::PathFileAccess);
    }
    void loadFailures() {
        QFETCH(QString, target);
        QFETCH(int, error);
        if (QTest::currentDataTag() == QLatin1String("endless device") && !QFile::exists(target))
            QSKIP("no /dev/zero here");
        if (QTest::currentDataTag() == QLatin1String("no read permission")) {
            QVERIFY(writeFile(target, "secret\n"));
            QFile(target).setPermissions(QFile::WriteOwner);
            if (QFile(target).open(QIODevice::ReadOnly)) {
                rerunUnprivileged(); // root reads files without read permission
                return;
            }
        }
        SourceDocument d;
        d.InsertImpl(0, 0, QStringLiteral("old"));
        AppError err;
        QVERIFY(!d.LoadFile(target, &err));
        QCOMPARE(err.number, error);
        QCOMPARE(d.PathName(), target);
        QCOMPARE(lines(d), QString()); // the old text is gone
        QVERIFY(!d.Modified());
    }

    void failedSaveKeepsOldFileAndText_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        QTest::newRow("folder is a file") << "plain.txt/x.pbp" << int(AppError::PathNotFound);
        QTest::newRow("target is a folder") << "folder" << int(AppError::PathFileAccess);
        QTest::newRow("empty path") << "" << int(AppError::PathNotFound);
        QTest::newRow("read-only folder") << "ro/prog.pbp" << int(AppError::PathFileAccess);
    }
    void failedSaveKeepsOldFileAndText() {
        QFETCH(QString, target);
        QFETCH(int, error);
        QVERIFY(writeFile(path("plain.txt"), "keep"));
        QVERIFY(writeFile(path("ro/prog.pbp"), "old\r\n"));
        QVERIFY(QDir(tmp_.path()).mkpath(QStringLiteral("folder")));
        QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner);
        const auto writable = qScopeGuard([this] {
            QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (target.startsWith(QLatin1String("ro/")) && QFile(path("ro/probe")).open(QIODevice::WriteOnly)) {
            rerunUnprivileged(); // root writes into read-only folders
            return;
        }
        SourceDocument d;
        d.InsertImpl(0, 0, QStringLiteral("text\nmore"));
        AppError err;
        QVERIFY(!d.SaveFile(target.isEmpty() ? QString() : path(target), &err));
        QCOMPARE(err.number, error);
        QVERIFY(!err.description.isEmpty());
        QCOMPARE(lines(d), QStringLiteral("text|more"));
        QVERIFY(d.Modified());
        QCOMPARE(readFile(path("plain.txt")) + readFile(path("ro/prog.pbp")), QByteArray("keepold\r\n"));
    }

    // A line keeps up to three slots by number and makes room for all eight when a fourth is set;
    // a slot set back to 0 frees its place, and a line whose slots are all 0 carries no mark.
    void lineSlots_data() {
        QTest::addColumn<QList<int>>("sets"); // slot, value, slot, value, ...
        QTest::addColumn<QList<int>>("values"); // slots 1..8 afterwards
        QTest::newRow("three kept") << QList<int>{8, 5, 1, 2, 4, -1} << QList<int>{2, 0, 0, -1, 0, 0, 0, 5};
        QTest::newRow("a fourth") << QList<int>{1, 1, 2, 2, 3, 3, 7, 4, 2, 9}
                                  << QList<int>{1, 9, 3, 0, 0, 0, 4, 0};
        QTest::newRow("a freed place taken") << QList<int>{1, 1, 2, 2, 3, 3, 2, 0, 5, 5, 6, 0}
                                             << QList<int>{1, 0, 3, 0, 5, 0, 0, 0};
        QTest::newRow("set back to 0") << QList<int>{3, 1, 3, 0} << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("all, then back to 0") << QList<int>{1, 1, 2, 2, 3, 3, 4, 4, 1, 0, 2, 0, 3, 0, 4, 0}
                                             << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("no such slots") << QList<int>{0, 1, 9, 1, -1, 1} << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
    }
    void lineSlots() {
        QFETCH(QList<int>, sets);
        QFETCH(QList<int>, values);
        LineData d;
        for (qsizetype i = 0; i + 1 < sets.size(); i += 2)
            d.setSlot(sets[i], sets[i + 1]);
        QList<int> got;
        for (int n = 1; n <= LineData::SlotCount; ++n)
            got << d.slot(n);
        QCOMPARE(got, values);
        QCOMPARE(d.hasMarks(), values != QList<int>(LineData::SlotCount, 0));
        // The marks an edit takes away come back as they were.
        LineData back;
        back.setMarks(d.marks());
        QCOMPARE(back.marks().values, d.marks().values);
        QCOMPARE(back.hasMarks(), d.hasMarks());
    }

    void linesAndRanges() {
        SourceDocument d;
        d.InsertImpl(0, 0, QStringLiteral("first\n\tsecond\nthird"));
        d.SetLineData(9, 1, 5); // no such line
        d.SetLineData(0, 0, 5); // no slot 0
        d.SetLineData(1, 2, -7);
        const QList<int> sizes{d.NumLines(), d.GetLineLength(1), d.GetLineLength(-1),
                               int(d.GetLine(3).size())};
        QCOMPARE(sizes, QList<int>({3, 7, 0, 0}));
        const QList<int> data{d.GetLineData(9, 1), d.GetLineData(0, 0), d.GetLineData(1, 2),
                              d.GetLineData(1, 1)};
        QCOMPARE(data, QList<int>({0, 0, -7, 0}));

        d.InsertOverwrite(2, 0, 3, 1, QStringLiteral("X\nY"));
        QCOMPARE(lines(d), QStringLiteral("fiX|Ycond|third"));
        d.DeleteImpl(0, 1, 99, 1); // column clamped to the line end
        QCOMPARE(lines(d), QStringLiteral("fiX||third"));
    }

    // Marks on line 2 ("c"); each row inserts at one position or deletes between two, then maybe undoes.
    // The result holds the lines, then each line's mark with * where the bookmark is.
    void lineDataFollowsText() {
        using P = QList<int>; // col, line[, col, line]
        // clang-format off
        const QList<std::tuple<P, QString, bool, QString>> rows{
            {P{1, 1}, "\nX", false, "a|b|X|c|d 0|0|0|7*|0"},              // line inserted above
            {P{0, 2}, "X\nY\n", false, "a|b|X|Y|c|d 0|0|0|0|7*|0"},     // two lines at start
            {P{1, 2}, "\n", false, "a|b|c||d 0|0|7*|0|0"},                // newline at line end
            {P{0, 1, 0, 2}, "", false, "a|c|d 0|7*|0"},                   // line above deleted
            {P{0, 2, 0, 3}, "", false, "a|b|d 0|0|0"},                    // marked line deleted
            {P{0, 2}, "X\n", true, "a|b|c|d 0|0|7*|0"},                   // insert at col 0 undone
            {P{0, 1, 0, 2}, "", true, "a|b|c|d 0|0|7*|0"},                // delete above undone
            {P{0, 2, 0, 3}, "", true, "a|b|c|d 0|0|7*|0"},                // marked line deleted undone
            {P{1, 1, 0, 2}, "", true, "a|b|c|d 0|0|7*|0"}};               // joined into line above undone
        // clang-format on
        for (const auto& [at, insert, undo, after] : rows) {
            SourceDocument d;
            d.InsertImpl(0, 0, QStringLiteral("a\nb\nc\nd"));
            d.SetLineData(2, 1, 7);
            d.SetBookmark(2, true);
            if (at.size() == 2)
                d.InsertImpl(at[0], at[1], insert);
            else
                d.DeleteImpl(at[0], at[1], at[2], at[3]);
            if (undo)
                d.Undo();
            QStringList marks;
            for (int i = 0; i < d.NumLines(); ++i)
                marks << QString::number(d.GetLineData(i, 1)) +
                             (d.HasBookmark(i) ? QStringLiteral("*") : QString());
            QCOMPARE(lines(d) + u' ' + marks.join(u'|'), after);
        }
    }

    // The undo history: typed characters in a row undo together, a group undoes as one, and the
    // Modified flag follows the history back to the state last saved. A script's steps: t<text> types each
    // char at the end, T<c> types at the start, i<text> inserts at column 1, g/G begin/end a group, s saves,
    // u/r undo/redo.
    void undoHistory() {
        // clang-format off
        const QList<std::pair<QString, QString>> rows{ // the script; the lines, then M when modified
            {"tabc u", ""},                  // typing joins
            {"tab t\\n tcd u u", "abM"},   // a newline ends the run and is a step
            {"tab i0X tc u", "a0XbM"},       // another edit ends the run
            {"ta T0 u", "aM"},               // typing elsewhere starts again
            {"g iA iB G u", ""},             // a group undoes as one
            {"tab s tc u", "ab"},            // the saved state is clean again
            {"tab s u", "M"},                // undo past saved is modified
            {"tab s u r", "ab"},             // redo to saved is clean
            {"tab s u iZ u", "M"},           // a new edit drops redo and the saved state with it
            {"ta i0X u s iZ u", "a"},        // but keeps a saved state it does not drop
            {"ta s tb u", "a"}};             // typing after save does not join
        // clang-format on
        for (const auto& [script, after] : rows) {
            SourceDocument d;
            const QHash<QChar, std::function<void()>> plain{{u'g', [&d] { d.BeginUndoGroup(); }},
                                                            {u'G', [&d] { d.EndUndoGroup(); }},
                                                            {u's', [&d] { d.SetModified(false); }},
                                                            {u'u', [&d] { d.Undo(); }},
                                                            {u'r', [&d] { d.Redo(); }}};
            for (const QString& op : script.split(u' ', Qt::SkipEmptyParts)) {
                const QString arg = op.mid(1).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
                const TextPos end = d.endPos();
                if (plain.contains(op.at(0)))
                    plain[op.at(0)]();
                else if (op.at(0) == u't')
                    for (const QChar c : arg)
                        d.InsertImpl(d.endPos().col, d.endPos().line, QString(c));
                else if (op.at(0) == u'T')
                    d.InsertImpl(0, 0, arg);
                else // 'i': at column 1 when the text has one, else at the end
                    d.InsertImpl(qMin(1, end.col), end.line, arg);
            }
            QCOMPARE(script + u'>' + lines(d) + (d.Modified() ? QStringLiteral("M") : QString()),
                     script + u'>' + after);
        }
    }

    // Listeners update the Undo and Redo tools when told of a change: the history must be current by
    // then, and a group tells once.
    void linesChangedAfterTheHistory() {
        SourceDocument d;
        QList<int> seen; // undo steps available, redo steps available, at each signal
        connect(&d, &SourceDocument::linesChanged, this, [&] { seen << d.CanUndo() * 10 + d.CanRedo(); });
        d.InsertImpl(0, 0, QStringLiteral("a"));
        d.Undo();
        d.Redo();
        d.BeginUndoGroup();
        d.InsertImpl(0, 0, QStringLiteral("b"));
        d.InsertImpl(0, 0, QStringLiteral("c"));
        QCOMPARE(seen.size(), 3);
        d.EndUndoGroup();
        QCOMPARE(seen, QList<int>({10, 1, 10, 10}));
    }

    // Random edits against a list of lines, then undo to the start and redo to the end: the store
    // rewrites, appends and packs its buffer on the way.
    void editsMatchAModel() {
        SourceDocument d;
        QStringList model{QString()};
        QRandomGenerator rng(7);
        const QStringList pieces{QStringLiteral("x"),    QStringLiteral("\n"), QStringLiteral("ab\ncd"),
                                 QStringLiteral("\r\n"), QString(200, u'q'),   QString()};
        for (int i = 0; i < 3000; ++i) {
            const int l1 = rng.bounded(int(model.size()));
            const int c1 = rng.bounded(int(model[l1].size()) + 1);
            const int l2 = qMin(int(model.size()) - 1, l1 + rng.bounded(3));
            const int c2 = l2 == l1 ? c1 + rng.bounded(int(model[l1].size()) - c1 + 1)
                                    : rng.bounded(int(model[l2].size()) + 1);
            QString text = pieces[rng.bounded(int(pieces.size()))];
            d.InsertOverwrite(c1, l1, c2, l2, text);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            const QString joined = model[l1].left(c1) + text + model[l2].mid(c2);
            QStringList replaced = joined.split(u'\n');
            model.erase(model.begin() + l1, model.begin() + l2 + 1);
            for (int k = 0; k < replaced.size(); ++k)
                model.insert(l1 + k, replaced[k]);
            if (i % 100 == 0)
                d.SetModified(false); // no two steps join across a save
            QCOMPARE(lines(d), model.join(u'|'));
        }
        while (d.CanUndo())
            d.Undo();
        QCOMPARE(lines(d), QString());
        while (d.CanRedo())
            d.Redo();
        QCOMPARE(lines(d), model.join(u'|'));
    }

    // The token cache lives in the same block data as the marks: lexing, relexing and evicting the
    // cache must leave the marks alone, and evicted lines lex again to the same tokens.
    void tokenCacheKeepsMarks() {
        SourceDocument d;
        d.SetSLCommentStart(QStringLiteral("'"));
        const int n = SourceDocument::TokenCacheLines + 50;
        QStringList text;
        for (int i = 0; i < n; ++i)
            text << QStringLiteral("x%1 = %1 ' c").arg(i);
        d.InsertImpl(0, 0, text.join(u'\n'));
        d.SetLineData(0, 1, 1);
        d.SetBookmark(0, true);
        const QList<SourceToken> first = d.tokensOfLine(0);
        QCOMPARE(first.size(), 7);
        for (int i = 1; i < n; ++i)
            QCOMPARE(d.tokensOfLine(i).size(), 7);
        d.AddKeyword(0, QStringLiteral("x0"));
        QList<SourceToken> again = d.tokensOfLine(0);
        QCOMPARE(again.first().cls, 10);
        again.first().cls = first.first().cls;
        QCOMPARE(again, first);
        QCOMPARE(d.GetLineData(0, 1), 1);
        QVERIFY(d.HasBookmark(0));
        d.InsertImpl(0, 0, QStringLiteral("'"));
        QCOMPARE(d.tokensOfLine(0).size(), 1);
        QCOMPARE(d.GetLineData(0, 1), 1);
    }

    void corpusRoundTrip() {
        const QString dir = testsupport::corpusDir();
        if (dir.isEmpty())
            QSKIP("no corpus");
        int count = 0;
        QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QByteArray bytes = readFile(file);
            SourceDocument d;
            QVERIFY2(d.LoadFile(file), qPrintable(file));
            QVERIFY2(d.SaveFile(path("corpus.out")), qPrintable(file));
            QVERIFY2(readFile(path("corpus.out")) == bytes, qPrintable(file));
            ++count;
        }
        QVERIFY(count > 0);
    }
};

QTEST_MAIN(tst_SourceDocument)
#include "tst_SourceDocument.moc"
