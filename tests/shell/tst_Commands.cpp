#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBrowser>

#include "dialogs/frmGotoLine.h"
#include "platform/Colors.h"
#include "platform/HelpViewer.h"
#include "support/FrameTest.h"

class tst_Commands : public QObject {
    Q_OBJECT
private:
    static void click(MDIMain& m, const QString& id) { m.SSActiveToolBars1_ToolClick(id); }
    static QList<bool> enabled(MDIMain& m, const QList<const QString*>& tools) {
        QList<bool> out;
        for (const QString* id : tools)
            out << m.toolBars().Enabled(*id);
        return out;
    }
    static QStringList windowEntries(MDIMain& m) { return m.toolBars().ToolIds(ids::ID_Window).mid(4); }
    static QList<int> selection(SourceView& v) {
        int c1, l1, c2, l2;
        v.GetSel(c1, l1, c2, l2);
        return {c1, l1, c2, l2};
    }
    // The window count as the frame keeps it, shows it and lists it in the tab bar.
    static void expectWindows(MDIMain& m, int count) {
        QCOMPARE(m.editors().size(), count);
        QCOMPARE(m.OpenDocCount, qint16(count));
        QCOMPARE(m.toolBars().Caption(ids::ID_OpenDocs), QStringLiteral("Files: %1").arg(count));
        QCOMPARE(m.TaskBar().count(), count);
    }

private slots:
    void openRefusesTheSameFile_data() {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("refused");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        QTest::newRow("letter case") << "BLINK.pbp" << true;
#else
        QTest::newRow("letter case: another file") << "blink.pbp" << false;
#endif
        QTest::newRow("same path") << "Blink.pbp" << true;
#ifndef Q_OS_WIN
        // A link on Windows is a shortcut file, which the file system does not follow.
        QTest::newRow("through a link") << "alias.pbp" << true;
#endif
    }
    // The open window holds typed text: a refused Open leaves its text, its Modified flag and the recent
    // list as they were.
    void openRefusesTheSameFile() {
        QFETCH(bool, refused);
        FrameFixture f;
        const QString p = f.file(QStringLiteral("Blink.pbp"), "HIGH 1\n");
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        f.file(QStringLiteral("blink.pbp"), "other\n"); // where letter case makes another file
#endif
        QFile::link(p, f.path(QStringLiteral("alias.pbp")));
        MDIMain& m = f.start(p);
        SourceDocument& doc = f.doc();
        doc.InsertImpl(0, 0, QStringLiteral("LOW 2 "));
        const QString recent = m.toolBars().Caption(ids::ID_File1);
        QFETCH(QString, second);
        f.prompts.chooseFile(f.path(second));
        click(m, ids::ID_Open);
        expectWindows(m, refused ? 1 : 2);
        QCOMPARE(doc.GetLine(0), QStringLiteral("LOW 2 HIGH 1"));
        QVERIFY(doc.Modified());
        if (refused) {
            QCOMPARE(f.prompts.last().text, QStringLiteral("File Already Open!"));
            QCOMPARE(m.toolBars().Caption(ids::ID_File1), recent);
        } else {
            QVERIFY(f.prompts.messages().isEmpty());
            QCOMPARE(f.doc().GetLine(0), QStringLiteral("other"));
            QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + f.path(second));
        }
        doc.SetModified(false);
    }

    void droppedFilesOpenLikeChosenOnes() {
        FrameFixture f;
        MDIMain& m = f.start();
        const QString a = f.file(QStringLiteral("a.pbp"), "HIGH 1\n");
        const QString b = f.file(QStringLiteral("b b.pbp"), "LOW 2\n");
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(f.appFolder()),
                      QUrl(QStringLiteral("https://x/y.pbp")), QUrl::fromLocalFile(b)});
        // A drop outside a real drag does not pass the application's event routing; hand it to the frame.
        for (int i = 0; i < 2; ++i) {
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            static_cast<QObject&>(m).event(&drop);
            QVERIFY(drop.isAccepted());
            if (i == 0)
                m.mdiArea().setActiveSubWindow(m.editors().first());
        }
        QStringList captions;
        for (frmEditor* w : m.editors())
            captions << w->caption();
        QCOMPARE(captions, (QStringList{f.path("Untitled.pbp"), a, b}));
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + b);
        QCOMPARE(m.toolBars().Caption(ids::ID_File2), QStringLiteral("&2 ") + a);
        // The second drop of the same files brings their windows to the front, the last one on top.
        expectWindows(m, 3);
        QCOMPARE(m.activeEditor()->caption(), b);
        QCOMPARE(f.prompts.messages(), QStringList());
    }

    void fileChangedOnDisk_data() {
        QTest::addColumn<QString>("how"); // the change on disk, "typed" when text was typed first, the answer
        QTest::addColumn<QString>("after"); // the first line, "|M" when modified
        QTest::newRow("rewritten, reloaded") << QString("edit Yes") << "LOW 2";
        QTest::newRow("rewritten, kept") << QString("edit No") << "HIGH 1";
        QTest::newRow("typed text given up for the file") << QString("edit typed Yes") << "LOW 2";
        QTest::newRow("typed text kept") << QString("edit typed No") << "X HIGH 1|M";
        // As editors and version control do: a new file renamed over the old one.
        QTest::newRow("replaced, typed text kept") << QString("replace typed No") << "X HIGH 1|M";
        // Text that is no longer on disk counts as unsaved, so closing asks about it.
        QTest::newRow("deleted: text kept, to be saved") << QString("delete Ok") << "HIGH 1|M";
        QTest::newRow("deleted with typing") << QString("delete typed Ok") << "X HIGH 1|M";
    }
    void fileChangedOnDisk() {
        QFETCH(QString, how);
        const bool typedFirst = how.contains(QLatin1String("typed"));
        FrameFixture f;
        const QString p = f.file(QStringLiteral("watched.pbp"), "HIGH 1\n");
        MDIMain& m = f.start(p);
        SourceDocument& doc = f.doc();
        // Our own save is no change by another program.
        click(m, ids::ID_Save);
        m.checkDocumentsOnDisk();
        QVERIFY(f.prompts.messages().isEmpty());
        if (typedFirst)
            doc.InsertImpl(0, 0, QStringLiteral("X "));
        f.prompts.answer(how.endsWith(u"Yes")  ? Prompts::Answer::Yes
                         : how.endsWith(u"No") ? Prompts::Answer::No
                                               : Prompts::Answer::Ok);
        if (how.startsWith(u"edit")) {
            QVERIFY(testsupport::writeFile(p, "LOW 2\nLOW 3\n"));
        } else if (how.startsWith(u"replace")) {
            QVERIFY(testsupport::writeFile(p + QStringLiteral(".new"), "LOW 2\r\nLOW 3\r\n"));
            QVERIFY(QFile::remove(p) && QFile::rename(p + QStringLiteral(".new"), p));
        } else {
            QVERIFY(QFile::remove(p));
        }
        QTRY_COMPARE(f.prompts.messages().size(), 1);
        QVERIFY(f.prompts.messages().first().startsWith(QDir::toNativeSeparators(p)));
        QCOMPARE(f.prompts.messages().first().contains(QLatin1String("would be lost")),
                 typedFirst && !how.startsWith(u"delete"));
        QTEST(doc.GetLine(0) + (doc.Modified() ? "|M" : ""), "after");
        m.checkDocumentsOnDisk(); // asked once per change
        QCOMPARE(f.prompts.messages().size(), 1);
        doc.SetModified(false);
    }

    void unreadableFileOpensNoWindowAndStaysUntouched_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"open", "recent", "command line", "last file"})
            QTest::newRow(how) << QString::fromLatin1(how);
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
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Error( 75): Path/File access error\n") + QDir::toNativeSeparators(target));
        const bool atStart = how == QLatin1String("command line") || how == QLatin1String("last file");
        expectWindows(m, atStart ? 0 : 1);
        QVERIFY(f.close());
        QVERIFY(QFileInfo(target).isDir());
    }

    // Stored entries show with gaps left as they are; one opens without reordering the list, and a
    // missing file opens as a new document.
    void recentEntries() {
        FrameFixture f;
        const QString a = f.file(QStringLiteral("a.pbp"));
        const QString gone = f.path(QStringLiteral("gone.pbp"));
        const QStringList stored{"", "&2 " + a, "&3 " + gone, "&4 /d"};
        for (int n = 1; n < 4; ++n)
            f.store().save(*settings::startup::RecentFiles[n], stored[n]);
        MDIMain& m = f.start();
        const QString* entries[] = {&ids::ID_File1, &ids::ID_File2, &ids::ID_File3, &ids::ID_File4};
        for (int n = 0; n < 4; ++n) // a hidden entry shows as ""
            QCOMPARE(m.toolBars().Visible(*entries[n]) ? m.toolBars().Caption(*entries[n]) : QString(),
                     stored[n]);
        click(m, ids::ID_File2);
        QCOMPARE(m.statusBar()->currentMessage(), QString()); // an existing file opens without a word
        click(m, ids::ID_File3);
        QCOMPARE(f.active()->caption(), gone);
        expectWindows(m, 3);
        QCOMPARE(m.toolBars().Caption(ids::ID_File2), stored[1]);
        QVERIFY(f.prompts.messages().isEmpty());
        // ... but the status bar says that the file is gone, and which.
        QCOMPARE(m.statusBar()->currentMessage(),
                 QDir::toNativeSeparators(gone) +
                     QStringLiteral(" no longer exists: it opens as a new, empty document."));
    }

    // With a refused Open, the window menu's entries, Save without a window and Save As in one frame.
    void windowEntriesAndFileCommands() {
        FrameFixture f;
        MDIMain& m = f.start();
        f.prompts.cancel();
        click(m, ids::ID_Open);
        QVERIFY(f.prompts.messages().isEmpty()); // a cancel says nothing
        f.prompts.chooseFile(QString());
        click(m, ids::ID_Open);
        QCOMPARE(f.prompts.last().text, QStringLiteral("No filename entered."));
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        f.prompts.clearShown();
        click(m, ids::ID_New);
        click(m, ids::ID_New);
        const QString u = f.path("Untitled.pbp"), u1 = f.path("Untitled1.pbp"), u2 = f.path("Untitled2.pbp");
        QCOMPARE(windowEntries(m), (QStringList{"separator", "&1. " + u, "&2. " + u1, "&3. " + u2}));
        expectWindows(m, 3);
        // An entry activates its window; a command id has no "." and activates nothing.
        frmEditor* first = m.editors().first();
        click(m, first->Tag);
        QCOMPARE(m.activeEditor(), first);
        click(m, ids::ID_SelectAll);
        QCOMPARE(m.activeEditor(), first);
        m.editors().at(1)->close();
        QCOMPARE(windowEntries(m), (QStringList{"separator", "&1. " + u, "&3. " + u2}));
        click(m, ids::ID_New);
        // The new entry takes the number freed by the closed window, not a repeat of 3.
        QCOMPARE(windowEntries(m).last(), "&2. " + u1);
        for (frmEditor* w : m.editors())
            w->close();
        QCOMPARE(windowEntries(m), QStringList{"separator"});
        expectWindows(m, 0);
        click(m, ids::ID_Save);
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Error( 91): Object variable or With block variable not set"));
        click(m, ids::ID_New);
        QCOMPARE(windowEntries(m).last(), "&1. " + u1);
        // Save As onto an open file is refused; to a new name it writes the file and renames the window,
        // its tab and its entry.
        f.doc().InsertImpl(0, 0, QStringLiteral("HIGH 1\n"));
        f.prompts.chooseFile(u1);
        click(m, ids::ID_SaveAs);
        QCOMPARE(f.prompts.last().text, QStringLiteral("File Already Open!"));
        const QString renamed = f.path(QStringLiteral("new name.pbp"));
        f.prompts.chooseFile(renamed);
        click(m, ids::ID_SaveAs);
        QCOMPARE(f.active()->caption(), renamed);
        QCOMPARE(m.TaskBar().tabText(0), renamed);
        // New text takes the platform's line break.
        QCOMPARE(testsupport::readFile(renamed), TextFileFormat::platformEnding() == LineEnding::CRLF
                                                     ? QByteArray("HIGH 1\r\n")
                                                     : QByteArray("HIGH 1\n"));
        QCOMPARE(windowEntries(m), (QStringList{"separator", QStringLiteral("&1. ") + renamed}));
    }

    void editCommandsBookmarksAndMargin() {
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("two.pbp"), "x = 1\nHIGH PORTB.0\nEND");
        SourceView& v = f.view();
        QTest::keyClicks(v.focusProxy(), QStringLiteral("xy"));
        m.toolBars().SetEnabled(ids::ID_Undo, true);
        click(m, ids::ID_Undo);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("x = 1"));
        QCOMPARE(enabled(m, {&ids::ID_Undo, &ids::ID_Redo}), QList<bool>({false, true}));
        click(m, ids::ID_Redo);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("xyx = 1"));
        QCOMPARE(enabled(m, {&ids::ID_Undo, &ids::ID_Redo}), QList<bool>({true, false}));
        SourceDocument& doc = v.Document();
        doc.SetLineData(0, 1, 1);
        doc.SetLineData(2, 1, 1);
        // Clear Error on an unmarked line changes nothing, not even the tools.
        m.toolBars().SetEnabled(ids::ID_NextError, true);
        v.MoveCaret(0, 1);
        click(m, ids::ID_ClearError);
        QVERIFY(m.toolBars().Enabled(ids::ID_NextError));
        QCOMPARE(doc.GetLineData(2, 1), 1);
        // On the last marked line it clears the mark and disables the four error tools.
        doc.SetLineData(0, 1, 0);
        v.MoveCaret(0, 2);
        m.SetPanelText(2, QStringLiteral("message"));
        click(m, ids::ID_ClearError);
        QCOMPARE(doc.GetLineData(2, 1), 0);
        QCOMPARE(m.PanelText(2), QString());
        QCOMPARE(enabled(m, {&ids::ID_ClearError, &ids::ID_ClearAllErrors, &ids::ID_NextError,
                             &ids::ID_PreviousError}),
                 QList<bool>(4, false));
        doc.SetLineData(0, 1, 1);
        doc.SetLineData(2, 1, 1);
        doc.SetLineData(0, 2, 1); // a line kind is not an error mark
        click(m, ids::ID_ClearAllErrors);
        QCOMPARE(doc.GetLineData(0, 1) + doc.GetLineData(2, 1), 0);
        QCOMPARE(doc.GetLineData(0, 2), 1);
        click(m, ids::ID_SelectAll);
        QCOMPARE(selection(v), QList<int>({0, 0, 3, 2}));
        QVERIFY(m.toolBars().Enabled(ids::ID_Cut));
        v.MoveCaret(2, 1);
        click(m, ids::ID_SelectLine);
        QCOMPARE(selection(v), QList<int>({0, 1, 12, 1}));

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
        QCOMPARE(enabled(m, {&ids::ID_NBook, &ids::ID_CBook}), QList<bool>({false, false}));

        // The margin style carries the one check mark, the active window's; a right click in the
        // margin offers the styles.
        const QString* margins[] = {&ids::ID_NoMargin, &ids::ID_FixedMargin, &ids::ID_ScrollingMargin};
        const auto checked = [&m, &margins] {
            QList<bool> on;
            for (const QString* id : margins)
                on << m.toolBars().action(*id)->isChecked();
            return on;
        };
        for (int style : {2, 0, 1}) {
            click(m, *margins[style]);
            QCOMPARE(v.MarginStyle(), style);
            QCOMPARE(checked(), QList<bool>({style == 0, style == 1, style == 2}));
        }
        click(m, ids::ID_ScrollingMargin);
        frmEditor* first = m.activeEditor();
        click(m, ids::ID_New);
        QCOMPARE(checked(), QList<bool>({false, m.activeEditor()->View().MarginStyle() == 1, false}));
        m.mdiArea().setActiveSubWindow(first);
        QCOMPARE(checked(), QList<bool>({false, false, true}));
        QMenu* options = m.toolBars().menu(ids::ID_Options);
        first->View_MouseUp(2, 0, 2, 2);
        QVERIFY(options->isVisible());
        options->close();
        click(m, ids::ID_FixedMargin);
        // Numbered printouts: a stored choice the frame hands to the view it prints.
        for (const bool on : {true, false}) {
            click(m, ids::ID_PrintLineNumbers);
            f.prompts.cancel();
            click(m, ids::ID_Print);
            QCOMPARE(QList<bool>(
                         {m.toolBars().action(ids::ID_PrintLineNumbers)->isChecked(), v.PrintLineNumbers()}),
                     QList<bool>({on, on}));
            QCOMPARE(f.store().read(settings::print::LineNumbers),
                     on ? QStringLiteral("1") : QStringLiteral("0"));
        }
        v.Document().SetModified(false);
    }

    // Colours, window arrangements and help pages, in one frame.
    void coloursWindowsAndHelp() {
        FrameFixture f;
        MDIMain& m = f.start();
        SourceView& v = f.view();
        m.state().MouseTokenClass = 6;
        const qint32 before = v.TokenInfo().ForegroundColor(6);
        f.prompts.cancel();
        click(m, ids::ID_TokenColor);
        QCOMPARE(v.TokenInfo().ForegroundColor(6), before);
        f.prompts.chooseColorValue(QColor(1, 2, 3));
        click(m, ids::ID_TokenColor);
        QCOMPARE(v.TokenInfo().ForegroundColor(6), colors::rgb(1, 2, 3));
        QCOMPARE(v.PrintTokenInfo().ForegroundColor(6), colors::rgb(1, 2, 3));
        QCOMPARE(m.state().MouseTokenClass, 0);
        click(m, ids::ID_New);
        click(m, ids::ID_WhatsNew);
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic280.html"));
        // The fixture's application folder holds no help pages.
        auto* browser = qobject_cast<QTextBrowser*>(m.help().window());
        QVERIFY(browser && browser->isVisible());
        QVERIFY2(browser->toPlainText().contains(QStringLiteral("is not installed")),
                 qPrintable(browser->toPlainText()));
        click(m, ids::ID_HelpTopics);
        QCOMPARE(m.help().lastPage(), QStringLiteral("contents.html"));
        QVERIFY(m.state().HelpOwner != 0);
        QCOMPARE(m.help().lastOwner(), m.state().HelpOwner);

        frmEditor* first = m.editors().first();
        frmEditor* second = m.editors().last();
        for (const bool programSelects : {false, true}) {
            m.mdiArea().setActiveSubWindow(first);
            first->showMinimized();
            m.mdiArea().setActiveSubWindow(second);
            // A tab click restores a minimised window, unless the program is selecting the tab itself.
            m.setTaskBarTag(programSelects ? QStringLiteral("True") : QStringLiteral("False"));
            m.TaskBar().setCurrentIndex(0);
            m.TaskBar_Click();
            QCOMPARE(first->isMinimized(), programSelects);
            QCOMPARE(m.activeEditor(), second);
        }
        first->showNormal();
        click(m, ids::ID_New);
        const QRect area = m.mdiArea().viewport()->rect();
        click(m, ids::ID_TileH);
        for (frmEditor* w : m.editors()) // full width, stacked from the top
            QCOMPARE(w->geometry(),
                     QRect(0, m.editors().indexOf(w) * (area.height() / 3), area.width(), w->height()));
        click(m, ids::ID_TileV);
        for (frmEditor* w : m.editors()) // full height, side by side
            QCOMPARE(w->geometry(),
                     QRect(m.editors().indexOf(w) * (area.width() / 3), 0, w->width(), area.height()));
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

        // Before any editor there is no owner to pass.
        HelpViewer viewer(testsupport::dataDir() + QStringLiteral("/help"),
                          [](int) { return QStringLiteral("x.html"); });
        viewer.ShowHelpContents();
        QCOMPARE(viewer.lastOwner(), 0);
        viewer.QuitHelp();
        const std::pair<QString, QString> roots[] = {
            {"C:\\", "C:\\Pinwright.HLP"}, {" C:\\ ", "C:\\Pinwright.HLP"}, {"/", "/Pinwright.HLP"}};
        for (const auto& [folder, file] : roots)
            QCOMPARE(HelpViewer::helpFilePath(folder), file);
    }

    void closeAsksAboutChanges_data() {
        QTest::addColumn<QString>("how"); // "frame" when the whole frame closes, the answer, the name chosen
        QTest::addColumn<bool>("closed");
        QTest::newRow("yes") << "window Yes saved.pbp" << true;
        QTest::newRow("no") << "window No" << true;
        QTest::newRow("yes with an empty name") << "window Yes <empty>" << false;
        QTest::newRow("cancel stops the shutdown") << "frame Cancel" << false;
    }
    void closeAsksAboutChanges() {
        QFETCH(QString, how);
        QFETCH(bool, closed);
        const QString saveName = how.section(u' ', 2);
        FrameFixture f;
        MDIMain& m = f.start();
        f.doc().InsertOverwrite(0, 0, 0, 0, QStringLiteral("typed"));
        const QString answer = how.section(u' ', 1, 1);
        f.prompts.answer(answer == u"Yes"  ? Prompts::Answer::Yes
                         : answer == u"No" ? Prompts::Answer::No
                                           : Prompts::Answer::Cancel);
        if (!saveName.isEmpty())
            f.prompts.chooseFile(saveName == QLatin1String("<empty>") ? QString() : f.path(saveName));
        if (how.startsWith(u"frame")) {
            QCOMPARE(f.close(), closed);
            QCOMPARE(m.isVisible(), !closed);
        } else {
            click(m, ids::ID_Close);
        }
        expectWindows(m, closed ? 0 : 1);
        QCOMPARE(f.prompts.messages().first(), QStringLiteral("Save Changes to ") + f.path("Untitled.pbp"));
        const QString saved = f.path(QStringLiteral("saved.pbp"));
        QCOMPARE(testsupport::readFile(saved),
                 QByteArray(saveName == QLatin1String("saved.pbp") ? "typed" : ""));
        if (saveName == QLatin1String("<empty>"))
            QCOMPARE(f.prompts.last().text, QStringLiteral("No file name entered."));
        if (!closed)
            QCOMPARE(f.doc().GetLine(0), QStringLiteral("typed"));
        f.prompts.answer(Prompts::Answer::No);
    }

    // The least scrolling that shows the caret: a line out of view lands at the edge it came in from.
    void caretMovesForTheUserShowTheCaret() {
        const struct {
            const QString& command;
            int from, target;
            bool scrolls;
        } rows[] = {{ids::ID_NBook, 0, 900, true},     {ids::ID_PBook, 0, 900, true}, // wraps
                    {ids::ID_NextError, 0, 700, true}, {ids::ID_PreviousError, 950, 10, true},
                    {ids::ID_NextError, 0, 3, false},  {ids::ID_NextError, 500, 0, true}, // wraps
                    {ids::ID_GotoLine, 0, 800, true}};
        for (const auto& [command, from, target, scrolls] : rows) {
            FrameFixture f;
            MDIMain& m = f.startWith(QStringLiteral("long.pbp"), QByteArray("HIGH PORTB.0\n").repeated(1000));
            SourceView& view = f.view();
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
            view.GetScrollPos(col, top);
            const bool shown =
                scrolls ? target == top || target == top + view.LinesInView() - 1 : top == topBefore;
            const QString row =
                command + QStringLiteral(" to %1: caret %2, top %3").arg(target).arg(view.CaretY());
            QVERIFY2(view.CaretY() == target && shown, qPrintable(row.arg(top)));
        }
    }

    // Open Include from the Edit menu and by Ctrl+click: where the file is looked for, what an open or a
    // missing file gives.
    void openInclude_data() {
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("files"); // the last one opens, unless none is found
        QTest::newRow("next to the document") << QString("lib.bas") << "src/lib.bas";
        QTest::newRow("compiler's folder, by Ctrl+click") << QString("lib.bas") << "pbp/lib.bas";
        QTest::newRow("document's folder first, by Ctrl+click")
            << QString("lib.bas") << "pbp/lib.bas src/lib.bas";
        QTest::newRow("a folder part, in backslashes") << QString("inc\\lcd.pbp") << "src/inc/lcd.pbp";
        QTest::newRow("letter case as other systems allow") << QString("LIB.BAS") << "pbp/lib.bas";
        QTest::newRow("found nowhere, by Ctrl+click") << QString("lib.bas") << "other/lib.bas";
    }
    void openInclude() {
        QFETCH(QString, named);
        QFETCH(QString, files);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString opened = tag.startsWith(u"found nowhere") ? QString() : files.section(u' ', -1);
        FrameFixture f;
        const QString root = f.dir.filePath(QStringLiteral("w"));
        for (const QString& file : files.split(u' '))
            testsupport::writeFile(root + u'/' + file, "Sub:\r\n");
        const QString doc = root + QStringLiteral("/src/prog.pbp");
        testsupport::writeFile(doc, "x = 1\r\nINCLUDE \"" + named.toUtf8() + "\" ' library\r\n");
        f.store().save(settings::startup::CompilerPathName, root + QStringLiteral("/pbp/PBPW.EXE"));
        MDIMain& m = f.start(doc);
        m.show();
        SourceView& v = f.view();
        if (tag.endsWith(u"Ctrl+click")) {
            int x = 0, y = 0;
            v.PositionToPoint(3, 1, x, y);
            QWidget* viewport = v.focusProxy()->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier,
                              viewport->mapFrom(&v, QPoint(x + 2, y + 3)));
        } else {
            // Enabled on the INCLUDE line only, checked as the Edit (and pop-up) menu opens.
            m.toolBars().Click(ids::ID_Edit);
            QVERIFY(!m.toolBars().Enabled(ids::ID_OpenInclude));
            v.MoveCaret(0, 1);
            m.toolBars().Click(ids::ID_Edit);
            QVERIFY(m.toolBars().Enabled(ids::ID_OpenInclude));
            m.toolBars().Click(ids::ID_OpenInclude);
        }
        if (opened.isEmpty()) {
            QCOMPARE(m.editors().size(), 1);
            const QString shown = f.prompts.messages().join(u'\n');
            QVERIFY2(shown.contains(named), qPrintable(shown));
            QVERIFY(shown.contains(QDir::toNativeSeparators(root + QStringLiteral("/src"))));
            QVERIFY(shown.contains(QDir::toNativeSeparators(root + QStringLiteral("/pbp"))));
            return;
        }
        QCOMPARE(m.editors().size(), 2);
#ifdef Q_OS_WIN
        // Letter case does not matter to the file system: the file opens under the name as written.
        const QString path = QDir::toNativeSeparators(QFileInfo(root + u'/' + opened).absolutePath() + u'/' +
                                                      QFileInfo(named).fileName());
#else
        const QString path = QDir::toNativeSeparators(root + u'/' + opened);
#endif
        QCOMPARE(f.active()->caption(), path);
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("Sub:"));
        // Opened as Open opens: on the recent list.
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + path);
        QVERIFY(f.prompts.messages().isEmpty());

        // Asked again from the including document, the open window comes forward; no second copy.
        m.mdiArea().setActiveSubWindow(m.editors().first());
        m.editors().first()->View().MoveCaret(0, 1);
        m.toolBars().Click(ids::ID_OpenInclude);
        QCOMPARE(m.editors().size(), 2);
        QCOMPARE(f.active()->caption(), path);
        QVERIFY(f.prompts.messages().isEmpty());
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_Commands.moc"
