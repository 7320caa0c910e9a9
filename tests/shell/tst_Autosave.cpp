#include <QDirIterator>

#include "shell/Autosave.h"
#include "support/FrameTest.h"

// Unsaved documents are copied aside and offered back after the program ended without saving them.
class tst_Autosave : public QObject {
    Q_OBJECT
    static QString folder(FrameFixture& f) { return f.path(QStringLiteral("autosave")); }
    static QStringList copies(FrameFixture& f) {
        QStringList out;
        QDirIterator it(folder(f), {QStringLiteral("*.autosave")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        return out;
    }
    static QStringList offers(const ScriptedPrompts& p) {
        return p.messages().filter(QStringLiteral("without saving the changes"));
    }

private slots:
    void unsavedTextComesBack_data() {
        QTest::addColumn<QByteArray>("onDisk"); // null: the document was never saved
        QTest::addColumn<QString>("typed");     // over the first line
        QTest::newRow("UTF-8 with LF") << QByteArray("HIGH 1\nLOW 2\n") << QString("SYMBOL \u00E9 = 1\n");
        // Its new bytes would read as UTF-8 ("\u00E9"), were the encoding not kept.
        QTest::newRow("Windows-1252, CRLF") << QByteArray("\xE9\r\nHIGH 1\r\n") << QString("\u00C3\u00A9");
        QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xEF\xBB\xBFHIGH 1\r\n") << QString("X");
        QTest::newRow("mixed endings") << QByteArray("A\r\nB\nC\rD") << QString("X");
        QTest::newRow("never saved") << QByteArray() << QString("HIGH 3\nLOW 3");
        QTest::newRow("declined") << QByteArray("HIGH 1\n") << QString("LOW 1\n");
    }
    void unsavedTextComesBack() {
        QFETCH(QByteArray, onDisk);
        QFETCH(QString, typed);
        const bool restore = QTest::currentDataTag() != QLatin1String("declined");
        FrameFixture f;
        const QString path = f.path(QStringLiteral("doc.pbp"));
        if (!onDisk.isNull())
            QVERIFY(testsupport::writeFile(path, onDisk));
        MDIMain& m = f.start(path);
        SourceDocument& doc = f.doc();
        doc.InsertOverwrite(0, 0, doc.GetLineLength(0), 0, typed);
        m.autosaveNow();
        QString encoding;
        const QByteArray expected = doc.fileBytes(&encoding);
        QCOMPARE(copies(f).size(), 1);

        f.crash();
        f.prompts.answer(restore ? Prompts::Answer::Yes : Prompts::Answer::No);
        MDIMain& again = f.start(f.path(QStringLiteral("other.pbp")));
        QCOMPARE(again.editors().size(), restore ? 2 : 1);
        QCOMPARE(offers(f.prompts).size(), 1);
        QVERIFY(offers(f.prompts).first().startsWith(QDir::toNativeSeparators(path)));
        // The user's file is never written by the restore.
        QCOMPARE(QFile::exists(path), !onDisk.isNull());
        QCOMPARE(testsupport::readFile(path), onDisk.isNull() ? QByteArray() : onDisk);
        if (restore) {
            const SourceDocument& back = again.editors().constLast()->View().Document();
            QCOMPARE(again.editors().constLast()->caption(), path);
            QVERIFY(back.Modified());
            QString backEncoding;
            QCOMPARE(back.fileBytes(&backEncoding), expected);
            QCOMPARE(backEncoding, encoding);
        }
        // Restored text is copied again at once; declined text is gone for good.
        QCOMPARE(copies(f).size(), restore ? 1 : 0);

        // A clean exit leaves nothing to offer.
        for (int i = 0; i < 3; ++i)
            f.prompts.answer(Prompts::Answer::No);
        QVERIFY(f.close());
        QVERIFY(QDir(folder(f)).isEmpty());
        f.prompts.clearShown();
        f.start();
        QVERIFY(offers(f.prompts).isEmpty());
    }

    // The copy follows the document: written when its text changes, gone when it is saved, and never
    // offered to another program while its own is still running (closing: unsavedTextComesBack).
    void copyFollowsTheDocument() {
        FrameFixture f;
        const QString path = f.file(QStringLiteral("doc.pbp"), "HIGH 1\r\n");
        MDIMain& m = f.start(path);
        SourceDocument& doc = f.doc();
        m.autosaveNow();
        QVERIFY(copies(f).isEmpty()); // nothing unsaved
        doc.InsertImpl(0, 0, QStringLiteral("LOW 1\n"));
        m.autosaveNow();
        QCOMPARE(copies(f).size(), 1);

        {
            MDIMain second(*f.settings, f.prompts);
            second.MDIForm_Load(f.path(QStringLiteral("other.pbp")));
            QVERIFY(offers(f.prompts).isEmpty());
        }
        QCOMPARE(copies(f).size(), 1);

        m.SSActiveToolBars1_ToolClick(ids::ID_Save);
        QVERIFY(copies(f).isEmpty());
        QCOMPARE(testsupport::readFile(path), QByteArray("LOW 1\r\nHIGH 1\r\n"));
    }

    // A copy that is not one of ours is never offered, and goes even beside one that is; whatever was
    // there is gone once handled, the session folder and its lock with it.
    void copiesThatAreNotOurs() {
        const std::tuple<const char*, QByteArray, QString> rows[] = {
            // name, copy, what is offered
            {"ours", Autosave::encode({"/x/a.pbp", "Windows-1254", "caf\xE9", {}, {}}),
             QString::fromUtf8("/x/a.pbp Windows-1254 caf\u00e9")},
            {"no header end", "Pinwright autosave 1\npath %2Fa", ""},
            {"another format", "Pinwright autosave 9\npath a\n\nX", ""},
            {"no path", "Pinwright autosave 1\nencoding UTF-8\n\nX", ""}};
        for (const auto& [name, content, ours] : rows) {
            QTemporaryDir dir;
            QVERIFY(testsupport::writeFile(dir.filePath(QStringLiteral("s/1.autosave")), content));
            QVERIFY(testsupport::writeFile(dir.filePath(QStringLiteral("s/0.autosave")), "not ours"));
            Autosave store(dir.path());
            QStringList offered;
            for (const Autosave::Entry& e : store.orphaned()) {
                offered << e.path + u' ' + e.encoding + u' ' + QString::fromLatin1(e.bytes);
                store.discard(e);
            }
            QCOMPARE(name + (u'>' + offered.join(u'|')), name + (u'>' + ours));
            QVERIFY2(QDir(dir.path()).isEmpty(), name);
        }
    }
};

QTEST_MAIN(tst_Autosave)
#include "tst_Autosave.moc"
