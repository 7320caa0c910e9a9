#pragma once

#include <QList>
#include <QString>

struct AppError;
struct AppState;
class ActiveToolBars;
class CompilerScreen;
class HelpViewer;
class QMdiSubWindow;
class SourceView;
class QWidget;
class frmEditor;
namespace capture {
struct ErrorLine;
}

// What a window may ask of the frame it lives in. The windows (editor, terminal, compiler output,
// options and go-to-line dialogs) hold this, never the frame itself; what they know of their own state
// they announce as signals, and the frame decides what it shows.
class FrameServices {
public:
    // The frame as a parent for dialogs and windows.
    virtual QWidget* frameWindow() = 0;
    virtual AppState& state() = 0;
    // The menus, the toolbars and their combos (the device combo, the pop-up menus).
    virtual ActiveToolBars& toolBars() = 0;
    virtual HelpViewer& help() = 0;
    // The error box of a command that failed.
    virtual void ShowError(const AppError& e) = 0;
    // A passing word in the status bar, over panels 1 and 2 (which stay the binder's), gone after a
    // few seconds or at the next one.
    virtual void showStatusMessage(const QString& text) = 0;

    // The open documents in load order, and the one in front (null when another window or none is).
    virtual QList<frmEditor*> editors() const = 0;
    virtual frmEditor* activeEditor() const = 0;
    // The editor control of the active document, or null.
    virtual SourceView* activeView() const = 0;
    // The window showing a path, activated; opened as a recent entry would be when none shows it.
    virtual frmEditor* openOrActivate(const QString& path) = 0;
    // Brings a window and the frame to the front.
    virtual void showWindow(QMdiSubWindow* window) = 0;
    // Brings a document to the front: `window` while it is open, else the window showing `path`,
    // opened when none does. Its editor control, or null when it could not be opened.
    virtual SourceView* showDocument(QMdiSubWindow* window, const QString& path) = 0;
    // Every document tool and status panel from the window in front.
    virtual void EnableTools() = 0;
    // A document window is closing: the window list, the tab and the count of open files follow.
    virtual void documentClosing(frmEditor& window) = 0;

    // Saves a window's document under `path` (see the frame for the questions it may ask).
    virtual AppError saveDocument(frmEditor& w, QString path) = 0;
    // Opens the file an INCLUDE line names, or activates the window that shows it.
    virtual AppError openInclude(frmEditor& w, int line) = 0;
    // The errors the last run of `compiled` reported for a file it INCLUDEs at `path`.
    virtual QList<capture::ErrorLine> errorsForFile(frmEditor& compiled, const QString& path) const = 0;
    // The compiler output window, created on first use.
    virtual CompilerScreen& compilerScreen() = 0;

    // The device list, the ports of the selected device, and the compiler shown in the status bar.
    virtual void GetDevices() = 0;
    virtual void GetDeviceData(bool Reload) = 0;
    virtual void ShowCompilerPanel() = 0;

protected:
    ~FrameServices() = default;
};
