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

    MDIMain& frame_;
    AppState& state_;
    SourceView* View_;
    QListWidget* List1_;
    QTextEdit* SyntaxHelp_;
    QTimer* CheckFile_;
    std::unique_ptr<DrawClass> draw_;
    bool unloaded_ = false;
};
