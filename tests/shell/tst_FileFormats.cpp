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

    void openAsksForFilesThatAreNotText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("open");     // the answer
        QTest::addColumn<QString>("asked"); // the start of the question's reason; "" when none
        QByteArray code;
        for (int i = 0; i < 2000; ++i)
            code += QByteArray("\x8c\x13\x01\x02\x05\x06") + char(0x80 + i % 100);
        QTest::newRow("NUL bytes, opened")
            << QByteArray("HIGH 1\r\n\0\0\r\x80", 12) << true << "This file holds NUL";
        QTest::newRow("NUL bytes, cancelled")
            << QByteArray("\0\x01\x02", 3) << false << "This file holds NUL";
        QTest::newRow("machine code, cancelled") << code << false << "This file is mostly not text";
        QTest::newRow("text") << kTurkish << true << "";
    }
    void openAsksForFilesThatAreNotText() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, open);
        QFETCH(QString, asked);
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("first.pbp"), "x\n");
        const QString path = f.file(QStringLiteral("data.bin"), bytes);
        f.prompts.clearShown();
        f.prompts.chooseFile(path);
        if (!asked.isEmpty())
            f.prompts.answer(open ? Prompts::Answer::Ok : Prompts::Answer::Cancel);
        click(m, ids::ID_Open);
        QCOMPARE(m.editors().size(), open ? 2 : 1);
        QStringList questions;
        for (const ScriptedPrompts::Shown& s : f.prompts.shown())
            if (s.kind != QLatin1String("open"))
                questions << s.kind + u' ' + s.title + u' ' + s.text.section(u'\n', 2, 2).left(asked.size());
        QCOMPARE(questions, asked.isEmpty() ? QStringList() : QStringList{"confirm Open " + asked});
        QCOMPARE(m.toolBars().Caption(ids::ID_OpenDocs), QStringLiteral("Files: %1").arg(open ? 2 : 1));
        if (open) { // opened, it saves back as it was
            click(m, ids::ID_Save);
            QCOMPARE(testsupport::readFile(path), bytes);
        }
    }

    // A Windows-1254 file is read with the stored code page, edited in one line and saved: the other
    // lines keep their bytes, and a character the code page lacks is asked about first.
    void savingKeepsTheEncoding_data() {
        QTest::addColumn<QString>("typed"); // at the end of line 2
        QTest::addColumn<int>("answer");    // to the question, -1 when none comes
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("encoding"); // after the save
        QTest::newRow("Turkish letters") << QString::fromUtf8(" ' ışğ") << -1
                                         << QByteArray("' s\xfd"
                                                       "cakl\xfdk\r\nHIGH 1 ' \xfd\xfe\xf0\r\n")
                                         << "Windows-1254";
        QTest::newRow("omega, cancelled")
            << QString::fromUtf8(" ' Ω") << int(Prompts::Answer::Cancel) << kTurkish << "Windows-1254";
        QTest::newRow("omega, saved as UTF-8") << QString::fromUtf8(" ' Ω") << int(Prompts::Answer::Ok)
                                               << QByteArray("' s\xc4\xb1"
                                                             "cakl\xc4\xb1k\r\nHIGH 1 ' \xce\xa9\r\n")
                                               << "UTF-8";
    }
    void savingKeepsTheEncoding() {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QByteArray, saved);
        QFETCH(QString, encoding);
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
        QCOMPARE(f.prompts.shown().size(), answer >= 0 ? 1 : 0);
        if (answer >= 0)
            QCOMPARE(f.prompts.last().title, QStringLiteral("Save as UTF-8"));
        QCOMPARE(testsupport::readFile(f.path(QStringLiteral("tr.pbp"))), saved);
        QCOMPARE(f.doc().Modified(), answer == int(Prompts::Answer::Cancel));
        QCOMPARE(encodingPanel(m), encoding);
        // The choice holds for the file from now on.
        QCOMPARE(f.store().fileEncoding(f.path(QStringLiteral("tr.pbp"))),
                 encoding == QLatin1String("UTF-8") ? encoding : QString());
    }

    // Reopen with Encoding and Save with Encoding (File menu and encoding panel), remembered per file.
    void encodingCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("line");     // line 1 afterwards
        QTest::addColumn<QByteArray>("saved"); // the file afterwards
        QTest::addColumn<QString>("remembered");
        QTest::newRow("reopen as 1254") << ids::ID_ReopenEncoding << "Windows-1254"
                                        << QString::fromUtf8("' sıcaklık") << kTurkish << "Windows-1254";
        QTest::newRow("save as UTF-8") << ids::ID_SaveEncoding << "UTF-8" << QString::fromUtf8("' sýcaklýk")
                                       << QByteArray("' s\xc3\xbd"
                                                     "cakl\xc3\xbdk\r\nHIGH 1\r\n")
                                       << "UTF-8";
        QTest::newRow("save as 1251 refused")
            << ids::ID_SaveEncoding << "Windows-1251" << QString::fromUtf8("' sýcaklýk") << kTurkish << "";
        QTest::newRow("cancelled") << ids::ID_ReopenEncoding << "" << QString::fromUtf8("' sýcaklýk")
                                   << kTurkish << "";
    }
    void encodingCommands() {
        QFETCH(QString, command);
        QFETCH(QString, chosen);
        QFETCH(QString, line);
        QFETCH(QByteArray, saved);
        QFETCH(QString, remembered);
        FrameFixture f;
        const QString path = f.file(QStringLiteral("tr.pbp"), kTurkish);
        MDIMain& m = f.start(path);
        QCOMPARE(f.doc().GetLine(0), QString::fromUtf8("' sýcaklýk")); // the stored default, Windows-1252
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
        QCOMPARE(f.doc().encodingName(), now);
        QCOMPARE(f.doc().GetLine(0), line);
    }

    // Save of a new document whose folder (the documents folder) is missing.
    void newDocumentWithoutItsFolder_data() {
        QTest::addColumn<QString>("sourceFolder"); // relative to the test's folder
        QTest::addColumn<QString>("savedIn");
        QTest::newRow("folder made") << "Documents"
                                     << "Documents";
        QTest::newRow("folder cannot be made: home") << "plain.txt/Documents"
                                                     << "home";
    }
    void newDocumentWithoutItsFolder() {
        QFETCH(QString, sourceFolder);
        QFETCH(QString, savedIn);
        FrameFixture f;
        QVERIFY(testsupport::writeFile(f.dir.filePath(QStringLiteral("plain.txt")), "keep"));
        QVERIFY(QDir().mkpath(f.dir.filePath(QStringLiteral("home"))));
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", f.dir.filePath(QStringLiteral("home")).toLocal8Bit());
        const auto restore = qScopeGuard([&home] { qputenv("HOME", home); });
        f.store().save(settings::startup::SourceCodePath,
                       QDir::toNativeSeparators(f.dir.filePath(sourceFolder)));
        MDIMain& m = f.start();
        click(m, ids::ID_New);
        f.doc().InsertImpl(0, 0, QStringLiteral("HIGH 1"));
        f.prompts.clearShown();
        click(m, ids::ID_Save);
        QCOMPARE(f.prompts.messages(), QStringList());
        const QString expected =
            QDir::toNativeSeparators(f.dir.filePath(savedIn + QStringLiteral("/Untitled1.pbp")));
        QCOMPARE(testsupport::readFile(expected), QByteArray("HIGH 1"));
        QCOMPARE(f.active()->caption(), expected);
        QVERIFY(!f.doc().Modified());
    }
};

QTEST_MAIN(tst_FileFormats)
#include "tst_FileFormats.moc"
