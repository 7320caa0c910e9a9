#pragma once

#include "language/QuickLists.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <memory>
#include <utility>

class FrameServices;
struct AppState;
class SourceView;
class QListWidget;
class QTextEdit;
class QTimer;
class DrawClass;
class LabelWatch;
class frmScan;
class QByteArray;
struct AppError;
namespace capture {
struct Capture;
struct ErrorLine;
} // namespace capture

// The document window: one per open source file, a child of the frame. It hosts the editor control
// `View`, the pop-up list `List1`, the syntax box `SyntaxHelp` and the compile poll timer `CheckFile`.
class frmEditor : public QMdiSubWindow {
    Q_OBJECT
public:
    frmEditor(FrameServices& frame, AppState& state);
    ~frmEditor() override;

    SourceView& View() { return *View_; }
    QListWidget& List1() { return *List1_; }
    QTextEdit& SyntaxHelp() { return *SyntaxHelp_; }
    QTimer& CheckFile() { return *CheckFile_; }
    // Jumps to missing labels and labels defined twice, kept up to date with the text.
    LabelWatch& labelWatch() { return *labels_; }

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

    // The label and declaration scanner (frmEditor_scan.cpp). The column arguments are not used.
    void CheckForLabels(int col, int line);
    void CheckForVariables(int col, int line);
    void UpdateLabels();
    // The scan after loading: the marks and label combo that CheckForLabels and CheckForVariables
    // leave on every line in turn, reached in one pass; the progress window shows it when given.
    void ScanDocument(frmScan* progress);

    // Caret tracking (frmEditor_caret.cpp).
    void View_CaretMove(int col, int line);

    // The quick pop-up lists (frmEditor_quicklist.cpp).
    void ShowQuickList(qint16 Key);

    // Compiles the document as saved: writes the run's script, starts it, arms CheckFile and shows the
    // compiler output window. A compiler that cannot be found opens the compiler options instead.
    void GoCompile();
    // The poll of a run: collects the output once the capture file can be read, and marks the errors.
    void CheckFile_Timer();
    // Shows the compiler's message for a marked line (counted from 1) on the status bar.
    void GetErrorDescription(const qint32& Line);
    // The output of the last collected run of this window, or null.
    const capture::Capture* lastCapture() const { return capture_.get(); }
    // Clears this document's error marks and marks the lines the errors report (counted from 1), each
    // with the first message reported for it; `source` is the window whose run reported them (this
    // one, or the document that INCLUDEs this file). Returns true when a line was marked.
    bool markErrors(const QList<capture::ErrorLine>& errors, frmEditor* source);
    // The window whose run set this document's error marks, or null.
    frmEditor* errorSource() const { return errorSource_; }

    // Keyboard and mouse (frmEditor_keys.cpp). The control announces each editing command; a handler
    // sets the code to 0 to take it over.
    void View_KeyDown(int& KeyCode, int Shift);
    void View_KeyUp(int& KeyCode, int Shift);
    void View_KeyPress(int& KeyAscii);
    void View_ExecuteCommand(int& code);
    void View_LinesChanged();
    void View_MouseUp(int Button, int Shift, int X, int Y);
    void List1_DblClick();
    void List1_GotFocus();

    // What the frame shows of this window while it is active (read by the frame's binder, which the
    // signals below tell when to read again).
    // The caret's place as panel 1 shows it: "Line: 12 Col: 5", counted from 1 on screen.
    QString positionText() const;
    // Panel 2: the statement under the caret, the compiler's message for a marked line, or the list.
    QString statusText() const { return statusText_; }
    void setStatusText(const QString& text);
    // The label whose section holds the caret; null before the first label.
    QString labelAtCaret() const;
    // The document's labels in order, as the label combo lists them.
    const QStringList& labels() const { return labelNames_; }
    bool errorAtCaret() const;
    bool hasErrorMarks() const;
    bool includeAtCaret() const;
    // The token at the caret, or under the last mouse release, has a colour of the user's.
    bool tokenColorable() const;
    // The token class at the caret (or just before it, at the end of a word).
    int caretTokenClass() const;
    // Clear Error and Clear All Errors: the mark of the caret's line, or every mark.
    void ClearError();
    void ClearAllErrors();

    // The window's caption: the document's full path (the title bar shows the file name first).
    QString caption() const;
    void setCaption(const QString& caption);

    // Sets the background and the token colours from the store, as every window shows them.
    void applyColors();
    // Shows the stock token colours that read on the current background; the colours the user chose stay.
    void followBackground();
    // Gives the pop-up list and the syntax line a frame and a background of their own over the code.
    void stylePopups();
    // A token colour the user chose: shown, printed and stored as it is, whatever the background.
    bool isOwnColor(int tokenClass) const;

signals:
    // The caret moved or what the frame shows for it changed (position, statement, label, selection).
    void caretStateChanged();
    void undoStateChanged();
    void selectionChanged();
    void errorMarksChanged();
    // A compile run of this document has been collected; `clean` when it reported no error.
    void compileFinished(bool clean);
    void labelsChanged();
    // The window has closed (it is hidden; it is deleted later).
    void closed(frmEditor* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The document's full path, as the tabs, the Window menu and the duplicate check compare it.
    QString caption_;
    // The token just before the caret column (at col - 1, or col at column 0).
    void tokenBefore(int col, int line, int& cls, int& start, int& length) const;
    // View_CaretMove's work, before it tells the frame.
    void trackCaret(int col, int line);
    // The labels after an edit that changed only label lines in place; false when a full read is needed.
    bool updateChangedLabels(QStringList& names);
    // Accepting a list entry by ListMode, replacing (col1, col2) of the caret line.
    void acceptEntry(int col1, int col2);
    int typedWordStart() const;
    // ShowQuickList's parts.
    void fillList(quicklists::Source source);
    void showList();
    void showSyntaxLine();
    void hideQuickList();
    QStringList listEntries(quicklists::Source source) const;
    void saveColors();
    AppError startRun(const QString& docShort, const QString& appShort, const QString& compilerShort,
                      const QString& docFolder);
    void collect(const QByteArray& bytes);

    FrameServices& frame_;
    AppState& state_;
    SourceView* View_;
    QListWidget* List1_;
    QTextEdit* SyntaxHelp_;
    QTimer* CheckFile_;
    std::unique_ptr<DrawClass> draw_;
    LabelWatch* labels_;
    // Parsed once per run, so that a caret move on an error line reads no file.
    std::unique_ptr<capture::Capture> capture_;
    // The messages of the marked lines; slot capture::MessageSlot of a line holds its number from 1.
    QStringList errorMessages_;
    QPointer<frmEditor> errorSource_;
    bool unloaded_ = false;
    QString statusText_;
    // The screen line (from 1) of the last caret move; a move to another line closes the lists.
    int caretLine_ = 0;
    // How the entries of the list List1 holds are inserted (ListMode at its fill).
    qint32 listInsertMode_ = 0;
    // The document's labels, their lines, and the document's revision when they were read; known is
    // false until a full read has made the lists exact.
    QStringList labelNames_;
    QList<int> labelLines_;
    quint64 labelsRevision_ = 0;
    bool labelsKnown_ = false;
    // One bit per token class whose colour is the user's own.
    quint32 ownColors_ = 0;
    // The stock colour this window last showed for each class, NoStock where it showed none.
    static constexpr qint64 NoStock = -1LL << 40;
    std::array<qint64, 16> stock_{};
    // What the pop-ups were last styled for: the text background and the application palette.
    std::pair<qint32, qint64> popupsStyledFor_{0, -1};
};
