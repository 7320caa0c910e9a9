#include "shell/LabelCombo.h"
#include "support/FrameTest.h"

// The label combo kept in step with the scanner's names: refills, renames in place, selection by name.
class tst_LabelCombo : public QObject {
    Q_OBJECT
private slots:
    void selectAfterUpdates() {
        FrameFixture f;
        MDIMain& m = f.start();
        LabelCombo& combo = m.labelCombo();
        const QStringList abc{"Main", "Loop", "Loop", "Done"};
        // Each row refills from abc: {row, second list ("" for abc itself), name selected, index it selects}.
        const char* rows[][4] = {
            {"first of duplicates, any case", "", "LOOP", "1"},
            {"unknown clears", "", "Other", "-1"},
            {"null clears", "", nullptr, "-1"},
            {"renamed entry is found", "Main,Loops,Loop,Done", "loops", "1"},
            {"rename passes the name to the duplicate", "Main,Loops,Loop,Done", "Loop", "2"},
            {"rename onto an earlier name", "Main,Loop,Loop,main", "MAIN", "0"},
            {"rename ahead of a later duplicate", "Done,Loop,Loop,Done", "done", "0"},
            {"grown list", "Main,Loop,Loop,Done,End", "End", "4"},
            {"emptied", ",", "Main", "-1"}};
        for (const auto& r : rows) {
            const QString given = QString::fromLatin1(r[1]);
            const QStringList second = given.isEmpty() ? abc : given.split(u',', Qt::SkipEmptyParts);
            combo.setEntries({});
            combo.setEntries(abc);
            combo.setEntries(second);
            QStringList shown;
            for (int i = 0; i < m.toolBars().ListCount(ids::ID_GotoLabel); ++i)
                shown << m.toolBars().ListText(ids::ID_GotoLabel, i);
            combo.select(QString::fromLatin1(r[2]));
            const QString state =
                shown.join(u',') + u'|' + QString::number(m.toolBars().ListIndex(ids::ID_GotoLabel));
            QCOMPARE(r[0] + (u' ' + state),
                     r[0] + (u' ' + second.join(u',') + u'|' + QString::fromLatin1(r[3])));
        }
    }
};

QTEST_MAIN(tst_LabelCombo)
#include "tst_LabelCombo.moc"
