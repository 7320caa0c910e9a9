#include <QTest>

#include "editor/frmEditor.h"
#include "platform/Prompts.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/CodeExplorer.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QMdiArea>
#include <QTreeView>

// The code explorer panel in a real frame: what it lists, jumping, following edits and windows, and
// its place in the View menu and the settings.
class tst_CodeExplorer : public QObject {
    Q_OBJECT

    static QStringList names(const CodeExplorer& x) {
        QStringList out;
        for (const outline::Entry& e : x.entries())
            out << e.name;
        return out;
    }
    static QString program(FrameFixture& f, const QString& name, const QByteArray& text) {
        const QString p = f.path(name);
        testsupport::writeFile(p, text);
        return p;
    }
    // The index of the entry named `name` in the tree.
    static QModelIndex find(CodeExplorer& x, const QString& name) {
        QAbstractItemModel* model = x.tree().model();
        for (int g = 0; g < model->rowCount(); ++g) {
            const QModelIndex group = model->index(g, 0);
            for (int r = 0; r < model->rowCount(group); ++r)
                if (model->index(r, 0, group).data().toString() == name)
                    return model->index(r, 0, group);
        }
        return {};
    }

    // Nothing on the first line, where the caret starts: the open scan alone marks the rest.
    const QByteArray text = "' blink\r\nINCLUDE \"modedefs.bas\"\r\nled VAR PORTB.0\r\ncount VAR BYTE\r\n"
                            "MAXV CON 10\r\nMain:\r\n  HIGH led\r\n  GOTO Main\r\n";

private slots:
    void listsAndJumps_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<int>("line");
        QTest::newRow("click a label") << "Main" << false << 5;
        QTest::newRow("Enter on a constant") << "MAXV" << true << 4;
        QTest::newRow("click an include") << "modedefs.bas" << false << 1;
    }
    void listsAndJumps() {
        QFETCH(QString, entry);
        QFETCH(bool, byKey);
        QFETCH(int, line);
        FrameFixture f;
        MDIMain& m = f.start(program(f, QStringLiteral("prog.pbp"), text));
        m.show();
        m.toolBars().Click(ids::ID_CodeExplorer);
        CodeExplorer& x = m.codeExplorer();
        QTRY_COMPARE(names(x), (QStringList{"modedefs.bas", "led", "count", "MAXV", "Main"}));
        QCOMPARE(x.entries().at(2).detail, QStringLiteral("BYTE"));
        QCOMPARE(x.entries().at(1).group, outline::Group::Aliases);

        const QModelIndex at = find(x, entry);
        QVERIFY(at.isValid());
        x.tree().scrollTo(at);
        if (byKey) {
            x.tree().setFocus();
            x.tree().setCurrentIndex(at);
            QTest::keyClick(&x.tree(), Qt::Key_Return);
        } else {
            QTest::mouseClick(x.tree().viewport(), Qt::LeftButton, {}, x.tree().visualRect(at).center());
        }
        SourceView& v = f.active()->View();
        QCOMPARE(v.CaretY(), line);
        QCOMPARE(v.CaretX(), 0);
        QTRY_VERIFY(v.focusProxy()->hasFocus());
    }

    void followsTypingAndWindows() {
        FrameFixture f;
        MDIMain& m = f.start(program(f, QStringLiteral("one.pbp"), text));
        m.show();
        m.setCodeExplorerShown(true);
        CodeExplorer& x = m.codeExplorer();
        QTRY_COMPARE(x.entries().size(), 5);

        // A label typed at the end appears once the caret has left its line, like the label combo's.
        SourceView& v = f.active()->View();
        v.SetFocus();
        v.MoveCaret(0, v.Document().NumLines() - 1);
        QTest::keyClicks(v.focusProxy(), "Again:");
        QTest::keyClick(v.focusProxy(), Qt::Key_Return);
        QTRY_COMPARE(names(x).last(), QStringLiteral("Again"));
        // A line added above moves the entries below it.
        v.MoveCaret(0, 0);
        QTest::keyClick(v.focusProxy(), Qt::Key_Return);
        QTRY_COMPARE(x.entries().first().line, 2);

        // Another window lists its own document; closing the last lists nothing.
        QVERIFY(m.openOrActivate(program(f, QStringLiteral("two.pbp"), "Other:\r\n")));
        QTRY_COMPARE(names(x), QStringList{"Other"});
        f.prompts.answer(Prompts::Answer::No); // the edited one.pbp is not saved
        m.mdiArea().closeAllSubWindows();
        QCOMPARE(m.editors().size(), 0);
        QTRY_VERIFY(x.entries().isEmpty());
    }

    void menuAndSettings() {
        FrameFixture f;
        MDIMain& m = f.start(program(f, QStringLiteral("prog.pbp"), text));
        m.show();
        QAction* entry = m.toolBars().action(ids::ID_CodeExplorer);
        // Off until asked for.
        QVERIFY(m.codeExplorer().isHidden());
        QVERIFY(!entry->isChecked());
        m.toolBars().Click(ids::ID_CodeExplorer);
        QVERIFY(!m.codeExplorer().isHidden());
        QVERIFY(entry->isChecked());
        QCOMPARE(f.store().read(settings::view::CodeExplorer), QStringLiteral("1"));
        m.addDockWidget(Qt::RightDockWidgetArea, &m.codeExplorer());
        QCOMPARE(f.store().read(settings::view::CodeExplorerSide), QStringLiteral("Right"));

        MDIMain& again = f.restart(f.path(QStringLiteral("prog.pbp")));
        QVERIFY(!again.codeExplorer().isHidden());
        QVERIFY(again.toolBars().action(ids::ID_CodeExplorer)->isChecked());
        QCOMPARE(again.dockWidgetArea(&again.codeExplorer()), Qt::RightDockWidgetArea);
        QTRY_COMPARE(again.codeExplorer().entries().size(), 5);
        // The panel's own close button hides it for good, like the menu entry.
        again.codeExplorer().close();
        QVERIFY(!again.toolBars().action(ids::ID_CodeExplorer)->isChecked());
        QCOMPARE(f.store().read(settings::view::CodeExplorer), QStringLiteral("0"));
        QVERIFY(f.restart().codeExplorer().isHidden());
    }
};

QTEST_MAIN(tst_CodeExplorer)
#include "tst_CodeExplorer.moc"
