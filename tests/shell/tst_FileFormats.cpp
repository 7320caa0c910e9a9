#include <QToolButton>

#include "platform/TextEncoding.h"
#include "support/FrameTest.h"

namespace {

void click(MDIMain& m, const QString& id) {
    m.SSActiveToolBars1_ToolClick(id);
}

QString encodingPanel(MDIMain& m) {
    const auto* panel = m.findChild<QToolButton*>(QStringLiteral("EncodingPanel"));
    return panel && panel->isVisibleTo(&m) ? panel->text() : QString();
}

const QByteArray kTurkish("' s\xfd"
                          "cakl\xfdk\r\nHIGH 1\r\n"); // "sıcaklık" in Windows-1254

} // namespace

// Files as the user meets them: their encodings, their bytes, and where a new one is saved.
class tst_FileFormats : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Files that are not UTF-8 are read in the system's code page where it has one; these tests
        // choose theirs through the stored default.
        if (!textenc::systemEightBit().isEmpty())
            QSKIP("this system names an 8-bit code page of its own");
    }

    // Open asks before it opens a file that is not text (the start of the question's reason shown);
    // opened, the file saves back as it was.
    void openAsksForFilesThatAreNotText() {
        QByteArray code;
        for (int i = 0; i < 2000; ++i)
            code += QByteArray("\x8c\x13\x01\x02\x05\x06") + char(0x80 + i % 100);
        const std::tuple<QByteArray, bool, QString> rows[] = {
            {QByteArray("HIGH 1\r\n\0\0\r\x80", 12), true, "This file holds NUL"},
            {QByteArray("\0\x01\x02", 3), false, "This file holds NUL"},
            {code, false, "This file is mostly not text"},
            {kTurkish, true, ""}};
        for (const auto& [bytes, open, asked] : rows) {
            FrameFixture f;
            MDIMain& m = f.startWith(QStringLiteral("first.pbp"), "x\n");
            const QString path = f.file(QStringLiteral("data.bin"), bytes);
            f.prompts.clearShown();
            f.prompts.chooseFile(path);
            if (!asked.isEmpty())
                f.prompts.answer(open ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
            click(m, ids::ID_Open);
            QStringList seen{m.toolBars().Caption(ids::ID_OpenDocs)};
            for (const ScriptedPrompts::Shown& s : f.prompts.shown())
                if (s.kind != QLatin1String("open"))
                    seen << s.kind + u' ' + s.title + u' ' + s.text.section(u'\n', 2, 2).left(asked.size());
            QCOMPARE(seen.join(u'|'), QStringLiteral("Files: %1").arg(open ? 2 : 1) +
                                          (asked.isEmpty() ? QString() : "|confirm Open " + asked));
            if (open) {
                click(m, ids::ID_Save);
                QCOMPARE(testsupport::readFile(path), bytes);
            }
        }
    }

    // A Windows-1254 file is read with the stored code page, edited in one line and saved: the other
    // lines keep their bytes, and a character the code page lacks is asked about first. Cancelled, the
    // file stays; accepted, it is UTF-8 from now on.
    void savingKeepsTheEncoding() {
        const int cancel = int(Prompts::Answer::Cancel), ok = int(Prompts::Answer::Ok);
        // clang-format off
        const std::tuple<QString, int, QByteArray, QString> rows[] = {
            {QString::fromUtf8(" ' ışğ"), -1, "' s\xfd" "cakl\xfdk\r\nHIGH 1 ' \xfd\xfe\xf0\r\n", "Windows-1254"},
            {QString::fromUtf8(" ' Ω"), cancel, kTurkish, "Windows-1254"},
            {QString::fromUtf8(" ' Ω"), ok, "' s\xc4\xb1" "cakl\xc4\xb1k\r\nHIGH 1 ' \xce\xa9\r\n", "UTF-8"}};
        // clang-format on
        for (const auto& [typed, answer, saved, encoding] : rows) {
            FrameFixture f;
            f.store().save(settings::files::EightBitEncoding, QStringLiteral("Windows-1254"));
            MDIMain& m = f.startWith(QStringLiteral("tr.pbp"), kTurkish);
            QCOMPARE(f.doc().GetLine(0), QString::fromUtf8("' sıcaklık"));
            QCOMPARE(encodingPanel(m), QStringLiteral("Windows-1254"));
            f.doc().InsertImpl(6, 1, typed);
            f.prompts.clearShown();
            if (answer >= 0)
                f.prompts.answer(Prompts::Answer(answer));
            click(m, ids::ID_Save);
            QStringList asked;
            for (const ScriptedPrompts::Shown& s : f.prompts.shown())
                asked << s.title;
            QCOMPARE(asked, answer >= 0 ? QStringList{"Save as UTF-8"} : QStringList());
            QCOMPARE(testsupport::readFile(f.path(QStringLiteral("tr.pbp"))), saved);
            QCOMPARE(f.doc().Modified(), answer == cancel);
            QCOMPARE(encodingPanel(m), encoding);
            // The choice holds for the file from now on.
            QCOMPARE(f.store().fileEncoding(f.path(QStringLiteral("tr.pbp"))),
                     encoding == QLatin1String("UTF-8") ? encoding : QString());
        }
    }

    // Reopen with Encoding and Save with Encoding (File menu and encoding panel), remembered per file:
    // the command, the encoding chosen ("" cancels), then line 1, the file and the encoding remembered.
    void encodingCommands() {
        const QString read1252 = QString::fromUtf8("' sýcaklýk"); // the stored default, Windows-1252
        // clang-format off
        const std::tuple<QString, QString, QString, QByteArray, QString> rows[] = {
            {ids::ID_ReopenEncoding, "Windows-1254", QString::fromUtf8("' sıcaklık"), kTurkish, "Windows-1254"},
            {ids::ID_SaveEncoding, "UTF-8", read1252, "' s\xc3\xbd" "cakl\xc3\xbdk\r\nHIGH 1\r\n", "UTF-8"},
            {ids::ID_SaveEncoding, "Windows-1251", read1252, kTurkish, ""}, // refused: it lacks the letters
            {ids::ID_ReopenEncoding, "", read1252, kTurkish, ""}};
        // clang-format on
        for (const auto& [command, chosen, line, saved, remembered] : rows) {
            FrameFixture f;
            const QString path = f.file(QStringLiteral("tr.pbp"), kTurkish);
            MDIMain& m = f.start(path);
            QCOMPARE(f.doc().GetLine(0), read1252);
            if (chosen.isEmpty())
                f.prompts.cancel();
            else
                f.prompts.chooseFile(chosen);
            click(m, command);
            QCOMPARE(f.doc().GetLine(0), line);
            QCOMPARE(testsupport::readFile(path), saved);
            QCOMPARE(f.store().fileEncoding(path), remembered);
            const QString now = remembered.isEmpty() ? QStringLiteral("Windows-1252") : remembered;
            QCOMPARE(encodingPanel(m), now);
            // The next start reads the file as chosen.
            f.restart(path);
            QCOMPARE(f.doc().encodingName() + u'|' + f.doc().GetLine(0), now + u'|' + line);
        }
    }

    // Save of a new document whose folder (the documents folder) is missing: it is made, or, when it
    // cannot be, the file goes to the home folder.
    void newDocumentWithoutItsFolder() {
        for (const auto& [sourceFolder, savedIn] :
             {std::pair{"Documents", "Documents"}, {"plain.txt/Documents", "home"}}) {
            FrameFixture f;
            QVERIFY(testsupport::writeFile(f.dir.filePath(QStringLiteral("plain.txt")), "keep"));
            QVERIFY(QDir().mkpath(f.dir.filePath(QStringLiteral("home"))));
            const QByteArray home = qgetenv("HOME");
            qputenv("HOME", f.dir.filePath(QStringLiteral("home")).toLocal8Bit());
            const auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
            f.store().save(settings::startup::SourceCodePath,
                           QDir::toNativeSeparators(f.dir.filePath(QString::fromLatin1(sourceFolder))));
            MDIMain& m = f.start();
            click(m, ids::ID_New);
            f.doc().InsertImpl(0, 0, QStringLiteral("HIGH 1"));
            f.prompts.clearShown();
            click(m, ids::ID_Save);
            QCOMPARE(f.prompts.messages(), QStringList());
            const QString expected = QDir::toNativeSeparators(
                f.dir.filePath(QString::fromLatin1(savedIn) + QStringLiteral("/Untitled1.pbp")));
            QCOMPARE(testsupport::readFile(expected), QByteArray("HIGH 1"));
            QCOMPARE(f.active()->caption(), expected);
            QVERIFY(!f.doc().Modified());
        }
    }
};

QTEST_MAIN(tst_FileFormats)
#include "tst_FileFormats.moc"
