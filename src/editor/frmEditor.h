#pragma once

#include <QMdiSubWindow>
#include <memory>

class MDIMain;
struct AppState;
class SourceView;
class QListWidget;
class QTextEdit;
class QTimer;
class DrawClass;
class QByteArray;
struct AppError;
namespace capture {
struct Capture;
}

// The document window: one per open source file, a child of the frame. It hosts the editor control
// `View`, the pop-up list `List1`, the syntax box `SyntaxHelp` and the compile poll timer `CheckFile`.
class frmEditor : public QMdiSubWindow {
    Q_OBJECT
public:
    frmEditor(MDIMain& frame, AppState& state);
    ~frmEditor() override;

    SourceView& View() { return *View_; }
    QListWidget& List1() { return *List1_; }
    QTextEdit& SyntaxHelp() { return *SyntaxHelp_; }
    QTimer& CheckFile() { return *CheckFile_; }

    // The id of this window's Window-menu entry.
    QString Tag;
    // The device combo entry that belongs to this document.
    qint16 DeviceIndex = 0;

    // Fills the statement table for the selected compiler, and the control's keyword lists.
    void InitPBPCodes();
    void LoadReservedWords();

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    // Returns false (Cancel) when the window must stay open.
    bool Form_Unload();
    bool SaveModified();
    QString GetShortPath(const QString& path);

    // Compiles the document as saved: writes the run's script, starts it, arms CheckFile and shows the
    // compiler output window. A compiler that cannot be found opens the compiler options instead.
    void GoCompile();
    // The poll of a run: collects the output once the capture file can be read, and marks the errors.
    void CheckFile_Timer();
    // Shows the compiler's message for a marked line (counted from 1) on the status bar.
    void GetErrorDescription(const qint32& Line);
    // The output of the last collected run of this window, or null.
    const capture::Capture* lastCapture() const { return capture_.get(); }

    // The control announces each editing command; a handler sets the code to 0 to take it over.
    void View_ExecuteCommand(int& code);

    // The window's caption: the document's full path.
    QString caption() const;
    void setCaption(const QString& caption);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyColors();
    void saveColors();
    AppError startRun(const QString& docShort, const QString& appShort, const QString& compilerShort,
                      const QString& docFolder);
    void collect(const QByteArray& bytes);

    MDIMain& frame_;
    AppState& state_;
    SourceView* View_;
    QListWidget* List1_;
    QTextEdit* SyntaxHelp_;
    QTimer* CheckFile_;
    std::unique_ptr<DrawClass> draw_;
    // Parsed once per run, so that a caret move on an error line reads no file.
    std::unique_ptr<capture::Capture> capture_;
    bool unloaded_ = false;
};
