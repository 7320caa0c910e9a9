#include <QAction>
#include <QSignalSpy>
#include <QTreeView>

#include "language/ReservedWords.h"
#include "language/StatementTable.h"
#include "platform/Prompts.h"
#include "shell/CodeExplorer.h"
#include "support/FrameTest.h"

// The code explorer panel in a real frame: listing, jumping, following edits and windows, the View
// menu entry and the stored state.
class tst_CodeExplorer : public QObject {
    Q_OBJECT

    static QStringList names(const CodeExplorer& x) {
        QStringList out;
        for (const outline::Entry& e : x.entries())
            out << e.name;
        return out;
    }
    static MDIMain& start(FrameFixture& f, const QString& name = QStringLiteral("prog.pbp")) {
        // Nothing on the first line, where the caret starts: the open scan alone marks the rest.
        MDIMain& m = f.startWith(name, "' blink\r\nINCLUDE \"modedefs.bas\"\r\nled VAR PORTB.0\r\n"
                                       "count VAR BYTE\r\nMAXV CON 10\r\nMain:\r\n  GOTO Main\r\n");
        m.show();
        return m;
    }

private slots:
    // A PicBasic program's SYMBOLs are listed once the open scan has marked them, and follow an edit;
    // the same text in a PicBasic Pro program declares nothing.
    void symbolsOfPicBasicPrograms_data() {
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("PicBasic") << "1" << QStringList{"led", "delay", "Main"};
        QTest::newRow("PicBasic Pro") << "0" << QStringList{"Main"};
    }
    void symbolsOfPicBasicPrograms() {
        QFETCH(QString, compiler);
        QFETCH(QStringList, listed);
        FrameFixture f;
        f.store().save(settings::startup::CompilerType, compiler);
        MDIMain& m = f.startWith(QStringLiteral("prog.bas"),
                                 "' blink\r\nSYMBOL led = PIN0\r\nsymbol delay = 500 ' ms\r\nMain:\r\n");
        m.show();
        m.toolBars().Click(ids::ID_CodeExplorer);
        CodeExplorer& x = m.codeExplorer();
        QTRY_COMPARE(names(x), listed);
        if (compiler == u"1") {
            QCOMPARE(x.entries().first().group, outline::Group::Aliases);
            // Edited into something else and left, the line drops out.
            SourceView& v = f.view();
            v.SetFocus();
            v.MoveCaret(0, 1);
            QTest::keyClicks(v.focusProxy(), "' ");
            v.MoveCaret(0, 3);
            QTRY_COMPARE(names(x), (QStringList{"delay", "Main"}));
        }
    }

    // Off until asked for from the View menu; then it lists and jumps, and its state is stored.
    void listsJumpsAndIsStored() {
        FrameFixture f;
        MDIMain& m = start(f);
        QAction* entry = m.toolBars().action(ids::ID_CodeExplorer);
        CodeExplorer& x = m.codeExplorer();
        QVERIFY(x.isHidden() && !entry->isChecked());
        m.toolBars().Click(ids::ID_CodeExplorer);
        QVERIFY(!x.isHidden() && entry->isChecked());
        QTRY_COMPARE(names(x), (QStringList{"modedefs.bas", "led", "count", "MAXV", "Main"}));
        QCOMPARE(x.entries().at(2).detail, QStringLiteral("BYTE"));
        QTreeView& tree = x.tree();
        // A click on a label or an include, Enter on a constant: the caret goes to its line.
        const std::tuple<outline::Group, bool, int> jumps[] = {{outline::Group::Labels, false, 5},
                                                               {outline::Group::Constants, true, 4},
                                                               {outline::Group::Includes, false, 1}};
        for (const auto& [group, byKey, line] : jumps) {
            const QModelIndex at = tree.model()->index(0, 0, tree.model()->index(int(group), 0));
            if (byKey) {
                tree.setCurrentIndex(at);
                QTest::keyClick(&tree, Qt::Key_Return);
            } else {
                QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(at).center());
            }
            QCOMPARE(f.view().CaretY(), line);
            QTRY_VERIFY(f.view().focusProxy()->hasFocus());
        }
        m.addDockWidget(Qt::RightDockWidgetArea, &m.codeExplorer());

        MDIMain& again = f.restart(f.path(QStringLiteral("prog.pbp")));
        QVERIFY(!again.codeExplorer().isHidden() &&
                again.toolBars().action(ids::ID_CodeExplorer)->isChecked());
        QCOMPARE(again.dockWidgetArea(&again.codeExplorer()), Qt::RightDockWidgetArea);
        QTRY_COMPARE(again.codeExplorer().entries().size(), 5);
        // The panel's own close button counts as the menu entry does.
        again.codeExplorer().close();
        QVERIFY(!again.toolBars().action(ids::ID_CodeExplorer)->isChecked());
        QVERIFY(f.restart().codeExplorer().isHidden());
    }

    void followsTypingAndWindows() {
        FrameFixture f;
        MDIMain& m = start(f, QStringLiteral("one.pbp"));
        m.setCodeExplorerShown(true);
        CodeExplorer& x = m.codeExplorer();
        QTRY_COMPARE(x.entries().size(), 5);
        SourceView& v = f.view();
        v.SetFocus();
        v.MoveCaret(0, v.Document().NumLines() - 1);
        QTest::keyClicks(v.focusProxy(), "Again:");
        QTRY_COMPARE(names(x).last(), QStringLiteral("Again"));
        // A line added above moves the entries below it; only their tool tips say where they are, so
        // the rows are not told to show anything new. A name changed in place is.
        QSignalSpy told(x.findChild<QTreeView*>()->model(), &QAbstractItemModel::dataChanged);
        v.MoveCaret(0, 0);
        QTest::keyClick(v.focusProxy(), Qt::Key_Return);
        QTRY_COMPARE(x.entries().first().line, 2);
        QCOMPARE(told.count(), 0);
        v.MoveCaret(5, v.Document().NumLines() - 1);
        QTest::keyClicks(v.focusProxy(), "X");
        QTRY_COMPARE(names(x).last(), QStringLiteral("AgainX"));
        QVERIFY(!told.isEmpty());
        QCOMPARE(told.last().at(0).value<QModelIndex>().data().toString(), QStringLiteral("AgainX"));

        QVERIFY(m.openOrActivate(f.file(QStringLiteral("two.pbp"), "Other:\r\n")));
        QTRY_COMPARE(names(x), QStringList{"Other"});
        f.prompts.answer(Prompts::Answer::No); // one.pbp was edited: not saved
        m.mdiArea().closeAllSubWindows();
        QCOMPARE(m.editors().size(), 0);
        QTRY_VERIFY(x.entries().isEmpty());
    }

    // The first programs a user opens must compile: no shipped example names a label, variable,
    // constant or alias with a word its compiler reserves (a port name of any device included).
    void shippedExamplesUseNoReservedWords() {
        const QDir examples(testsupport::dataDir() + QStringLiteral("/examples"));
        const QStringList files = examples.entryList({"*.pbp", "*.pbc", "*.bas"}, QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString& file : files) {
            const bool pbpMode = !file.endsWith(QLatin1String(".pbc"), Qt::CaseInsensitive);
            StatementTable table;
            table.InitPBPCodes(pbpMode);
            QSet<QString> reserved;
            for (const KeywordAddition& a :
                 ReservedWords::buildKeywordLists(table, pbpMode, {8, 8, 8, 8, 8, 8, 8, 8, 8, 8}))
                reserved.insert(a.word.toUpper());
            FrameFixture f;
            f.start(examples.filePath(file)).setCodeExplorerShown(true);
            CodeExplorer& x = f.frame()->codeExplorer();
            QTRY_VERIFY(!x.entries().isEmpty());
            for (const outline::Entry& e : x.entries())
                QVERIFY2(e.group == outline::Group::Includes || !reserved.contains(e.name.toUpper()),
                         qPrintable(file + QStringLiteral(": ") + e.name));
        }
    }
};

QTEST_MAIN(tst_CodeExplorer)
#include "tst_CodeExplorer.moc"
