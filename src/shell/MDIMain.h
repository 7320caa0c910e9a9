#pragma once

#include "common/AppState.h"
#include "common/FrameServices.h"
#include "platform/AppError.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class ActiveToolBars;
class Autosave;
class QFileSystemWatcher;
class StatusPanel;
class QToolButton;
class QTimer;
class QMdiArea;
class QMdiSubWindow;
class SourceView;
class QTabBar;
class frmComm;
class frmEditor;
class HelpViewer;
class LabelCombo;
class CompilerScreen;
class CodeExplorer;
class EditActions;
class Simulation;
namespace capture {
struct ErrorLine;
}

// The multiple-document frame: menus and toolbars, the MDI area with its tab strip, the status bar,
// and the frame operations the other windows call.
class MDIMain : public QMainWindow, public FrameServices {
    Q_OBJECT
public:
    MDIMain(Settings& settings, Prompts& prompts, QWidget* parent = nullptr);
    ~MDIMain() override;

    // Start-up, with the command line's text (empty for none); it shows the frame once it is placed.
    void MDIForm_Load(const QString& commandLine);
    // Shutdown's last steps, after every editor window has closed.
    void MDIForm_Unload();

    QWidget* frameWindow() override { return this; }
    AppState& state() override { return state_; }
    ActiveToolBars& toolBars() override { return *SSActiveToolBars1; }
    void showStatusMessage(const QString& text) override;
    QMdiArea& mdiArea() { return *mdiArea_; }
    QTabBar& TaskBar() { return *TaskBar_; }

    // Status bar panels, numbered from 1.
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    QString PanelToolTip(int panel) const;

    // The tab strip's Tag: "True" while the program itself selects a tab.
    QString taskBarTag() const { return taskBarTag_; }
    void setTaskBarTag(const QString& tag) { taskBarTag_ = tag; }
    // Selects a tab with the Tag raised, so the click handler leaves it alone.
    void selectTabQuietly(int index);
    // The task bar tab of the window with this caption; -1 when there is none.
    int tabOf(const QString& caption) const;

    // Frame operations used by other windows.
    void ShowError(const AppError& e) override;
    // Every document tool, status panel and the label combo from the active window (EditActions).
    void EnableTools() override;
    void AddToWindowList(const QString& caption);
    void RemoveFromWindowList(frmEditor& window);
    // Marks the window's tab and Window-menu entry while its document has unsaved changes.
    void showModifiedMark(frmEditor& window);
    void UpdateOpenDocsCaption();
    void ShowCompilerPanel() override;
    // Saves a window's document under `path`: asks first when its encoding cannot hold the text (saved
    // as UTF-8, or not at all: the error is then Cancelled), and makes the folder of a new document
    // that is missing (the home folder takes the file when it cannot be made).
    AppError saveDocument(frmEditor& w, QString path) override;

    qint16 OpenDocCount = 0;

    // The active editor window (the frame's active child), or null.
    frmEditor* activeEditor() const override;
    SourceView* activeView() const override;
    // Every editor window in load order.
    QList<frmEditor*> editors() const override;
    // The serial terminal window while it is open, or null.
    frmComm* terminalWindow() const;
    // The simulated board behind the Simulate command, created on first use.
    Simulation& simulation();
    // Ends a running simulation (the terminal on it is told `why`).
    void stopSimulation(const QString& why = QString());

    // The command dispatcher: every menu entry and toolbar button arrives here with its id.
    void SSActiveToolBars1_ToolClick(const QString& id);
    void SSActiveToolBars1_ComboDropDown(const QString& id);
    void SSActiveToolBars1_ComboCloseUp(const QString& id);

    // The device list of the device combo, and the ports of the selected device.
    void GetDevices() override;
    void GetDeviceData(bool Reload) override;
    QString deviceFile() const;

    HelpViewer& help() override { return *help_; }
    // The label combo ID_GotoLabel as the scanner fills it.
    LabelCombo& labelCombo() { return *labelCombo_; }

    // Opens a document or address with the desktop; "Unable to launch application." on failure.
    void ShellOpen(const QString& target);

    // Opening a window for a path (New, Open and the recent entries); false when refused, with the
    // reason in `err` when it is an error to report (the duplicate check says its message itself).
    bool OpenDocumentWindow(const QString& path, AppError* err = nullptr);
    // The window showing a path, or null.
    frmEditor* editorShowing(const QString& path) const;
    // The window showing a path, activated; opened as a recent entry would be when none shows it.
    frmEditor* openOrActivate(const QString& path) override;
    void showWindow(QMdiSubWindow* window) override;
    SourceView* showDocument(QMdiSubWindow* window, const QString& path) override;
    void documentClosing(frmEditor& window) override;

    // The errors the last run of `compiled` reported for the file at `path`, a file it INCLUDEs (found
    // as Open Include finds it); empty when the run reported none there.
    QList<capture::ErrorLine> errorsForFile(frmEditor& compiled, const QString& path) const override;
    // Marks, in a window just opened, the errors that an open document's last run reported for its file.
    void markIncludedErrors(frmEditor& w);

    // The compiler output window, created on first use; one for the whole program.
    CompilerScreen& compilerScreen() override;

    // Asks about every document that another program changed or removed on disk.
    void checkDocumentsOnDisk();

    // Copies every modified document whose text changed since its last copy to the autosave folder
    // (what the autosave timer does).
    void autosaveNow();
    // Offers back, one by one, the unsaved text a program that ended without cleaning up left behind.
    void offerAutosaved();

    // The view (MDIMain_view.cpp): the code explorer panel, the editors' zoom, Open Include.
    CodeExplorer& codeExplorer() { return *explorer_; }
    // Shows or hides the explorer and stores the choice.
    void setCodeExplorerShown(bool shown);
    // The stored choice to number the lines of printouts, shown checked in the Options menu.
    bool printLineNumbers() const;
    void setPrintLineNumbers(bool on);
    // Every editor window takes the zoom (points from the normal size), which is stored.
    void setEditorZoom(int points);
    // Opens the file an INCLUDE line of a window names (next to its document, else in the compiler's
    // folder), or activates the window that already shows it; a clear message when neither has it.
    AppError openInclude(frmEditor& w, int line) override;

signals:
    // Emitted after an editor window has been created and shown (tests, tools).
    void editorOpened(frmEditor* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Files dropped on the frame open as if chosen with Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildStatusBar();
    // The encoding panel follows the active window.
    void showEncoding();
    // The read-only sign on the tabs and in the status bar follows the files' permissions.
    void showReadOnly();
    // The encoding 8-bit files are read in: the system's, else the stored default.
    QString eightBitEncoding() const;
    // A file that does not look like text opens only when the user says so.
    bool confirmTextFile(const QString& path);
    // After a save under another name: the caption, the tab and the Window-menu entry follow it.
    void showRenamed(frmEditor& w, int tab);
    void applyPlacement();
    // Wraps the toolbars onto as many rows as the frame's width needs.
    void reflowToolBars();
    void restoreRecentFiles();
    void fitMenusToScreen();
    // Creates, loads and shows an editor window; null (and the error) when the file cannot be read.
    frmEditor* createEditor(const QString& path, AppError* err = nullptr);
    void onSubWindowActivated(QMdiSubWindow* window);
    void onEditorClosed(frmEditor* window);

public:
    void TaskBar_Click();

private:
    void registerCommands();
    // Creates the code explorer where it was last left.
    void buildCodeExplorer();
    // Watches the files of the open documents (the list follows opening, closing and saving).
    void watchDocuments();
    void reloadFromDisk(frmEditor& w);
    void startAutosave();
    void dropAutosave(const frmEditor& w);
    bool restoreAutosaved(const QString& path, const QByteArray& bytes, const QString& encoding);
    // The duplicate check: says "File Already Open!" and returns true when a tab holds the path.
    bool isDuplicate(const QString& path);
    void finishOpening(frmEditor* w);
    void scanDocument(frmEditor* w);
    void activateWindowEntry(const QString& id);

    // Commands of the document set.
    AppError cmdNew();
    AppError cmdOpen();
    // Opens a chosen file: the window, the recent list, the scan.
    AppError openChosenFile(const QString& name);
    AppError cmdRecent(int n);
    AppError cmdSaveAs(frmEditor& w);
    AppError cmdClose(frmEditor& w);
    AppError cmdReopenWithEncoding(frmEditor& w);
    AppError cmdSaveWithEncoding(frmEditor& w);
    // Commands on the active window's text and marks.
    AppError cmdSelectLines(frmEditor& w, bool all);
    AppError cmdBookmark(frmEditor& w, int code);
    AppError cmdClearBookmarks();
    AppError cmdGotoError(frmEditor& w, bool next);
    AppError cmdCompile(frmEditor& w);
    AppError cmdCompilerOptions();
    AppError cmdProgrammerOptions();
    // Commands over every window.
    AppError cmdBackgroundColor();
    AppError cmdTokenColor();
    // Every editor window takes its background and token colours from the store again.
    void recolorEditors();
    // The windows Tile and Cascade arrange: shown and not minimised, in creation order.
    QList<QMdiSubWindow*> arrangedWindows() const;
    AppError cmdTile(bool horizontal);
    AppError cmdArrange();
    AppError cmdCascade();
    // Ctrl+F6, Ctrl+Tab and Ctrl+PgDn go to the next window, with Shift (PgUp) to the previous one.
    void installWindowKeys();
    // The window of the tab `step` places from the current one, round the ends.
    void switchWindow(int step);
    AppError cmdAbout();
    AppError cmdDebug();
    AppError cmdSimulate(frmEditor& w);
    AppError cmdStopSimulation();
    AppError cmdSimulatorOptions();
    AppError startSimulation(frmEditor& w, const QString& hex);
    void compileCollected(frmEditor* w, bool clean);
    void showSimulationState();

    // Commands by id; those that act on the active editor window get it, or fail when there is none.
    QHash<QString, std::function<AppError()>> commands_;
    QHash<QString, std::function<AppError(frmEditor&)>> editorCommands_;

    Settings& settings_;
    AppState state_;
    ActiveToolBars* SSActiveToolBars1;
    QMdiArea* mdiArea_;
    QWidget* TaskBarPanel;
    QTabBar* TaskBar_;
    QList<StatusPanel*> panels_;
    QToolButton* encodingPanel_ = nullptr;
    QString taskBarTag_ = QStringLiteral("False");
    QList<QPointer<frmEditor>> loadOrder_;
    QPointer<frmComm> terminal_;
    Simulation* simulation_ = nullptr;
    // The document being simulated, and the one whose compile a simulation waits for.
    QPointer<frmEditor> simDocument_;
    QPointer<frmEditor> simAfterCompile_;
    // The editor window whose activation ran last.
    QPointer<QMdiSubWindow> lastActivated_;
    std::unique_ptr<HelpViewer> help_;
    QFileSystemWatcher* diskWatcher_;
    QTimer* diskCheck_;
    bool checkingDisk_ = false;
    std::unique_ptr<Autosave> autosave_;
    QTimer* autosaveTimer_;
    // The copy of each window, by the revision of its text when it was written.
    struct AutosaveMark {
        QString id;
        quint64 revision = 0;
    };
    QHash<const frmEditor*, AutosaveMark> autosaved_;
    int autosaveIds_ = 0;
    std::unique_ptr<LabelCombo> labelCombo_;
    EditActions* editActions_ = nullptr;
    // The tab beside a closing active window's: the window activated once it has gone.
    QPointer<frmEditor> closingNeighbour_;
    QPointer<CompilerScreen> compilerScreen_;
    CodeExplorer* explorer_ = nullptr;
    bool unloaded_ = false;
    // Where start-up put the frame when it fitted a stored placement onto a smaller screen (null when
    // it did not): left there, the stored placement is kept at exit.
    QRect fittedPlacement_;
    StatusPanel* readOnlyPanel_ = nullptr;
    QList<int> toolBarRows_; // the row of each toolbar as last wrapped
    // The device-list failure last reported, with the file's size and time then.
    QString deviceFailure_;
};
