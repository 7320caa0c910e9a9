#include "dialogs/frmScan.h"
#include "shell/CodeExplorer.h"
#include "support/FrameTest.h"

// The label and declaration scan of an opened file, caret tracking on the status bar, and the combos.
class tst_EditorScan : public QObject {
    Q_OBJECT

    static QList<int> kinds(const SourceDocument& doc) {
        QList<int> out;
        for (int i = 0; i < doc.NumLines(); ++i)
            out << doc.GetLineData(i, 2);
        return out;
    }
    static QStringList comboEntries(MDIMain& m) {
        QStringList out;
        for (int i = 0; i < m.toolBars().ListCount(ids::ID_GotoLabel); ++i)
            out << m.toolBars().ListText(ids::ID_GotoLabel, i);
        return out;
    }
    static std::pair<MDIMain&, SourceView&> open(FrameFixture& f, const QByteArray& text) {
        MDIMain& m = f.startWith(QStringLiteral("prog.pbp"), text);
        return {m, m.editors().first()->View()};
    }

private slots:
    // Opening scans every line for its kind (1 label, 2 VAR, 3 CON, 4 both) and fills the combo.
    void openScan() {
        const std::tuple<QByteArray, QList<int>, QStringList> rows[] = {
            {"Start:\r\nB VAR BYTE\r\nX CON 5\r\nA VAR BYTE : K CON 3\r\n\tLoop: GOTO Loop\r\n",
             {1, 2, 3, 4, 1, 0},
             {"Start", "Loop"}},
            // The last label line keeps its combo entry after a declaration.
            {"x = 1\nA:\nB: x VAR BYTE\nC: y VAR BYTE\n", {0, 1, 2, 2, 0}, {"A", "C"}},
            // Duplicates are kept; an indented label with code is none.
            {"Loop:\n   Loop: GOTO Loop\nLoop:\n", {1, 0, 1, 0}, {"Loop", "Loop"}},
            // Labels commented out.
            {"'Init:\n;Init:\n\t' Init:\nInit:\n", {0, 0, 0, 1, 0}, {"Init"}}};
        for (const auto& [text, lineKinds, combo] : rows) {
            FrameFixture f;
            auto [m, v] = open(f, text);
            QCOMPARE(kinds(v.Document()), lineKinds);
            QCOMPARE(comboEntries(m), combo);
            QVERIFY(!v.Document().Modified() && v.CaretY() == 0 && m.findChildren<frmScan*>().isEmpty());
        }
    }

    // The one-pass scan leaves what CheckForLabels and CheckForVariables leave line by line.
    void onePassScanEqualsTheLineByLineScan() {
        const QString corpus = testsupport::corpusDir();
        if (corpus.isEmpty())
            QSKIP("no corpus");
        const QStringList files = QDir(corpus).entryList(QDir::Files);
        FrameFixture f;
        MDIMain& m = f.start();
        frmEditor& w = *f.active();
        SourceDocument& doc = w.View().Document();
        int labelled = 0;
        for (const QString& name : files) {
            doc.LoadFile(QDir(corpus).filePath(name));
            w.ScanDocument(nullptr);
            const QList<int> once = kinds(doc);
            const QStringList onceLabels = w.labels();
            // The frame's combo shows the active window's labels.
            QVERIFY2(comboEntries(m) == onceLabels, qPrintable(name));
            doc.LoadFile(QDir(corpus).filePath(name));
            for (int i = 0; i < doc.NumLines(); ++i) {
                w.CheckForLabels(0, i);
                w.CheckForVariables(0, i);
            }
            QVERIFY2(kinds(doc) == once, qPrintable(name));
            QVERIFY2(w.labels() == onceLabels, qPrintable(name));
            labelled += onceLabels.isEmpty() ? 0 : 1;
        }
        QVERIFY(files.isEmpty() || labelled > 0);
    }

    // Panel 1 shows where the caret is, TABs counted to their stops; panel 2 the statement's help.
    void statusFollowsTheCaret() {
        const std::tuple<QByteArray, int, int, const char*> rows[] = {
            {"x = 1\n    GOTO Main\n", 8, 1, "Line:  2 Col: 9|Continue execution at specified label.|-1"},
            {"\tHIGH 1\n", 5, 0, "Line:  1 Col: 9|Make pin output high.|-1"},
            {"x = 1\n", 1, 0, "Line:  1 Col: 2||0"},
            {"\n\n\n\n\n\n\n\n\n\n\nabcdefg\n", 4, 11, "Line:  12 Col: 5||0"}};
        for (const auto& [text, col, line, status] : rows) {
            FrameFixture f;
            auto [m, v] = open(f, text);
            v.MoveCaret(col, line);
            const QString mode = QString::number(m.state().QuickListMode);
            QCOMPARE(QStringList({m.PanelText(1), m.PanelText(2), mode}).join(u'|'),
                     QString::fromLatin1(status));
        }
    }

    // The combo follows the caret's label section and the labels being typed, renamed and unmade.
    void comboFollowsTheCaretAndTheTyping() {
        FrameFixture f;
        auto [m, v] = open(f, "x = 0\nMain:\nLoop:\nx = 1\nLoop:\n\n");
        QWidget* keys = v.focusProxy();
        const auto selected = [&m] {
            return m.toolBars().ListIndex(ids::ID_GotoLabel) < 0 ? QString()
                                                                 : m.toolBars().Text(ids::ID_GotoLabel);
        };
        for (const auto& [line, name] : {std::pair{0, ""}, {1, "Main"}, {3, "Loop"}}) {
            v.MoveCaret(0, line);
            QCOMPARE(selected(), QString::fromLatin1(name));
        }
        v.MoveCaret(4, 2);
        QCOMPARE(comboEntries(m), (QStringList{"Main", "Loop", "Loop"}));
        QTest::keyClicks(keys, QStringLiteral("s"));
        QCOMPARE(comboEntries(m), (QStringList{"Main", "Loops", "Loop"}));
        QCOMPARE(selected(), QStringLiteral("Loops"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(keys, Qt::Key_Backspace);
        // "Lo:" on line 2; then a blank makes line 1 no label at all.
        QCOMPARE(comboEntries(m), (QStringList{"Main", "Lo", "Loop"}));
        v.MoveCaret(2, 1);
        QTest::keyClicks(keys, QStringLiteral(" "));
        v.MoveCaret(0, 4);
        QCOMPARE(comboEntries(m), (QStringList{"Lo", "Loop"}));
        QCOMPARE(selected(), QStringLiteral("Loop"));
        // A new line moves the numbers: the next rebuild reads them again.
        v.MoveCaret(0, 0);
        QTest::keyClick(keys, Qt::Key_Return);
        v.MoveCaret(3, 5);
        QTest::keyClicks(keys, QStringLiteral("X"));
        QCOMPARE(comboEntries(m), (QStringList{"Lo", "LooXp"}));
        QCOMPARE(v.Document().GetLineData(2, 2), 0);
        // A label typed on a line of its own is added; unmade, it stays until the next rebuild.
        v.MoveCaret(0, 6);
        QTest::keyClicks(keys, QStringLiteral("Start:"));
        QCOMPARE(v.Document().GetLineData(6, 2), 1);
        QCOMPARE(comboEntries(m), (QStringList{"Lo", "LooXp", "Start"}));
        QTest::keyClick(keys, Qt::Key_Backspace);
        v.MoveCaret(0, 0);
        QCOMPARE(v.Document().GetLineData(6, 2), 0);
        QCOMPARE(comboEntries(m), (QStringList{"Lo", "LooXp", "Start"}));
        m.SSActiveToolBars1_ComboDropDown(ids::ID_GotoLabel);
        QCOMPARE(comboEntries(m), (QStringList{"Lo", "LooXp"}));
        // A typed declaration line is marked.
        v.MoveCaret(0, 7);
        QTest::keyClicks(keys, QStringLiteral("B VAR BYTE : K CON 3"));
        QTest::keyClick(keys, Qt::Key_Return);
        QCOMPARE(v.Document().GetLineData(7, 2), 4);
    }

    // A jump to a missing label is named on the status bar under the caret and listed under Problems;
    // typing the label ends it, typing it twice makes another. The labels of an INCLUDEd file count.
    void labelProblemsFollowTheTyping() {
        FrameFixture f;
        f.file(QStringLiteral("lib.pbp"), "LibSub:\r\n");
        auto [m, v] = open(f, "INCLUDE \"lib.pbp\"\nMain:\n  GOTO Mian\n  GOSUB LibSub\n");
        m.show();
        m.setCodeExplorerShown(true);
        const auto problems = [&m] {
            QStringList out;
            for (const outline::Entry& e : m.codeExplorer().entries())
                if (e.group == outline::Group::Problems)
                    out << e.name + u' ' + e.detail;
            return out;
        };
        QTRY_COMPARE(problems(), QStringList{"Undefined label: Mian line 3"});
        v.MoveCaret(8, 2);
        QCOMPARE(m.PanelText(2), QStringLiteral("Undefined label: Mian"));
        v.MoveCaret(10, 3);
        QCOMPARE(m.PanelText(2), QString());
        QWidget* keys = v.focusProxy();
        v.MoveCaret(0, 4);
        QTest::keyClicks(keys, QStringLiteral("Mian:"));
        QTRY_COMPARE(problems(), QStringList());
        QTest::keyClick(keys, Qt::Key_Return);
        QTest::keyClicks(keys, QStringLiteral("mian:"));
        QTRY_COMPARE(problems(),
                     (QStringList{"Label defined twice: Mian line 5", "Label defined twice: mian line 6"}));
        v.MoveCaret(2, 5);
        QCOMPARE(m.PanelText(2), QStringLiteral("Label defined twice: mian"));
        // Reloaded after another program changed it: the problems are the new text's.
        m.checkDocumentsOnDisk();
        f.prompts.answer(Prompts::Answer::Yes);
        v.Document().SetModified(false);
        QVERIFY(testsupport::writeFile(v.Document().PathName(), "Start:\n  GOTO Nowhere\n"));
        QTRY_COMPARE(problems(), QStringList{"Undefined label: Nowhere line 2"});
    }

    // The caret lands on the line below the first label line of the name, in any case.
    void labelComboJumpsToTheFirstLabelLineOfTheName() {
        FrameFixture f;
        auto [m, v] = open(f, "x = 1\n\tLoop:\nHIGH 1\nLoop:\n  Done:\nEND\nOther:\n");
        v.Document().SetLineData(6, 2, 0); // no longer a label line
        for (const auto& [entry, line] : {std::pair{"Loop", 2}, {"LOOP", 2}, {"Done", 5}, {"Other", 0}}) {
            v.MoveCaret(0, 0);
            m.toolBars().ListAdd(ids::ID_GotoLabel, QString::fromLatin1(entry));
            m.toolBars().SetListIndex(ids::ID_GotoLabel, m.toolBars().ListCount(ids::ID_GotoLabel) - 1);
            m.SSActiveToolBars1_ComboCloseUp(ids::ID_GotoLabel);
            QVERIFY2(v.CaretY() == line, entry);
        }
    }
};

QTEST_MAIN(tst_EditorScan)
#include "tst_EditorScan.moc"
