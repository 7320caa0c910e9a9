#include "shell/LabelCombo.h"
#include "support/FrameTest.h"

// The label combo kept in step with the scanner's names: refills, renames in place, selection by name.
class tst_LabelCombo : public QObject {
    Q_OBJECT
private slots:
    void selectAfterUpdates_data() {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        const QStringList abc{"Main", "Loop", "Loop", "Done"};
        QTest::newRow("first of duplicates, any case") << abc << abc << "LOOP" << 1;
        QTest::newRow("unknown clears") << abc << abc << "Other" << -1;
        QTest::newRow("null clears") << abc << abc << QString() << -1;
        QTest::newRow("renamed entry is found") << abc << QStringList{"Main", "Loops", "Loop", "Done"} << "loops" << 1;
        QTest::newRow("rename passes the name to the duplicate")
            << abc << QStringList{"Main", "Loops", "Loop", "Done"} << "Loop" << 2;
        QTest::newRow("rename onto an earlier name") << abc << QStringList{"Main", "Loop", "Loop", "main"} << "MAIN" << 0;
        QTest::newRow("rename ahead of a later duplicate")
            << abc << QStringList{"Done", "Loop", "Loop", "Done"} << "done" << 0;
        QTest::newRow("grown list") << abc << QStringList{"Main", "Loop", "Loop", "Done", "End"} << "End" << 4;
        QTest::newRow("emptied") << abc << QStringList{} << "Main" << -1;
    }
    void selectAfterUpdates() {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QString, name);
        QFETCH(int, index);
        FrameFixture f;
        MDIMain& m = f.start();
        LabelCombo& combo = m.labelCombo();
        combo.setEntries(first);
        combo.setEntries(second);
        QStringList shown;
        for (int i = 0; i < m.toolBars().ListCount(ids::ID_GotoLabel); ++i)
            shown << m.toolBars().ListText(ids::ID_GotoLabel, i);
        QCOMPARE(shown, second);
        combo.select(name);
        QCOMPARE(m.toolBars().ListIndex(ids::ID_GotoLabel), index);
    }
};

QTEST_MAIN(tst_LabelCombo)
#include "tst_LabelCombo.moc"
