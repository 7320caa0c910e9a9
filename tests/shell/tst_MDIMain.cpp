#include "support/FrameTest.h"

class tst_MDIMain : public QObject {
    Q_OBJECT
private slots:
    void startUpFile_data() {
        QTest::addColumn<QString>("commandLine"); // relative to the application folder
        QTest::addColumn<QString>("lastFile");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstLine");
        // last.pbp holds "LAST", "my program.pbp" holds "HIGH PORTB.0".
        QTest::newRow("command line wins") << "my program.pbp"
                                           << "last.pbp"
                                           << "my program.pbp"
                                           << "HIGH PORTB.0";
        QTest::newRow("last file") << ""
                                   << "last.pbp"
                                   << "last.pbp"
                                   << "LAST";
        QTest::newRow("missing last file: empty, named by its path") << ""
                                                                     << "gone/away.pbp"
                                                                     << "gone/away.pbp"
                                                                     << "";
    }
    void startUpFile() {
        QFETCH(QString, commandLine);
        QFETCH(QString, lastFile);
        QFETCH(QString, caption);
        FrameFixture f;
        f.file(QStringLiteral("last.pbp"), "LAST\n");
        f.file(QStringLiteral("my program.pbp"), "HIGH PORTB.0\r\nLOW\r\n");
        f.store().save(settings::startup::LastFile, f.path(lastFile));
        f.start(commandLine.isEmpty() ? QString() : f.path(commandLine));
        QCOMPARE(f.active()->caption(), f.path(caption));
        QCOMPARE(f.doc().PathName(), f.path(caption));
        QTEST(f.doc().GetLine(0), "firstLine");
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
        QCOMPARE(m.PanelToolTip(5).contains(QLatin1String("Pro")), pbp);
    }

    void shutdownWritesPlacementRecentAndDevice() {
        FrameFixture f;
        f.store().save(settings::startup::File2, QStringLiteral("&2 /b"));
        f.store().save(settings::startup::File1, QStringLiteral("stale"));
        f.store().save(settings::startup::DefaultDevice, QStringLiteral("3"));
        MDIMain& m = f.start();
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 3);
        m.toolBars().SetListIndex(ids::ID_Device, 5);
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
        QCOMPARE(f.store().read(settings::startup::DefaultDevice), QStringLiteral("5"));
        QCOMPARE(f.store().read(settings::startup::LastFile), f.path(QStringLiteral("Untitled.pbp")));
        MDIMain& again = f.restart();
        QCOMPARE(again.width(), 700);
        QCOMPARE(again.height(), 500);
    }
};

QTEST_MAIN(tst_MDIMain)
#include "tst_MDIMain.moc"
