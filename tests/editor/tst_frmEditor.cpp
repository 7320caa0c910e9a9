#include <QTabBar>
#include <QTest>

#include "editor/frmEditor.h"
#include "platform/Colors.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

class tst_frmEditor : public QObject {
    Q_OBJECT
private slots:
    void loadAppliesStoredColours_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("tokenClass");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("comment default") << "svComment" << 6 << "" << qint32(38400);
        QTest::newRow("string stored") << "svString" << 7 << "255" << qint32(255);
        QTest::newRow("modifier stored") << "svModifer" << 15 << "65280" << qint32(65280);
        QTest::newRow("number default") << "svNumber" << 3 << "" << qint32(12632064);
    }
    void loadAppliesStoredColours() {
        QFETCH(QString, key);
        QFETCH(int, tokenClass);
        QFETCH(QString, stored);
        FrameFixture f;
        if (!stored.isEmpty())
            f.store().Save(QStringLiteral("Pinwright"), QStringLiteral("ViewColors"), key, stored);
        f.start();
        SourceView& v = f.active()->View();
        QTEST(v.TokenInfo().ForegroundColor(tokenClass), "expected");
        QTEST(v.PrintTokenInfo().ForegroundColor(tokenClass), "expected");
        QCOMPARE(v.TokenInfo().TokenStyle(10), 1);
        QCOMPARE(v.TokenInfo().TokenStyle(15), 1);
    }

    void colourThatIsNotANumberKeepsTheControlsColour() {
        FrameFixture f;
        f.store().save(settings::colors::svComment, QStringLiteral("green"));
        f.start();
        const TokenStyles& got = f.active()->View().TokenInfo();
        SourceView fresh;
        QCOMPARE(got.HasForegroundColor(6), fresh.TokenInfo().HasForegroundColor(6));
        QCOMPARE(got.ForegroundColor(6), fresh.TokenInfo().ForegroundColor(6));
        QCOMPARE(got.ForegroundColor(7), qint32(180)); // the other classes still get their colours
    }

    void unloadSavesColoursAndLastFile() {
        FrameFixture f;
        const QString p = f.path(QStringLiteral("keep.pbp"));
        testsupport::writeFile(p, "x\n");
        f.start(p);
        SourceView& v = f.active()->View();
        v.TokenInfo().SetForegroundColor(6, 4660, 1);
        v.SetBackColor(colors::rgb(1, 2, 3));
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svComment), QStringLiteral("4660"));
        QCOMPARE(f.store().read(settings::colors::svBackGround), QString::number(colors::rgb(1, 2, 3)));
        QCOMPARE(f.store().read(settings::startup::LastFile), p);
        // The system colour is the default and round-trips as its negative decimal text.
        FrameFixture g;
        g.start();
        QCOMPARE(g.active()->View().BackColor(), colors::SystemWindow);
        QCOMPARE(g.active()->View().TokenInfo().BackgroundColor(0), colors::SystemWindow);
        QVERIFY(g.close());
        QCOMPARE(g.store().read(settings::colors::svBackGround), QStringLiteral("-2147483643"));
    }

    void closingTheLastWindowDisablesTheDocumentTools() {
        FrameFixture f;
        MDIMain& m = f.start();
        QVERIFY(f.active()->close());
        QVERIFY(f.prompts.messages().isEmpty()); // unmodified: not asked
        QCOMPARE(m.toolBars().Caption(ids::ID_OpenDocs), QStringLiteral("Files: 0"));
        for (const QString* id :
             {&ids::ID_Close, &ids::ID_Save, &ids::ID_Compile, &ids::ID_Device, &ids::ID_GotoLabel})
            QVERIFY(!m.toolBars().Enabled(*id));
        QCOMPARE(m.TaskBar().count(), 0);
    }

    void yesAlwaysShowsTheSaveDialog() {
        FrameFixture f;
        const QString p = f.path(QStringLiteral("named.pbp"));
        testsupport::writeFile(p, "old\n");
        f.start(p);
        f.active()->View().Document().InsertOverwrite(0, 0, 3, 0, QStringLiteral("new"));
        f.prompts.answer(Prompts::Answer::Yes);
        f.prompts.chooseFile(p);
        QVERIFY(f.active()->close());
        QCOMPARE(f.prompts.shown().last().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts.shown().last().text, p);
        QCOMPARE(testsupport::readFile(p), QByteArray("new\n"));
    }

    void failedSaveOnCloseKeepsTheWindowAndTheText() {
        FrameFixture f;
        f.start();
        f.active()->View().Document().InsertOverwrite(0, 0, 0, 0, QStringLiteral("precious"));
        f.prompts.answer(Prompts::Answer::Yes);
        f.prompts.chooseFile(f.path(QStringLiteral("no such folder/x.pbp")));
        QVERIFY(!f.active()->close());
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Error(")));
        QCOMPARE(f.active()->View().Document().GetLine(0), QStringLiteral("precious"));
        f.prompts.answer(Prompts::Answer::No);
    }

    void shortPath() {
        FrameFixture f;
        f.start();
        const QString p = f.path(QStringLiteral("with space.pbp"));
        testsupport::writeFile(p, "x");
        QVERIFY(!f.active()->GetShortPath(p).isEmpty());
        QVERIFY(f.prompts.messages().isEmpty());
        QCOMPARE(f.active()->GetShortPath(f.path(QStringLiteral("missing.pbp"))), QString());
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Error! Invalid Path or File Name..")));
        QCOMPARE(f.prompts.last().icon, Prompts::Icon::Critical);
    }
};

QTEST_MAIN(tst_frmEditor)
#include "tst_frmEditor.moc"
