// What the frame shows always belongs to the window in front: every document tool, the caret and
// statement panels and the label combo, through switches of windows, the terminal, closing, New, Open
// and compiling.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

#include "dialogs/frmAbout.h"
#include "dialogs/frmGotoLine.h"
#include "dialogs/frmScan.h"
#include "platform/sourceview/FindReplaceDialog.h"
#include "shell/EditActions.h"
#include "support/FrameTest.h"
#include "terminal/frmComm.h"
#include "toolchain/frmCompile.h"
#include "toolchain/frmProgrammer.h"

namespace {

// A document with nothing selected, nothing to undo, no bookmark and no error mark, and text on the
// clipboard: the tools it enables.
const QStringList documentBase = {
    "ID_Close",           "ID_Save",        "ID_SaveAs",          "ID_ReopenEncoding", "ID_SaveEncoding",
    "ID_Print",           "ID_Paste",       "ID_SelectAll",       "ID_SelectLine",     "ID_SelectWord",
    "ID_BackgroundColor", "ID_Find",        "ID_FindNext",        "ID_Replace",        "ID_GotoLine",
    "ID_TBook",           "ID_Indent",      "ID_Outdent",         "ID_Compile",        "ID_Simulate",
    "ID_NoMargin",        "ID_FixedMargin", "ID_ScrollingMargin", "ID_Device",         "ID_GotoLabel"};

QByteArray program(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

// The frame's picture: the active window's file name (or "Debug", or "-"), panels 1 and 2, the selected
// label, and the document tools enabled beyond (+) or missing from (-) the base set, or "none".
QString picture(MDIMain& m) {
    QMdiSubWindow* active = m.mdiArea().currentSubWindow();
    QString who = QStringLiteral("-");
    if (qobject_cast<frmComm*>(active))
        who = QStringLiteral("Debug");
    else if (auto* w = qobject_cast<frmEditor*>(active))
        who = QFileInfo(w->caption()).fileName();
    QStringList on;
    for (const QString* id : EditActions::documentTools())
        if (m.toolBars().Enabled(*id))
            on << *id;
    QStringList delta;
    if (on.isEmpty()) {
        delta << QStringLiteral("none");
    } else {
        for (const QString& id : on)
            if (!documentBase.contains(id))
                delta << u'+' + id.mid(3);
        for (const QString& id : documentBase)
            if (!on.contains(id))
                delta << u'-' + id.mid(3);
    }
    return QStringList{who, m.PanelText(1), m.PanelText(2), m.toolBars().Text(ids::ID_GotoLabel),
                       delta.join(u' ')}
        .join(QStringLiteral(" | "));
}

// The access key of a caption ("Cu&t" gives T), or none.
QChar accessKey(const QString& text) {
    for (int at = int(text.indexOf(u'&')); at >= 0 && at + 1 < text.size();
         at = int(text.indexOf(u'&', at + 2)))
        if (text.at(at + 1) != u'&')
            return text.at(at + 1).toUpper();
    return {};
}

// The captions sharing a key within one group ("Edit: &Copy / &Clear Bookmark"), or nothing.
QStringList clashes(const QString& group, const QStringList& captions) {
    QHash<QChar, QString> seen;
    QStringList found;
    for (const QString& c : captions)
        if (const QChar k = accessKey(c); !k.isNull()) {
            if (seen.contains(k))
                found << group + QStringLiteral(": ") + seen[k] + QStringLiteral(" / ") + c;
            seen[k] = c;
        }
    return found;
}

void walkMenu(QMenu* menu, QStringList& found) {
    QStringList captions;
    for (QAction* a : menu->actions()) {
        captions << a->text();
        if (a->menu())
            walkMenu(a->menu(), found);
    }
    found << clashes(menu->title().isEmpty() ? menu->objectName() : menu->title(), captions);
}

QStringList dialogCaptions(QWidget& dialog) {
    QStringList captions;
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        captions << b->text();
    for (QLabel* l : dialog.findChildren<QLabel*>())
        captions << l->text();
    for (QGroupBox* g : dialog.findChildren<QGroupBox*>())
        captions << g->title();
    return captions;
}

// The labels without an access key or a field to take the focus, and the check boxes and option
// buttons without a key.
QStringList withoutKeys(QWidget& dialog) {
    QStringList found;
    for (QLabel* l : dialog.findChildren<QLabel*>()) {
        const QWidget* field = l->buddy();
        while (field && field->focusProxy())
            field = field->focusProxy();
        if (!l->text().isEmpty() &&
            (accessKey(l->text()).isNull() || !field || field->focusPolicy() == Qt::NoFocus))
            found << l->text();
    }
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        if (b->isCheckable() && accessKey(b->text()).isNull())
            found << b->text();
    return found;
}

} // namespace

class tst_FrameState : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::clipboard()->setText(QStringLiteral("HIGH 2")); }

    // Each row starts from main.pbp (caret on line 13) and inc.bas (caret in PAUSE on line 3) open,
    // inc.bas in front, and runs its steps; a step that names no action clicks the tool it names.
    void followsTheActiveWindow_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected");
        const QString inc =
            QStringLiteral("inc.bas | Line:  3 Col: 4 | statement PAUSE | blink | +TokenColor");
        const QString main = QStringLiteral("main.pbp | Line:  13 Col: 1 |  | finish | +TokenColor");
        const QString extra = QStringLiteral("extra.bas | Line:  1 Col: 1 |  | other | +TokenColor");
        const QString debug = QStringLiteral("Debug |  |  |  | none");
        const QString marked = QStringLiteral("main.pbp | Line:  13 Col: 1 |  Bad. | finish | +TokenColor "
                                              "+ClearError +NextError +PreviousError +ClearAllErrors");
        const QList<std::pair<const char*, QString>> rows{
            {"", inc},
            {"activate main.pbp", main},
            {"tab main.pbp", main},
            {"ID_Debug", debug},
            {"ID_Debug; activate inc.bas", inc},
            {"ID_Close; ID_Close", "- |  |  |  | none"},
            {"open extra.bas; activate main.pbp; ID_Close", inc},  // hands over to its neighbour
            {"open extra.bas; activate inc.bas; ID_Close", extra}, // the middle one, to the right
            {"open extra.bas; ID_Close", inc},                     // the last one, to the left
            {"ID_New", "Untitled1.pbp | Line:  1 Col: 1 |  |  | "},
            {"open extra.bas", extra},
            {"activate main.pbp; ID_Close; ID_Debug; activate inc.bas; ID_Close", debug},
            {"type X; select", "inc.bas | Line:  3 Col: 5 |  | blink | +Undo +Cut +Copy +TokenColor"},
            {"type X; activate main.pbp", main},
            // Token Color follows the token at the caret, moved by the keys or the mouse, per window.
            {"activate main.pbp; caret 0 1; key Up", "main.pbp | Line:  1 Col: 1 |  |  | +TokenColor"},
            {"activate main.pbp; key Up",
             "main.pbp | Line:  12 Col: 1 | Make pin output low. | finish | +TokenColor"},
            {"activate main.pbp; key Up; key Down", main},
            {"caret 5 2", "inc.bas | Line:  3 Col: 6 | statement PAUSE | blink | +TokenColor"},
            {"activate main.pbp; caret 0 1; activate inc.bas; activate main.pbp",
             "main.pbp | Line:  2 Col: 1 |  | start | +TokenColor"},
            {"ID_TBook", inc + QStringLiteral(" +NBook +PBook +CBook")},
            {"ID_TBook; activate main.pbp", main},
            {"activate main.pbp; compile; caret 0 12", marked},
            {"activate main.pbp; compile; activate inc.bas; activate main.pbp; caret 0 12", marked},
            {"activate main.pbp; compile; activate inc.bas", inc},
            {"activate main.pbp; compile; caret 0 12; ID_ClearError",
             main + QStringLiteral(" +NextError +PreviousError +ClearAllErrors")},
            {"activate main.pbp; compile; caret 0 12; ID_ClearAllErrors", main},
        };
        for (const auto& [steps, expected] : rows)
            QTest::newRow(*steps ? steps : "as opened")
                << QString::fromLatin1(steps).split(QStringLiteral("; "), Qt::SkipEmptyParts) << expected;
    }
    void followsTheActiveWindow() {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        FrameFixture f;
        f.store().save(settings::startup::CompilerPathName,
                       QDir::toNativeSeparators(testsupport::writeCompiler(
                           f.dir.filePath(QStringLiteral("pbpw")),
                           {"ERROR Line 3: Worse.", "ERROR Line 13: Bad.", "EXIT 1"})));
        QStringList mainLines{"' the main program", "start:"};
        for (int i = 2; i < 10; ++i)
            mainLines << QStringLiteral("HIGH %1").arg(i);
        mainLines << "finish:"
                  << "LOW 1"
                  << "B0 = 1"
                  << "GOTO start";
        const QString main = f.file(QStringLiteral("main.pbp"), program(mainLines));
        const QString inc =
            f.file(QStringLiteral("inc.bas"), program({"blink:", "TOGGLE 1", "PAUSE 500", "RETURN"}));
        f.file(QStringLiteral("extra.bas"), program({"other:", "RETURN"}));
        MDIMain& m = f.start(main);
        auto window = [&m](const QString& name) -> frmEditor* {
            for (frmEditor* w : m.editors())
                if (QFileInfo(w->caption()).fileName() == name)
                    return w;
            return nullptr;
        };
        auto open = [&](const QString& path) {
            f.prompts.chooseFile(path);
            m.SSActiveToolBars1_ToolClick(ids::ID_Open);
        };
        f.view().MoveCaret(0, 12);
        open(inc);
        f.view().MoveCaret(3, 2);

        for (const QString& step : steps) {
            const QString arg = step.section(u' ', 1);
            if (step.startsWith(QLatin1String("activate "))) {
                m.mdiArea().setActiveSubWindow(window(arg));
            } else if (step.startsWith(QLatin1String("tab "))) {
                for (int i = 0; i < m.TaskBar().count(); ++i)
                    if (m.TaskBar().tabText(i).endsWith(arg))
                        m.TaskBar().setCurrentIndex(i), m.TaskBar_Click();
            } else if (step.startsWith(QLatin1String("open "))) {
                open(f.path(arg));
            } else if (step.startsWith(QLatin1String("type "))) {
                QTest::keyClicks(f.view().focusProxy(), arg);
            } else if (step.startsWith(QLatin1String("key "))) {
                QTest::keyClick(f.view().focusProxy(),
                                arg == QLatin1String("Up") ? Qt::Key_Up : Qt::Key_Down);
            } else if (step == QLatin1String("select")) {
                f.view().SetSel(0, f.view().CaretY(), 4, f.view().CaretY());
            } else if (step.startsWith(QLatin1String("caret "))) {
                f.view().MoveCaret(step.section(u' ', 1, 1).toInt(), step.section(u' ', 2, 2).toInt());
            } else if (step == QLatin1String("compile")) {
                frmEditor* w = m.activeEditor();
                w->CheckFile().setInterval(20);
                m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
                QVERIFY(
                    QTest::qWaitFor([w] { return w->lastCapture() && !w->CheckFile().isActive(); }, 20000));
                m.mdiArea().setActiveSubWindow(w);
            } else {
                m.SSActiveToolBars1_ToolClick(step);
            }
        }
        QString want = expected;
        want.replace(
            QStringLiteral("statement PAUSE"),
            m.state().PBPCodes.description(m.state().PBPCodes.findStatement(QStringLiteral("PAUSE"))));
        QCOMPARE(picture(m), want);
        QCOMPARE(f.prompts.messages(), QStringList());
    }

    // Every menu, the Edit pop-up, every dialog and the terminal give each entry its own access key; the
    // toolbar combos' captions take keys the menu bar does not.
    void accessKeysAreUnique() {
        FrameFixture f;
        MDIMain& m = f.start();
        QStringList found;
        QStringList bar;
        for (QAction* a : m.menuBar()->actions()) {
            bar << a->text();
            if (a->menu())
                walkMenu(a->menu(), found);
        }
        found << clashes(QStringLiteral("menu bar"), bar);
        walkMenu(m.toolBars().menu(ids::ID_Edit), found);
        for (const QString* combo : {&ids::ID_Device, &ids::ID_GotoLabel})
            found << clashes(QStringLiteral("menu bar"), bar + QStringList{m.toolBars().Caption(*combo)});
        f.view().Replace();
        std::unique_ptr<QWidget> dialogs[] = {
            std::make_unique<frmCompile>(m), std::make_unique<frmProgrammer>(m),
            std::make_unique<frmGotoLine>(m), std::make_unique<frmAbout>(m.state().prompts),
            std::make_unique<frmScan>()};
        for (const auto& d : dialogs)
            found << clashes(QString::fromLatin1(d->metaObject()->className()), dialogCaptions(*d));
        auto* replace = f.view().findChild<FindReplaceDialog*>();
        found << clashes(QStringLiteral("Replace"), dialogCaptions(*replace));
        for (QWidget* d : {dialogs[0].get(), dialogs[1].get(), static_cast<QWidget*>(replace)})
            found << withoutKeys(*d);
        QCOMPARE(found, QStringList());
        // The Find and Replace fields line up.
        const QList<QLineEdit*> fields = replace->findChildren<QLineEdit*>();
        QCOMPARE(fields.size(), 2);
        replace->adjustSize();
        QCOMPARE(fields[0]->mapTo(replace, QPoint()).x(), fields[1]->mapTo(replace, QPoint()).x());
        QCOMPARE(fields[0]->width(), fields[1]->width());
        QCOMPARE(accessKey(m.toolBars().Caption(ids::ID_GotoLabel)), u'L');
        // The terminal's labels take keys no menu of the frame takes, each its own.
        m.SSActiveToolBars1_ToolClick(ids::ID_Debug);
        QStringList labels;
        for (QLabel* l : m.terminalWindow()->findChildren<QLabel*>())
            if (!accessKey(l->text()).isNull())
                labels << l->text();
        QVERIFY2(labels.size() >= 6, qPrintable(labels.join(u',')));
        QCOMPARE(clashes(QStringLiteral("terminal"), bar + labels), QStringList());
    }

    // A search that wraps says so on the status bar for a while; panels 1 and 2 stay the binder's.
    void wrappedSearchIsSaid() {
        FrameFixture f;
        MDIMain& m = f.start(f.file(QStringLiteral("a.pbp"), "HIGH 1\r\nHIGH 2\r\n"));
        f.view().MoveCaret(0, 1);
        QVERIFY(f.view().FindText(QStringLiteral("HIGH"), false, false, true));
        QCOMPARE(m.statusBar()->currentMessage(), QString());
        QTest::keyClick(f.view().focusProxy(), Qt::Key_F3);
        QCOMPARE(m.statusBar()->currentMessage(), QStringLiteral("Search wrapped to the top"));
        QCOMPARE(m.PanelText(1), QStringLiteral("Line:  1 Col: 5"));
    }

    // Escape in a toolbar combo goes back to the text.
    void escapeLeavesTheCombos() {
        FrameFixture f;
        MDIMain& m = f.start();
        for (const QString* id : {&ids::ID_Device, &ids::ID_GotoLabel}) {
            QComboBox* combo = m.toolBars().combo(*id);
            m.activateWindow();
            combo->setFocus();
            QVERIFY(QTest::qWaitFor([combo] { return combo->hasFocus(); }));
            QTest::keyClick(combo, Qt::Key_Escape);
            QVERIFY2(f.view().hasFocus() || f.view().focusProxy()->hasFocus(), qPrintable(*id));
        }
    }
};

QTEST_MAIN(tst_FrameState)
#include "tst_FrameState.moc"
