// What the user sees of the frame at a glance: where new windows open, tabs that stay readable with
// long paths, the unsaved-changes mark, the keys shown in the menus and the pop-ups over the code.
#include "support/FrameTest.h"

#include "platform/Colors.h"
#include "platform/FrameStyle.h"
#include "platform/WindowPlacement.h"
#include "shell/FrameLayout.h"
#include "shell/TaskTabBar.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextEdit>

namespace {

// Opens a file through File > Open as the user would.
void openThroughDialog(FrameFixture& f, const QString& path) {
    f.prompts.chooseFile(path);
    f.frame()->SSActiveToolBars1_ToolClick(QStringLiteral("ID_Open"));
}

// Every entry of the menu bar's menus, sub-menus included.
QList<QAction*> menuEntries(QMenu* menu) {
    QList<QAction*> out;
    for (QAction* a : menu->actions()) {
        if (a->menu())
            out << menuEntries(a->menu());
        else if (!a->isSeparator())
            out << a;
    }
    return out;
}

} // namespace

class tst_FrameLook : public QObject {
    Q_OBJECT
private slots:
    // With the program's style the frame starts without reading an image file: the first one read
    // makes Qt load every image format plugin of the system. Nor does it load a bold face of the
    // interface's font, which nothing at start is drawn with. (First in this program, before anything
    // else could load either.)
    void startReadsNoImageFile() {
#ifdef Q_OS_LINUX
        QApplication::setStyle(new FrameStyle(QApplication::style()->name()));
        FrameFixture f;
        f.start();
        QCoreApplication::processEvents();
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY2(!mapped.contains("/imageformats/"), "an image format plugin was loaded");
        const QFontInfo font(QApplication::font());
        QVERIFY2(mapped.contains(font.family().remove(u' ').toLatin1() + ".ttf"), "the font's file is unknown");
        QVERIFY2(!mapped.contains(font.family().remove(u' ').toLatin1() + "-Bold"), "a bold face was loaded");
#else
        QSKIP("Reads the process's mappings from /proc.");
#endif
    }

    // A file that cannot be written carries a sign on its tab, and the status bar says so while its
    // window is in front; made writable again, it loses both at the next look at the disk.
    void readOnlyFileIsMarked() {
        FrameFixture f;
        const QString locked = f.file(QStringLiteral("locked.pbp"), "HIGH 1\r\n");
        const QString open = f.file(QStringLiteral("open.pbp"), "LOW 1\r\n");
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                  QFileDevice::ReadOther));
        if (QFileInfo(locked).isWritable()) {
#ifdef Q_OS_WIN
            QFAIL("a read-only file reads as writable");
#else
            // Root writes through permissions: the case runs again as an ordinary user.
            QString log;
            QVERIFY2(
                testsupport::runCaseUnprivileged(QString::fromLatin1(QTest::currentTestFunction()), &log),
                qPrintable(log));
            return;
#endif
        }
        MDIMain& m = f.start(locked);
        openThroughDialog(f, open);
        auto& tabs = static_cast<TaskTabBar&>(m.TaskBar());
        const QWidget* panel = m.findChild<QWidget*>(QStringLiteral("ReadOnlyPanel"));
        m.show();
        QCOMPARE(tabs.count(), 2);
        QVERIFY2(tabs.shownText(0).endsWith(TaskTabBar::readOnlySign()), qPrintable(tabs.shownText(0)));
        QVERIFY(tabs.tabToolTip(0).startsWith(tabs.tabText(0) + u'\n'));
        QVERIFY(!tabs.shownText(1).endsWith(TaskTabBar::readOnlySign()));
        QVERIFY(!panel->isVisible());
        m.mdiArea().setActiveSubWindow(m.editors().first());
        QVERIFY(panel->isVisible());

        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        m.checkDocumentsOnDisk();
        QVERIFY(!tabs.tabReadOnly(0));
        QCOMPARE(tabs.tabToolTip(0), tabs.tabText(0));
        QVERIFY(!panel->isVisible());
    }

    void cleanup() {
        QApplication::setPalette(QPalette());
    }

    void placement_data() {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("stored"); // null: none
        QTest::addColumn<QMargins>("decoration");
        QTest::addColumn<QRect>("expected");
        const QList<QRect> one{QRect(0, 0, 1600, 1000)}, two{one[0], QRect(1600, 0, 1920, 1080)};
        const QRect frame(100, 100, 800, 600), none;
        // clang-format off
        QTest::newRow("centred on the frame") << one << frame << none << QMargins() << QRect(180, 250, 640, 300);
        QTest::newRow("frame in the corner: kept on the screen") << QList<QRect>{QRect(0, 0, 1000, 1000)} << QRect(600, 700, 800, 600) << none << QMargins() << QRect(360, 700, 640, 300);
        QTest::newRow("the frame's screen") << two << QRect(1700, 100, 800, 600) << none << QMargins() << QRect(1780, 250, 640, 300);
        QTest::newRow("stored, moved wholly onto its screen") << one << frame << QRect(1500, 900, 640, 300) << QMargins() << QRect(960, 700, 640, 300);
        QTest::newRow("stored off every screen: not used") << two << frame << QRect(5000, 5000, 640, 300) << QMargins() << QRect(180, 250, 640, 300);
        QTest::newRow("stored with its title bar") << one << QRect(0, 0, 800, 600) << QRect(100, 900, 640, 300) << QMargins(4, 30, 4, 4) << QRect(100, 696, 640, 300);
        QTest::newRow("taller than the screen: shrunk") << QList<QRect>{QRect(0, 0, 1000, 250)} << QRect(0, 0, 800, 200) << none << QMargins() << QRect(80, 0, 640, 250);
        // clang-format on
    }
    void placement() {
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, frame);
        QFETCH(QRect, stored);
        QFETCH(QMargins, decoration);
        QFETCH(QRect, expected);
        const std::optional<QRect> s = stored.isNull() ? std::nullopt : std::optional<QRect>(stored);
        QCOMPARE(placement::placeWindow(screens, frame, QSize(640, 300), s, decoration), expected);
    }

    // Tabs keep the full path as their text, are drawn shortened, and three long paths fit.
    void longPathsFitTheTabStrip() {
        FrameFixture f;
        QStringList paths;
        for (const char* name : {"main_program_one.pbp", "second_program.pbp", "third.pbp"})
            paths << f.file(QStringLiteral("a rather long folder name/projects for the board/firmware/") +
                            QLatin1String(name));
        MDIMain& m = f.start(paths[0]);
        openThroughDialog(f, paths[1]);
        openThroughDialog(f, paths[2]);
        m.resize(1024, 700);
        m.show();
        QTabBar& tabs = m.TaskBar();
        QCOMPARE(tabs.count(), 3);
        for (int i = 0; i < 3; ++i) {
            // The caption is the path as it came (the command line's may mix separators on Windows).
            QCOMPARE(QDir::toNativeSeparators(tabs.tabText(i)), QDir::toNativeSeparators(paths[i]));
            const QString name = QFileInfo(paths[i]).fileName();
            const QString shown = static_cast<TaskTabBar&>(tabs).shownText(i);
            QVERIFY2((shown.endsWith(u'/' + name) || shown.endsWith(u'\\' + name)) &&
                         shown.size() < tabs.tabText(i).size(),
                     qPrintable(shown));
        }
        QVERIFY2(tabs.tabRect(2).right() < 1024, qPrintable(QString::number(tabs.tabRect(2).right())));
    }

    void shortenedPath_data() {
        QTest::addColumn<int>("chars"); // room, in widths of "x"
        QTest::addColumn<QString>("shape");
        QTest::newRow("fits") << 40 << "^/home/ann/blink\\.pbp$";
        QTest::newRow("folder cut") << 15 << "^/h[^/]*\u2026/blink\\.pbp$";
        QTest::newRow("name only, cut") << 5 << "^b[^/]*\u2026[^/]*p$";
    }
    void shortenedPath() {
        QFETCH(int, chars);
        QFETCH(QString, shape);
        QFont font(QStringLiteral("Monospace"));
        font.setStyleHint(QFont::TypeWriter);
        const QFontMetrics fm(font);
        const int room = chars * fm.horizontalAdvance(u'x');
        const QString path = QStringLiteral("/home/ann/blink.pbp");
        const QString shown = TaskTabBar::elidePath(path, fm, room);
        QVERIFY2(QRegularExpression(shape).match(shown).hasMatch(), qPrintable(shown));
        QVERIFY(fm.horizontalAdvance(shown) <= room);
        // A cut folder keeps as much of its start as fits.
        const qsizetype cut = shown.indexOf(u'\u2026');
        if (cut > 0 && shown.endsWith(QStringLiteral("/blink.pbp")))
            QVERIFY(fm.horizontalAdvance(path.left(cut + 1) + shown.mid(cut)) > room);
    }

    // A change marks the tab and the Window-menu entry, the strip keeping its height; undoing back to
    // the saved text clears it.
    void unsavedChangesAreMarked() {
        FrameFixture f;
        const QString other = f.file(QStringLiteral("other.pbp"));
        MDIMain& m = f.startWith(QStringLiteral("prog.pbp"), "x\r\n");
        openThroughDialog(f, other);
        frmEditor* second = f.active();
        QTabBar& tabs = m.TaskBar();
        const auto marked = [&](frmEditor* w) {
            bool tab = false;
            for (int i = 0; i < tabs.count(); ++i)
                if (tabs.tabText(i) == w->caption())
                    tab = !tabs.tabIcon(i).isNull();
            const bool entry = !m.toolBars().action(w->Tag)->icon().isNull();
            return QStringLiteral("%1%2").arg(tab ? 'T' : '-').arg(entry ? 'W' : '-');
        };
        QCOMPARE(marked(second), QStringLiteral("--"));
        const QString caption = second->caption();
        const int height = tabs.sizeHint().height();
        f.view().Document().InsertImpl(0, 0, QStringLiteral("changed"));
        QCOMPARE(marked(second), QStringLiteral("TW"));
        QCOMPARE(tabs.sizeHint().height(), height); // the windows below stay where they are
        QCOMPARE(second->caption(), caption);
        for (frmEditor* w : m.editors())
            if (w != second)
                QCOMPARE(marked(w), QStringLiteral("--"));
        f.view().Undo();
        QCOMPARE(marked(second), QStringLiteral("--"));
        f.view().Document().InsertImpl(0, 0, QStringLiteral("again"));
        m.SSActiveToolBars1_ToolClick(QStringLiteral("ID_Save"));
        QCOMPARE(marked(second), QStringLiteral("--"));
    }

    // The menus show the keys the commands answer to.
    void menuKeys() {
        FrameFixture f;
        MDIMain& m = f.start();
        QList<QAction*> entries;
        for (QAction* title : m.toolBars().menuBar()->actions())
            if (title->menu())
                entries << menuEntries(title->menu());
        const QString keys = QStringLiteral(
            "ID_New=Ctrl+N ID_Open=Ctrl+O ID_Save=Ctrl+S ID_SaveAs=Ctrl+Shift+S ID_Undo=Ctrl+Z "
            "ID_Redo=Ctrl+Y ID_Find=Ctrl+F ID_FindNext=F3 ID_GotoLine=Ctrl+G ID_NBook=F2 ID_ZoomIn=Ctrl++ "
            "ID_ZoomOut=Ctrl+- ID_ZoomReset=Ctrl+0 ID_Compile=F5 ID_StatementHelp=F1 ID_Simulate=Ctrl+F5 "
            "ID_StopSimulation=Shift+F5");
        for (const QString& row : keys.split(u' ')) {
            QAction* a = m.toolBars().action(row.section(u'=', 0, 0));
            QVERIFY2(entries.contains(a), qPrintable(row));
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), row.section(u'=', 1));
        }
    }

    // A key the editor takes runs its command once; Ctrl+Shift+S reaches Save As from the editor.
    void keysFromTheEditor() {
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("prog.pbp"), "x\r\n");
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        QWidget* keys = f.view().focusProxy();
        keys->setFocus();
        QStringList clicked;
        connect(&m.toolBars(), &ActiveToolBars::ToolClick, this, [&](const QString& id) { clicked << id; });
        f.view().Document().InsertImpl(0, 0, QStringLiteral("a"));
        QVERIFY(m.toolBars().Enabled(ids::ID_Undo));
        for (const ToolKey& k : editorKeys())
            if (k.id == ids::ID_Undo)
                QTest::keySequence(keys, k.key);
        QCOMPARE(clicked, QStringList{});
        QVERIFY(!f.doc().Modified());
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(clicked, QStringList{QStringLiteral("ID_SaveAs")});
        QCOMPARE(f.prompts.last().kind, QStringLiteral("save"));
    }

    // The window keys, sent to the editor in front of three windows (the third in front): the tab they
    // end on, round the ends; no Tab is typed into the text.
    void windowKeys() {
        FrameFixture f;
        MDIMain& m = f.start(f.file(QStringLiteral("a.pbp"), "a\n"));
        openThroughDialog(f, f.file(QStringLiteral("b.pbp"), "b\n"));
        openThroughDialog(f, f.file(QStringLiteral("c.pbp"), "c\n"));
        frmEditor* third = f.active();
        m.show();
        QVERIFY(QTest::qWaitForWindowActive(&m));
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier,
                                    shift = Qt::ControlModifier | Qt::ShiftModifier;
        const struct {
            const char* name;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int presses, tab;
        } rows[] = {{"Ctrl+F6: next, round to the first", Qt::Key_F6, ctrl, 1, 0},
                    {"Ctrl+F6 twice", Qt::Key_F6, ctrl, 2, 1},
                    {"Ctrl+Tab", Qt::Key_Tab, ctrl, 1, 0},
                    {"Ctrl+PgDn", Qt::Key_PageDown, ctrl, 1, 0},
                    {"Ctrl+Shift+F6: previous", Qt::Key_F6, shift, 1, 1},
                    {"Ctrl+Shift+Tab", Qt::Key_Backtab, shift, 1, 1},
                    {"Ctrl+PgUp four times: round", Qt::Key_PageUp, ctrl, 4, 1}};
        for (const auto& r : rows) {
            m.mdiArea().setActiveSubWindow(third);
            for (int i = 0; i < r.presses; ++i) {
                QWidget* keys = f.view().focusProxy();
                keys->setFocus();
                QTest::keyClick(keys, r.key, r.modifiers);
            }
            const int tab = m.TaskBar().currentIndex();
            QVERIFY2(tab == r.tab && f.active()->caption() == m.TaskBar().tabText(tab), r.name);
            QVERIFY2(f.doc().GetLine(0).size() == 1, r.name);
        }
    }

    // Cascade: every window two thirds of the area, each a title bar further on, all inside the area,
    // the active one still in front; a small area starts again at the corner.
    void cascade_data() {
        QTest::addColumn<QSize>("frame");
        QTest::newRow("large") << QSize(1000, 700);
        QTest::newRow("small") << QSize(420, 330);
    }
    void cascade() {
        QFETCH(QSize, frame);
        FrameFixture f;
        MDIMain& m = f.start(f.file(QStringLiteral("a.pbp")));
        for (const char* name : {"b.pbp", "c.pbp", "d.pbp"})
            openThroughDialog(f, f.file(QString::fromLatin1(name)));
        m.resize(frame);
        m.show();
        frmEditor* front = f.active();
        m.toolBars().Click(ids::ID_Cascade);
        const QRect area = m.mdiArea().viewport()->rect();
        QList<QMdiSubWindow*> windows = m.mdiArea().subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(windows.last(), front);
        QCOMPARE(f.active(), front);
        QPoint previous(-1, -1);
        for (QMdiSubWindow* w : windows) {
            QVERIFY(!w->isMaximized());
            // The title bar, cut at its end in a small window, starts with the file's name.
            const QString path = static_cast<frmEditor*>(w)->caption();
            QVERIFY2(w->windowTitle().startsWith(QFileInfo(path).fileName() + u' '), qPrintable(path));
            QCOMPARE(w->size(), QSize(area.width() * 2 / 3, area.height() * 2 / 3));
            QVERIFY(area.contains(w->geometry()));
            // Each further on by a title bar, or back at the corner.
            QVERIFY(w->pos() == QPoint(0, 0) || (w->x() > previous.x() && w->y() >= previous.y() + 15));
            previous = w->pos();
        }
    }

    void popupColours_data() {
        QTest::addColumn<QColor>("code");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(Qt::white) << QColor(Qt::black);
        QTest::newRow("light grey") << QColor(240, 240, 240) << QColor(30, 30, 30);
        QTest::newRow("dark") << QColor(30, 30, 30) << QColor(220, 220, 220);
        QTest::newRow("dark, dim text") << QColor(45, 45, 48) << QColor(110, 110, 110);
        QTest::newRow("black") << QColor(Qt::black) << QColor(Qt::white);
    }
    // The pop-up list and the syntax line stand apart from the code and their text reads.
    void popupColours() {
        QFETCH(QColor, code);
        QFETCH(QColor, text);
        const colors::PopupColors c = colors::popupColors(code, text);
        QVERIFY2(colors::contrast(c.text, c.background) >= 4.5,
                 qPrintable(c.text.name() + c.background.name()));
        QVERIFY(c.background != code && colors::contrast(c.background, code) >= 1.1);
        QVERIFY(colors::contrast(c.border, c.background) >= 1.5);

        FrameFixture f;
        QPalette pal = QApplication::palette();
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
            pal.setColor(role, code);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            pal.setColor(role, text);
        QApplication::setPalette(pal);
        f.start();
        for (QWidget* popup : {static_cast<QWidget*>(&f.active()->List1()),
                               static_cast<QWidget*>(&f.active()->SyntaxHelp())}) {
            QCOMPARE(popup->palette().color(QPalette::Base), c.background);
            QCOMPARE(popup->palette().color(QPalette::Text), c.text);
            QVERIFY(static_cast<QFrame*>(popup)->frameWidth() > 0);
        }
        // A background chosen later is followed the next time the list shows.
        const QColor other = colors::isDark(code) ? QColor(Qt::white) : QColor(Qt::black);
        f.active()->View().SetTextBackColor(colors::fromQColor(other));
        f.active()->ShowQuickList(0);
        QCOMPARE(f.active()->List1().palette().color(QPalette::Base),
                 colors::popupColors(other, text).background);
    }
};

QTEST_MAIN(tst_FrameLook)
#include "tst_FrameLook.moc"
