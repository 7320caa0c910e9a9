#include <QMdiArea>
#include <QTabBar>
#include <QTest>

#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

class tst_MDIMain : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithAnEmptyStore() {
        FrameFixture f;
        MDIMain& m = f.start();
        QVERIFY(m.windowTitle().startsWith(QStringLiteral("Pinwright")));
        const double dpi = m.logicalDpiY();
        QCOMPARE(m.width(), qRound(9000 * dpi / 1440));
        QCOMPARE(m.height(), qRound(6000 * dpi / 1440));
        QCOMPARE(m.x(), 0);
        QCOMPARE(m.y(), 0);
        QCOMPARE(m.OpenDocCount, qint16(1));
        frmEditor* w = f.active();
        QVERIFY(w);
        QCOMPARE(w->caption(), f.path(QStringLiteral("Untitled.pbp")));
        QCOMPARE(w->View().Document().NumLines(), 1);
        QVERIFY(!w->View().Document().Modified());
        QCOMPARE(m.TaskBar().tabText(0), w->caption());
        QCOMPARE(m.taskBarTag(), QStringLiteral("False"));
        QCOMPARE(w->Tag, QStringLiteral("&1. ") + w->caption());
        QVERIFY(m.toolBars().Enabled(ids::ID_Save));
    }

    void startUpFile_data() {
        QTest::addColumn<QString>("commandLine"); // relative to the application folder
        QTest::addColumn<QString>("lastFile");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstLine");
        // last.pbp holds "LAST", "my program.pbp" holds "HIGH PORTB.0".
        QTest::newRow("command line wins")
            << "my program.pbp" << "last.pbp" << "my program.pbp" << "HIGH PORTB.0";
        QTest::newRow("last file") << "" << "last.pbp" << "last.pbp" << "LAST";
        QTest::newRow("missing last file: empty, named by its path")
            << "" << "gone/away.pbp" << "gone/away.pbp" << "";
    }
    void startUpFile() {
        QFETCH(QString, commandLine);
        QFETCH(QString, lastFile);
        QFETCH(QString, caption);
        FrameFixture f;
        QVERIFY(testsupport::writeFile(f.path(QStringLiteral("last.pbp")), "LAST\n"));
        QVERIFY(testsupport::writeFile(f.path(QStringLiteral("my program.pbp")), "HIGH PORTB.0\r\nLOW\r\n"));
        f.store().save(settings::startup::LastFile, f.path(lastFile));
        f.start(commandLine.isEmpty() ? QString() : f.path(commandLine));
        QCOMPARE(f.active()->caption(), f.path(caption));
        QCOMPARE(f.active()->View().Document().PathName(), f.path(caption));
        QTEST(f.active()->View().Document().GetLine(0), "firstLine");
    }

    void recentEntries_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QList<bool>>("visible");
        QTest::newRow("none") << QStringList{"", "", "", ""} << QList<bool>{false, false, false, false};
        QTest::newRow("File2 only") << QStringList{"", "&2 /b", "", ""}
                                    << QList<bool>{false, true, false, false};
        QTest::newRow("File3 only") << QStringList{"", "", "&3 /c", ""}
                                    << QList<bool>{false, false, true, false};
        QTest::newRow("all") << QStringList{"&1 /a", "&2 /b", "&3 /c", "&4 /d"}
                             << QList<bool>{true, true, true, true};
    }
    void recentEntries() {
        QFETCH(QStringList, stored);
        QFETCH(QList<bool>, visible);
        FrameFixture f;
        for (int n = 0; n < 4; ++n)
            if (!stored[n].isEmpty())
                f.store().save(*settings::startup::RecentFiles[n], stored[n]);
        MDIMain& m = f.start();
        const QString* entries[] = {&ids::ID_File1, &ids::ID_File2, &ids::ID_File3, &ids::ID_File4};
        for (int n = 0; n < 4; ++n) {
            QCOMPARE(m.toolBars().Visible(*entries[n]), visible[n]);
            if (visible[n])
                QCOMPARE(m.toolBars().Caption(*entries[n]), stored[n]);
        }
    }

    void compilerType_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("pbp");
        QTest::newRow("empty store") << QString() << true;
        QTest::newRow("1") << "1" << false;
        QTest::newRow("no leading number") << "PicBasic" << true;
        QTest::newRow("leading number") << " 1 compiler" << false;
    }
    void compilerType() {
        QFETCH(QString, stored);
        QFETCH(bool, pbp);
        FrameFixture f;
        if (!stored.isNull())
            f.store().save(settings::startup::CompilerType, stored);
        MDIMain& m = f.start();
        QCOMPARE(m.state().PBPMode, pbp);
        QCOMPARE(m.PanelText(5), pbp ? QStringLiteral("PBP") : QStringLiteral("PBC"));
        QCOMPARE(m.PanelToolTip(5), pbp ? QStringLiteral("Using: PicBasic Pro Compiler")
                                        : QStringLiteral("Using: PicBasic Compiler"));
    }

    void unconvertibleValueLeavesItsPropertyAlone_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("width as a word") << "Width" << "wide";
        QTest::newRow("width out of reach") << "Width" << "1e12";
        QTest::newRow("height empty") << "Height" << "";
        QTest::newRow("device as a word") << "DefaultDevice" << "seventy";
        QTest::newRow("device beyond 16 bits") << "DefaultDevice" << "99999";
    }
    void unconvertibleValueLeavesItsPropertyAlone() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        FrameFixture f;
        f.store().Save(QStringLiteral("Pinwright"), QStringLiteral("Startup"), key, stored);
        f.store().save(settings::startup::Left, QStringLiteral("1500"));
        MDIMain& m = f.start();
        // The other values still apply, and the frame keeps a usable size.
        QCOMPARE(m.x(), qRound(1500.0 * m.logicalDpiY() / 1440));
        QVERIFY(m.width() > 1 && m.width() < 5000);
        QVERIFY(m.height() > 1 && m.height() < 5000);
        QVERIFY(m.toolBars().ListIndex(ids::ID_Device) < m.toolBars().ListCount(ids::ID_Device));
        QVERIFY(f.active());
    }

    void shutdownWritesPlacementRecentAndDevice() {
        FrameFixture f;
        f.store().save(settings::startup::File2, QStringLiteral("&2 /b"));
        f.store().save(settings::startup::File1, QStringLiteral("stale"));
        MDIMain& m = f.start();
        m.toolBars().SetVisible(ids::ID_File1, false);
        m.move(150, 90);
        m.resize(700, 500);
        QVERIFY(f.close());
        const double k = 1440.0 / m.logicalDpiY();
        QCOMPARE(f.store().read(settings::startup::Left).toDouble(), m.x() * k);
        QCOMPARE(f.store().read(settings::startup::Width).toDouble(), 700 * k);
        QCOMPARE(f.store().read(settings::startup::Height).toDouble(), 500 * k);
        QCOMPARE(f.store().read(settings::startup::File2), QStringLiteral("&2 /b"));
        QCOMPARE(f.store().read(settings::startup::File1), QStringLiteral("stale")); // hidden: left as it was
        QVERIFY(!f.store().read(settings::startup::DefaultDevice).isEmpty());
        QCOMPARE(f.store().read(settings::startup::LastFile), f.path(QStringLiteral("Untitled.pbp")));
        MDIMain& again = f.restart();
        QCOMPARE(again.width(), 700);
        QCOMPARE(again.height(), 500);
    }

    void cancelledSavePromptStopsTheShutdown() {
        FrameFixture f;
        MDIMain& m = f.start();
        f.active()->View().Document().InsertOverwrite(0, 0, 0, 0, QStringLiteral("typed"));
        f.prompts.answer(Prompts::Answer::Cancel);
        QVERIFY(!f.close());
        QVERIFY(m.isVisible());
        QVERIFY(f.active());
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Save Changes to ") + f.path(QStringLiteral("Untitled.pbp")));
        QCOMPARE(f.active()->View().Document().GetLine(0), QStringLiteral("typed"));
        f.prompts.answer(Prompts::Answer::No);
    }
};

QTEST_MAIN(tst_MDIMain)
#include "tst_MDIMain.moc"
