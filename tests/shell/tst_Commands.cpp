#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include "dialogs/frmGotoLine.h"

#include "editor/frmEditor.h"
#include "platform/Colors.h"
#include "platform/HelpViewer.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/SettingsKeys.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

class tst_Commands : public QObject {
    Q_OBJECT
private:
    static void click(MDIMain& m, const QString& id) { m.SSActiveToolBars1_ToolClick(id); }
    static QString file(FrameFixture& f, const QString& name, const QByteArray& text = "x\n") {
        const QString p = f.path(name);
        testsupport::writeFile(p, text);
        return p;
    }
    static QStringList windowEntries(MDIMain& m) { return m.toolBars().ToolIds(ids::ID_Window).mid(4); }
    // The window count as the frame keeps it, shows it and lists it in the tab bar.
    static void expectWindows(MDIMain& m, int count) {
        QCOMPARE(m.editors().size(), count);
        QCOMPARE(m.OpenDocCount, qint16(count));
        QCOMPARE(m.toolBars().Caption(ids::ID_OpenDocs), QStringLiteral("Files: %1").arg(count));
        QCOMPARE(m.TaskBar().count(), count);
    }

private slots:
    void openShiftsTheRecentList() {
        FrameFixture f;
        MDIMain& m = f.start();
        QStringList paths;
        for (int i = 1; i <= 2; ++i) {
            paths << file(f, QStringLiteral("p%1.pbp").arg(i));
            f.prompts.chooseFile(paths.last());
            click(m, ids::ID_Open);
        }
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + paths[1]);
        QCOMPARE(m.toolBars().Caption(ids::ID_File2), QStringLiteral("&2 ") + paths[0]);
        QCOMPARE(m.toolBars().Caption(ids::ID_OpenDocs), QStringLiteral("Files: 3"));
        // The open dialog starts in the source folder with the source filter.
        const ScriptedPrompts::Shown open = f.prompts.shown().first();
        QCOMPARE(open.kind, QStringLiteral("open"));
        QVERIFY(open.filter.startsWith(QStringLiteral("PicBasic Pro Source Code (*.pbp)|*.pbp|")));
    }

    void openRefusesTheSameFile_data() {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("refused");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        QTest::newRow("letter case") << "BLINK.pbp" << true;
#else
        QTest::newRow("letter case: another file") << "blink.pbp" << false;
#endif
        QTest::newRow("same path") << "Blink.pbp" << true;
        QTest::newRow("through a link") << "alias.pbp" << true;
    }
    // The open window holds typed text: a refused Open leaves its text, its Modified flag and the recent
    // list as they were.
    void openRefusesTheSameFile() {
        QFETCH(QString, second);
        QFETCH(bool, refused);
        FrameFixture f;
        const QString p = file(f, QStringLiteral("Blink.pbp"), "HIGH 1\n");
        file(f, QStringLiteral("blink.pbp"), "other\n");
        QFile::link(p, f.path(QStringLiteral("alias.pbp")));
        MDIMain& m = f.start(p);
        SourceDocument& doc = f.active()->View().Document();
        doc.InsertImpl(0, 0, QStringLiteral("LOW 2 "));
        const QString recent = m.toolBars().Caption(ids::ID_File1);
        const bool recentShown = m.toolBars().Visible(ids::ID_File1);
        f.prompts.chooseFile(f.path(second));
        click(m, ids::ID_Open);
        expectWindows(m, refused ? 1 : 2);
        QCOMPARE(doc.GetLine(0), QStringLiteral("LOW 2 HIGH 1"));
        QVERIFY(doc.Modified());
        if (refused) {
            QCOMPARE(f.prompts.last().text, QStringLiteral("File Already Open!"));
            QCOMPARE(f.prompts.last().icon, Prompts::Icon::Exclamation);
            QCOMPARE(m.toolBars().Caption(ids::ID_File1), recent);
            QCOMPARE(m.toolBars().Visible(ids::ID_File1), recentShown);
        } else {
            QVERIFY(f.prompts.messages().isEmpty());
            QCOMPARE(f.active()->View().Document().GetLine(0), QStringLiteral("other"));
        }
        doc.SetModified(false);
    }

    void undoAndRedoToolsFollowTheDocument() {
        FrameFixture f;
        MDIMain& m = f.start(file(f, QStringLiteral("u.pbp"), "a\n"));
        SourceView& v = f.active()->View();
        QTest::keyClicks(v.focusProxy(), QStringLiteral("xy"));
        m.toolBars().SetEnabled(ids::ID_Undo, true);
        click(m, ids::ID_Undo);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("a"));
        QVERIFY(!m.toolBars().Enabled(ids::ID_Undo));
        QVERIFY(m.toolBars().Enabled(ids::ID_Redo));
        click(m, ids::ID_Redo);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("xya"));
        QVERIFY(m.toolBars().Enabled(ids::ID_Undo));
        QVERIFY(!m.toolBars().Enabled(ids::ID_Redo));
        v.Document().SetModified(false);
    }

    void droppedFilesOpenLikeChosenOnes() {
        FrameFixture f;
        MDIMain& m = f.start();
        const QString a = file(f, QStringLiteral("a.pbp"), "HIGH 1\n");
        const QString b = file(f, QStringLiteral("b b.pbp"), "LOW 2\n");
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(f.appFolder()),
                      QUrl(QStringLiteral("https://x/y.pbp")), QUrl::fromLocalFile(b)});
        // The editor's text refuses dropped files, so they reach the frame instead of their names the text.
        m.setAcceptDrops(false);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(
            qobject_cast<QAbstractScrollArea*>(f.active()->View().focusProxy())->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
        m.setAcceptDrops(true);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // A drop outside a real drag does not pass the application's event routing; hand it to the frame.
        static_cast<QObject&>(m).event(&drop);
        QVERIFY(drop.isAccepted());
        QStringList captions;
        for (frmEditor* w : m.editors())
            captions << w->caption();
        QCOMPARE(captions, (QStringList{f.path("Untitled.pbp"), a, b}));
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + b);
        // Dropping an open file again is refused as Open refuses it.
        QDropEvent again(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject&>(m).event(&again);
        expectWindows(m, 3);
        QCOMPARE(f.prompts.messages(), (QStringList{"File Already Open!", "File Already Open!"}));
    }

    void fileChangedByAnotherProgram_data() {
        QTest::addColumn<QString>("change"); // "edit", "delete"
        QTest::addColumn<bool>("typedFirst");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("modified");
        const int yes = int(Prompts::Answer::Yes), no = int(Prompts::Answer::No);
        QTest::newRow("reloaded") << "edit" << false << yes << "LOW 2" << false;
        QTest::newRow("kept") << "edit" << false << no << "HIGH 1" << false;
        QTest::newRow("typed text given up for the file") << "edit" << true << yes << "LOW 2" << false;
        QTest::newRow("typed text kept") << "edit" << true << no << "X HIGH 1" << true;
        QTest::newRow("deleted: text kept, to be saved")
            << "delete" << false << int(Prompts::Answer::Ok) << "HIGH 1" << true;
    }
    void fileChangedByAnotherProgram() {
        QFETCH(QString, change);
        QFETCH(bool, typedFirst);
        QFETCH(int, answer);
        FrameFixture f;
        const QString p = file(f, QStringLiteral("watched.pbp"), "HIGH 1\n");
        MDIMain& m = f.start(p);
        SourceDocument& doc = f.active()->View().Document();
        // Our own save is no change by another program.
        click(m, ids::ID_Save);
        m.checkDocumentsOnDisk();
        QVERIFY(f.prompts.messages().isEmpty());
        if (typedFirst)
            doc.InsertImpl(0, 0, QStringLiteral("X "));
        f.prompts.answer(Prompts::Answer(answer));
        if (change == QLatin1String("edit"))
            QVERIFY(testsupport::writeFile(p, "LOW 2\nLOW 3\n"));
        else
            QVERIFY(QFile::remove(p));
        QTRY_COMPARE(f.prompts.messages().size(), 1);
        QVERIFY(f.prompts.messages().first().startsWith(QDir::toNativeSeparators(p)));
        QCOMPARE(f.prompts.messages().first().contains(QLatin1String("would be lost")), typedFirst);
        QTEST(doc.GetLine(0), "text");
        QTEST(doc.Modified(), "modified");
        // Asked once per change.
        m.checkDocumentsOnDisk();
        QCOMPARE(f.prompts.messages().size(), 1);
        doc.SetModified(false);
    }

    void unreadableFileOpensNoWindowAndStaysUntouched_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("open") << "open";
        QTest::newRow("recent entry") << "recent";
        QTest::newRow("command line") << "command line";
        QTest::newRow("last file") << "last file";
    }
    void unreadableFileOpensNoWindowAndStaysUntouched() {
        QFETCH(QString, how);
        FrameFixture f;
        // A folder stands for every file that exists but cannot be read (root reads anything else).
        const QString target = f.path(QStringLiteral("folder.pbp"));
        QVERIFY(QDir().mkpath(target));
        f.store().save(settings::startup::File1, QStringLiteral("&1 ") + target);
        if (how == QLatin1String("last file"))
            f.store().save(settings::startup::LastFile, target);
        MDIMain& m = f.start(how == QLatin1String("command line") ? target : QString());
        if (how == QLatin1String("open")) {
            f.prompts.chooseFile(target);
            click(m, ids::ID_Open);
        } else if (how == QLatin1String("recent")) {
            click(m, ids::ID_File1);
        }
        QCOMPARE(f.prompts.last().text, QStringLiteral("Error( 75): Path/File access error"));
        const bool atStart = how == QLatin1String("command line") || how == QLatin1String("last file");
        expectWindows(m, atStart ? 0 : 1);
        QCOMPARE(m.toolBars().Enabled(ids::ID_Save), !atStart);
        for (frmEditor* w : m.editors())
            QVERIFY(w->caption() != target);
        QVERIFY(f.close());
        QVERIFY(QFileInfo(target).isDir());
    }

    void openCancelledOrEmpty() {
        FrameFixture f;
        MDIMain& m = f.start();
        f.prompts.cancel();
        click(m, ids::ID_Open);
        QCOMPARE(f.prompts.messages(), QStringList{}); // a cancel says nothing
        f.prompts.chooseFile(QString());
        click(m, ids::ID_Open);
        QCOMPARE(f.prompts.last().text, QStringLiteral("No filename entered."));
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        expectWindows(m, 1);
    }

    // A recent entry opens without reordering the list; a missing file opens as a new document.
    void recentEntries() {
        FrameFixture f;
        const QString a = file(f, QStringLiteral("a.pbp"));
        const QString gone = f.path(QStringLiteral("gone.pbp"));
        f.store().save(settings::startup::File1, QStringLiteral("&1 ") + a);
        f.store().save(settings::startup::File2, QStringLiteral("&2 ") + gone);
        MDIMain& m = f.start();
        click(m, ids::ID_File2);
        QCOMPARE(f.active()->caption(), gone);
        expectWindows(m, 2);
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + a);
        QVERIFY(f.prompts.messages().isEmpty());
    }

    void saveAs() {
        FrameFixture f;
        const QString p = file(f, QStringLiteral("old.pbp"), "HIGH 1\n");
        MDIMain& m = f.start(p);
        f.prompts.chooseFile(p);
        click(m, ids::ID_SaveAs);
        QCOMPARE(f.prompts.last().text, QStringLiteral("File Already Open!"));
        expectWindows(m, 1);
        const QString renamed = f.path(QStringLiteral("new name.pbp"));
        f.prompts.chooseFile(renamed);
        click(m, ids::ID_SaveAs);
        QCOMPARE(f.active()->caption(), renamed);
        QCOMPARE(m.TaskBar().tabText(m.TaskBar().count() - 1), renamed);
        QCOMPARE(testsupport::readFile(renamed), QByteArray("HIGH 1\n"));
        QCOMPARE(windowEntries(m), (QStringList{"separator", QStringLiteral("&2. ") + renamed}));
        expectWindows(m, 1);
    }

    void windowEntriesKeepTheirNumbers() {
        FrameFixture f;
        MDIMain& m = f.start();
        click(m, ids::ID_New);
        click(m, ids::ID_New);
        QCOMPARE(windowEntries(m),
                 (QStringList{"separator", "&1. " + f.path("Untitled.pbp"), "&2. " + f.path("Untitled1.pbp"),
                              "&3. " + f.path("Untitled2.pbp")}));
        expectWindows(m, 3);
        // An entry activates its window; a command id has no "." and activates nothing.
        frmEditor* first = m.editors().first();
        click(m, first->Tag);
        QCOMPARE(m.activeEditor(), first);
        click(m, ids::ID_SelectAll);
        QCOMPARE(m.activeEditor(), first);
        m.editors().at(1)->close();
        QCOMPARE(windowEntries(m), (QStringList{"separator", "&1. " + f.path("Untitled.pbp"),
                                                "&3. " + f.path("Untitled2.pbp")}));
        click(m, ids::ID_New);
        // The menu has 7 tools again, so the new entry repeats number 3.
        QCOMPARE(windowEntries(m).last(), "&3. " + f.path("Untitled1.pbp"));
        for (frmEditor* w : m.editors())
            w->close();
        QCOMPARE(windowEntries(m), QStringList{"separator"});
        expectWindows(m, 0);
        QVERIFY(!m.toolBars().Enabled(ids::ID_Compile));
        click(m, ids::ID_New);
        QCOMPARE(windowEntries(m).last(), "&2. " + f.path("Untitled1.pbp"));
    }

    void tabClickOnAMinimisedWindowRestoresIt() {
        FrameFixture f;
        MDIMain& m = f.start();
        click(m, ids::ID_New);
        frmEditor* first = m.editors().first();
        m.mdiArea().setActiveSubWindow(first);
        first->showMinimized();
        frmEditor* second = m.editors().last();
        m.mdiArea().setActiveSubWindow(second);
        QVERIFY(first->isMinimized());
        m.TaskBar().setCurrentIndex(0);
        m.TaskBar_Click();
        QVERIFY(!first->isMinimized());
        QCOMPARE(m.activeEditor(), second);
        // While the program selects a tab itself, a click does nothing.
        m.mdiArea().setActiveSubWindow(first);
        first->showMinimized();
        m.mdiArea().setActiveSubWindow(second);
        m.setTaskBarTag(QStringLiteral("True"));
        m.TaskBar_Click();
        QVERIFY(first->isMinimized());
    }

    void clearErrors() {
        FrameFixture f;
        MDIMain& m = f.start(file(f, QStringLiteral("e.pbp"), QByteArray("line\n").repeated(10)));
        SourceDocument& doc = f.active()->View().Document();
        doc.SetLineData(2, 1, 1);
        doc.SetLineData(8, 1, 1);
        doc.SetLineData(1, 2, 1); // a line kind is not an error mark
        // Clear Error on an unmarked line changes nothing, not even the tools.
        m.toolBars().SetEnabled(ids::ID_NextError, true);
        f.active()->View().MoveCaret(0, 4);
        click(m, ids::ID_ClearError);
        QVERIFY(m.toolBars().Enabled(ids::ID_NextError));
        QCOMPARE(doc.GetLineData(8, 1), 1);
        // On the last marked line it clears the mark and disables the four error tools.
        doc.SetLineData(2, 1, 0);
        f.active()->View().MoveCaret(0, 8);
        m.SetPanelText(2, QStringLiteral("message"));
        click(m, ids::ID_ClearError);
        QCOMPARE(doc.GetLineData(8, 1), 0);
        QCOMPARE(m.PanelText(2), QString());
        for (const QString* id :
             {&ids::ID_ClearError, &ids::ID_ClearAllErrors, &ids::ID_NextError, &ids::ID_PreviousError})
            QVERIFY(!m.toolBars().Enabled(*id));
        doc.SetLineData(0, 1, 1);
        doc.SetLineData(9, 1, 1);
        click(m, ids::ID_ClearAllErrors);
        QCOMPARE(doc.GetLineData(0, 1) + doc.GetLineData(9, 1), 0);
        QCOMPARE(doc.GetLineData(1, 2), 1);
    }

    void selection() {
        FrameFixture f;
        MDIMain& m = f.start(file(f, QStringLiteral("two.pbp"), "x = 1\nHIGH PORTB.0\nEND"));
        SourceView& v = f.active()->View();
        int c1, l1, c2, l2;
        click(m, ids::ID_SelectAll);
        v.GetSel(c1, l1, c2, l2);
        QCOMPARE(QList<int>({c1, l1, c2, l2}), QList<int>({0, 0, 3, 2}));
        QVERIFY(m.toolBars().Enabled(ids::ID_Cut));
        v.MoveCaret(2, 1);
        click(m, ids::ID_SelectLine);
        v.GetSel(c1, l1, c2, l2);
        QCOMPARE(QList<int>({c1, l1, c2, l2}), QList<int>({0, 1, 12, 1}));
    }

    void bookmarks() {
        FrameFixture f;
        MDIMain& m = f.start(file(f, QStringLiteral("b.pbp"), "a\nb\nc\nd\n"));
        SourceView& v = f.active()->View();
        int announced = 0;
        connect(&v, &SourceView::ExecuteCommandEvent, &v, [&announced](int&) { ++announced; });
        click(m, ids::ID_NBook); // no bookmarks: nothing is sent to the control
        click(m, ids::ID_PBook);
        QCOMPARE(announced, 0);
        v.MoveCaret(0, 1);
        click(m, ids::ID_TBook);
        QCOMPARE(v.Document().NumBookmarks(), 1);
        QVERIFY(m.toolBars().Enabled(ids::ID_NBook));
        v.MoveCaret(0, 3);
        click(m, ids::ID_NBook);
        QCOMPARE(v.CaretY(), 1);
        click(m, ids::ID_CBook);
        QCOMPARE(v.Document().NumBookmarks(), 0);
        QVERIFY(!m.toolBars().Enabled(ids::ID_NBook));
        QVERIFY(!m.toolBars().Enabled(ids::ID_CBook));
    }

    void marginStyles() {
        FrameFixture f;
        MDIMain& m = f.start();
        const QString* tools[] = {&ids::ID_NoMargin, &ids::ID_FixedMargin, &ids::ID_ScrollingMargin};
        for (int style = 0; style < 3; ++style) {
            click(m, *tools[style]);
            QCOMPARE(f.active()->View().MarginStyle(), style);
        }
    }

    void colours() {
        FrameFixture f;
        MDIMain& m = f.start();
        SourceView& v = f.active()->View();
        m.state().MouseTokenClass = 6;
        const qint32 before = v.TokenInfo().ForegroundColor(6);
        f.prompts.cancel();
        click(m, ids::ID_TokenColor);
        QCOMPARE(v.TokenInfo().ForegroundColor(6), before);
        QCOMPARE(m.state().MouseTokenClass, 6);
        QVERIFY(f.prompts.messages().isEmpty());
        f.prompts.chooseColorValue(QColor(1, 2, 3));
        click(m, ids::ID_TokenColor);
        QCOMPARE(v.TokenInfo().ForegroundColor(6), colors::rgb(1, 2, 3));
        QCOMPARE(v.PrintTokenInfo().ForegroundColor(6), colors::rgb(1, 2, 3));
        QCOMPARE(m.state().MouseTokenClass, 0);
        // A class without a user colour changes nothing but is reset all the same.
        m.state().MouseTokenClass = 4;
        f.prompts.chooseColorValue(QColor(9, 9, 9));
        click(m, ids::ID_TokenColor);
        QVERIFY(!v.TokenInfo().HasForegroundColor(4) || v.TokenInfo().ForegroundColor(4) != qint32(0x090909));
        QCOMPARE(m.state().MouseTokenClass, 0);
        // The background colour reaches every window.
        click(m, ids::ID_New);
        f.prompts.chooseColorValue(QColor(10, 20, 30));
        click(m, ids::ID_BackgroundColor);
        for (frmEditor* w : m.editors()) {
            QCOMPARE(w->View().BackColor(), colors::rgb(10, 20, 30));
            QCOMPARE(w->View().TokenInfo().BackgroundColor(7), colors::rgb(10, 20, 30));
        }
    }

    void commandWithoutAWindowIsReported() {
        FrameFixture f;
        MDIMain& m = f.start();
        f.active()->close();
        click(m, ids::ID_Save);
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Error( 91): Object variable or With block variable not set"));
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
    }

    void idsCompareExactly() {
        FrameFixture f;
        MDIMain& m = f.start();
        click(m, QStringLiteral("ID_NEW")); // lookup ignores case, dispatch does not
        QCOMPARE(m.editors().size(), 1);
    }

    void closeAsksAboutChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(Prompts::Answer::Yes) << "saved.pbp" << true << true;
        QTest::newRow("no") << int(Prompts::Answer::No) << "" << true << false;
        QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << "" << false << false;
        QTest::newRow("yes with an empty name") << int(Prompts::Answer::Yes) << "<empty>" << false << false;
    }
    void closeAsksAboutChanges() {
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        FrameFixture f;
        MDIMain& m = f.start();
        f.active()->View().Document().InsertOverwrite(0, 0, 0, 0, QStringLiteral("typed"));
        f.prompts.answer(Prompts::Answer(answer));
        if (saveName == QLatin1String("<empty>"))
            f.prompts.chooseFile(QString());
        else if (!saveName.isEmpty())
            f.prompts.chooseFile(f.path(saveName));
        click(m, ids::ID_Close);
        expectWindows(m, closed ? 0 : 1);
        QCOMPARE(QFile::exists(f.path(QStringLiteral("saved.pbp"))), saved);
        if (saved)
            QCOMPARE(testsupport::readFile(f.path(QStringLiteral("saved.pbp"))), QByteArray("typed"));
        if (saveName == QLatin1String("<empty>")) {
            QCOMPARE(f.prompts.last().text, QStringLiteral("No file name entered."));
            QCOMPARE(f.active()->View().Document().GetLine(0), QStringLiteral("typed"));
        }
        f.prompts.answer(Prompts::Answer::No);
    }

    void windowArrangements() {
        FrameFixture f;
        MDIMain& m = f.start();
        click(m, ids::ID_New);
        click(m, ids::ID_New);
        const QRect area = m.mdiArea().viewport()->rect();
        click(m, ids::ID_TileH);
        for (int i = 0; i < 3; ++i) { // full width, stacked from the top
            QCOMPARE(m.editors().at(i)->width(), area.width());
            QCOMPARE(m.editors().at(i)->y(), i * (area.height() / 3));
        }
        click(m, ids::ID_TileV);
        for (int i = 0; i < 3; ++i) { // full height, side by side
            QCOMPARE(m.editors().at(i)->height(), area.height());
            QCOMPARE(m.editors().at(i)->x(), i * (area.width() / 3));
        }
        for (frmEditor* w : m.editors()) {
            m.mdiArea().setActiveSubWindow(w);
            w->showMinimized();
        }
        click(m, ids::ID_Arrange);
        const int bottom = m.editors().at(0)->geometry().bottom();
        for (frmEditor* w : m.editors()) {
            QVERIFY(w->isMinimized());
            QCOMPARE(w->geometry().bottom(), bottom); // in one row along the bottom
            QVERIFY(area.contains(w->geometry().bottomRight()));
        }
        QVERIFY(m.editors().at(0)->x() < m.editors().at(1)->x());
    }

    void caretMovesForTheUserShowTheCaret_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("next bookmark far below") << ids::ID_NBook << 0 << 900 << true;
        QTest::newRow("previous bookmark wraps far below") << ids::ID_PBook << 0 << 900 << true;
        QTest::newRow("next error far below") << ids::ID_NextError << 0 << 700 << true;
        QTest::newRow("previous error far above") << ids::ID_PreviousError << 950 << 10 << true;
        QTest::newRow("next error in view") << ids::ID_NextError << 0 << 3 << false;
        QTest::newRow("next error wraps to line 0") << ids::ID_NextError << 500 << 0 << true;
        QTest::newRow("go to line far below") << ids::ID_GotoLine << 0 << 800 << true;
    }
    void caretMovesForTheUserShowTheCaret() {
        QFETCH(QString, command);
        QFETCH(int, from);
        QFETCH(int, target);
        QFETCH(bool, scrolls);
        FrameFixture f;
        MDIMain& m =
            f.start(file(f, QStringLiteral("long.pbp"), QByteArray("HIGH PORTB.0\n").repeated(1000)));
        SourceView& view = f.active()->View();
        view.Document().SetBookmark(target, true);
        view.Document().SetLineData(target, 1, 1);
        view.MoveCaret(0, from);
        QCoreApplication::processEvents();
        int col = 0, top = 0;
        view.GetScrollPos(col, top);
        const int topBefore = top;
        if (command == ids::ID_GotoLine)
            testsupport::onNextModal([target](QWidget& dialog) {
                if (auto* gotoLine = qobject_cast<frmGotoLine*>(&dialog)) {
                    QTest::keyClicks(&gotoLine->LineValue(), QString::number(target + 1));
                    QTest::keyClick(&gotoLine->LineValue(), Qt::Key_Return);
                }
            });
        click(m, command);
        QCoreApplication::processEvents();
        QCOMPARE(view.CaretY(), target);
        view.GetScrollPos(col, top);
        QVERIFY2(top <= target && target < top + view.LinesInView(), qPrintable(QString::number(top)));
        if (scrolls)
            // The least scrolling: the line lands at the edge it came in from.
            QVERIFY(target == top || target == top + view.LinesInView() - 1);
        else
            QCOMPARE(top, topBefore);
    }

    void failedSaveReportsAndKeepsTheText() {
        FrameFixture f;
        // A folder that is really a file cannot take the save, whoever runs the test.
        const QString blocker = file(f, QStringLiteral("blocker"), "keep me");
        const QString p = blocker + QStringLiteral("/doc.pbp");
        MDIMain& m = f.start(p);
        f.active()->View().Document().InsertOverwrite(0, 0, 0, 0, QStringLiteral("precious"));
        click(m, ids::ID_Save);
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Error(")));
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        QCOMPARE(f.active()->View().Document().GetLine(0), QStringLiteral("precious"));
        QVERIFY(f.active()->View().Document().Modified());
        QCOMPARE(testsupport::readFile(blocker), QByteArray("keep me"));
        f.prompts.answer(Prompts::Answer::No);
    }

    void helpPages() {
        FrameFixture f;
        MDIMain& m = f.start();
        click(m, ids::ID_WhatsNew);
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic280.html"));
        click(m, ids::ID_HelpTopics);
        QCOMPARE(m.help().lastPage(), QStringLiteral("contents.html"));
        QVERIFY(m.state().HelpOwner != 0);
        QCOMPARE(m.help().lastOwner(), m.state().HelpOwner);
    }

    void helpFilePath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("drive root") << "C:\\" << QString("C:\\Pinwright.HLP");
        QTest::newRow("blanks around a root") << " C:\\ " << QString("C:\\Pinwright.HLP");
        QTest::newRow("unix root") << "/" << QString("/Pinwright.HLP");
    }
    void helpFilePath() {
        QFETCH(QString, folder);
        QTEST(HelpViewer::helpFilePath(folder), "path");
    }

    void helpBeforeAnyEditorPassesOwnerZero() {
        HelpViewer viewer(testsupport::dataDir() + QStringLiteral("/help"),
                          [](int) { return QStringLiteral("contents.html"); });
        viewer.ShowHelpContents();
        QCOMPARE(viewer.lastOwner(), 0);
        viewer.QuitHelp();
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_Commands.moc"
