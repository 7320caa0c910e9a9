#pragma once

#include "platform/sourceview/GlyphTable.h"
#include "platform/sourceview/ISourceDraw2.h"
#include "platform/sourceview/SourceDocument.h"
#include "platform/sourceview/TokenStyles.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class FindReplaceDialog;
class Prompts;
class QKeyEvent;
class QMimeData;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QPrinter;
class QTextDocument;
class QTextLayout;
class SourceMargin;
class SourceTextArea;

// The source-editing control: a monospace, non-wrapping text view over a SourceDocument, coloured by
// token class, with a margin, bookmarks, numbered commands, find/replace, printing and a drawing hook.
// Lines and columns count from 0; a position is (col, line). TABs advance to the next multiple of
// TabWidth columns. Coordinates are SourceView widget pixels.
//
// Commands. Every editing command, whether it comes from a key or from ExecuteCommand, is first
// announced with ExecuteCommandEvent(code); a handler that sets code to 0 cancels it.
//   1 clear all bookmarks      Ctrl+Shift+F2      4 next bookmark (wraps)    F2
//   5 previous bookmark (wraps) Shift+F2          6 toggle bookmark          Ctrl+F2
//   9 caret up                 Up                10 caret down               Down
//  19 caret left               Left              20 caret right              Right
//  21 delete before caret      Backspace         34 cancel                   Esc
//  39 go to line (only announced; the control does nothing else)            Ctrl+G
//  43 indent: a TAB at column 0 of each selected line   Tab with a selection spanning lines
//  44 outdent: one leading TAB off each selected line   Shift+Tab
//  50 cut  Ctrl+X, Shift+Del      51 copy  Ctrl+C, Ctrl+Ins     52 paste  Ctrl+V, Shift+Ins
//  53 undo Ctrl+Z, Alt+Backspace  54 redo  Ctrl+Y, Ctrl+Shift+Z 55 find   Ctrl+F
//  56 find next F3                57 replace Ctrl+H            58 select all Ctrl+A
//  59 delete after caret Del      60 page up PgUp              61 page down PgDn
//  62 line start Home             63 line end End              64 document start Ctrl+Home
//  65 document end Ctrl+End       66 word left Ctrl+Left       67 word right Ctrl+Right
//  68 select word                 69 delete word before Ctrl+Backspace  70 delete word after Ctrl+Del
//  71 zoom in  Ctrl+Plus, Ctrl+=, Ctrl+wheel up    72 zoom out  Ctrl+Minus, Ctrl+wheel down
//  73 normal size  Ctrl+0
//  With Shift the movement keys extend the selection: 9, 10, 19, 20, 60..67 + 100 (109, 110, ...).
//  Up, Down, PageUp and PageDown keep the column (TABs expanded) aimed at over shorter lines.
// Typing, Enter and a TAB without a multi-line selection are plain text input (KeyPress), not commands.
class SourceView : public QWidget {
    Q_OBJECT
public:
    enum Command : int {
        CmdClearBookmarks = 1,
        CmdNextBookmark = 4,
        CmdPreviousBookmark = 5,
        CmdToggleBookmark = 6,
        CmdUp = 9,
        CmdDown = 10,
        CmdLeft = 19,
        CmdRight = 20,
        CmdBackspace = 21,
        CmdCancel = 34,
        CmdGotoLine = 39,
        CmdIndent = 43,
        CmdOutdent = 44,
        CmdCut = 50,
        CmdCopy = 51,
        CmdPaste = 52,
        CmdUndo = 53,
        CmdRedo = 54,
        CmdFind = 55,
        CmdFindNext = 56,
        CmdReplace = 57,
        CmdSelectAll = 58,
        CmdDelete = 59,
        CmdPageUp = 60,
        CmdPageDown = 61,
        CmdLineStart = 62,
        CmdLineEnd = 63,
        CmdDocStart = 64,
        CmdDocEnd = 65,
        CmdWordLeft = 66,
        CmdWordRight = 67,
        CmdSelectWord = 68,
        CmdDeleteWordBefore = 69,
        CmdDeleteWordAfter = 70,
        CmdZoomIn = 71,
        CmdZoomOut = 72,
        CmdZoomReset = 73,
        CmdFindPrevious = 74,
        CmdExtend = 100, // added to a movement command: extend the selection
    };
    static constexpr int TabWidth = 4;
    // Pixels between the text area's left edge and column 0.
    static constexpr int TextMargin = 4;

    explicit SourceView(QWidget* parent = nullptr);
    ~SourceView() override;

    SourceDocument& Document() { return document_; }
    const SourceDocument& Document() const { return document_; }
    TokenStyles& TokenInfo() { return tokenInfo_; }
    TokenStyles& PrintTokenInfo() { return printTokenInfo_; }

    int CaretX() const;
    int CaretY() const;
    bool TextSelected() const;
    // The selection from its start to its end (both the caret when nothing is selected).
    void GetSel(int& col1, int& line1, int& col2, int& line2) const;
    // Selects from (col1, line1) to (col2, line2); the caret ends at (col2, line2).
    void SetSel(int col1, int line1, int col2, int line2);
    // Moves the caret and scrolls it into view with the least scrolling.
    void MoveCaret(int col, int line);
    void SetScrollPos(int col, int line);
    void GetScrollPos(int& col, int& line) const;
    // How many whole lines the text area shows.
    int LinesInView() const;

    void SelectWord();
    // Puts a TAB before each selected line (or the caret line), or takes one leading TAB away, in one
    // undo step, and selects those lines whole.
    void IndentLines(bool outdent);
    // Moves the selected text to (col, line), in one undo step, and selects it there; as dropping a
    // drag of it there does. Nothing happens inside the selection.
    void MoveSelectionTo(int col, int line);
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void Redo();
    void Find();
    // F3 repeats the last search in its direction; Shift+F3 searches the other way for it.
    void FindNext();
    void FindPrevious();
    void Replace();
    // Searches from the caret (the selection end going forward, its start going backward), wrapping
    // around once with a StatusMessage; selects the match. Shows "Cannot find "what"" through Prompts,
    // over `asker` (the window that asked, the view when null), when nothing matches.
    bool FindText(const QString& what, bool matchCase, bool wholeWord, bool forward, QWidget* asker = nullptr);
    // Replaces every match in one undo step and says how many; returns the count.
    int ReplaceAll(const QString& what, const QString& with, bool matchCase, bool wholeWord,
                   QWidget* asker = nullptr);
    // Replaces the selection when it is a match, then finds the next one.
    bool ReplaceOnce(const QString& what, const QString& with, bool matchCase, bool wholeWord,
                     QWidget* asker = nullptr);
    // Offers the print dialog (its Selection range while text is selected) and prints: a header on each
    // page, long lines wrapped at a name boundary with a marked continuation, line numbers if asked.
    void PrintText();
    // Prints the selection alone when the printer's range is Selection and text is selected.
    bool PrintTo(QPrinter& printer);
    // The text PrintTo prints, one block a line with TABs expanded, in the PrintTokenInfo colours and
    // styles: the whole document, or the selection.
    std::unique_ptr<QTextDocument> printDocument(bool selectionOnly = false) const;
    // Printouts number their lines; the editor window passes the user's choice.
    bool PrintLineNumbers() const { return printLineNumbers_; }
    void SetPrintLineNumbers(bool on) { printLineNumbers_ = on; }
    void Refresh();
    void SetFocus();
    void ExecuteCommand(int code);

    int MarginStyle() const { return marginStyle_; }
    void SetMarginStyle(int style);
    // The cells the margin spans: at least the stock number, more where the last line's number needs them.
    int MarginCells() const;
    int CellWidth() const;
    int LineHeight() const;
    int MarginWidth() const { return marginStyle_ == 0 ? 0 : MarginCells() * CellWidth(); }

    // The font size as points added to the normal size; kept so that the size stays between
    // MinPointSize and MaxPointSize. The margin follows the size.
    static constexpr int MinPointSize = 6;
    static constexpr int MaxPointSize = 48;
    int Zoom() const { return zoom_; }
    void SetZoom(int points);

    qint32 BackColor() const { return backColor_; }
    void SetBackColor(qint32 color);
    qint32 TextBackColor() const { return textBackColor_; }
    void SetTextBackColor(qint32 color);

    void HitTest(int x, int y, int& col, int& line) const;
    // Out of the line (or col < 0): class 0, start col, length 0.
    void GetTokenAt(int col, int line, int& tokenClass, int& tokenStart, int& tokenLength) const;
    // The column with TABs expanded (TabWidth); the line is unchanged (no wrapping).
    void GetDisplayPos(int col, int line, int& displayCol, int& displayLine) const;
    // The top-left corner of the character cell at (col, line).
    void PositionToPoint(int col, int line, int& x, int& y) const;

    // The help topic of what the caret stands on (0: none), for the help key.
    int HelpContextID() const { return helpContextId_; }
    void SetHelpContextID(int id) { helpContextId_ = id; }

    ISourceDraw2* DrawHook() const { return drawHook_; }
    void SetDrawHook(ISourceDraw2* hook);
    void SetPrompts(Prompts* prompts) { prompts_ = prompts; }
    Prompts* prompts() const;

    // The command a key runs, or 0 for plain input (see the table above).
    int commandForKey(int keyCode, int shift, bool multiLineSelection) const;

signals:
    void CaretMove(int col, int line);
    void KeyDown(int& KeyCode, int Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int Shift);
    void LinesChanged();
    // The selected text changed (it may now be none).
    void SelectionChanged();
    void MouseMove(int Button, int Shift, int X, int Y);
    void MouseUp(int Button, int Shift, int X, int Y);
    void ExecuteCommandEvent(int& code);
    // The zoom commands changed the font size (not raised by SetZoom).
    void ZoomChanged(int points);
    // A passing remark for the status bar ("Search wrapped to the top").
    void StatusMessage(const QString& text);

protected:
    void changeEvent(QEvent* e) override;

private:
    friend class SourceTextArea;
    friend class SourceMargin;
    friend class SourceAccessible;

    // SourceView_access.cpp: the text as assistive technology sees it, one offset over all lines
    // (a line break counts one).
    int offsetOf(TextPos p) const;
    TextPos posAt(int offset) const;
    void tellAssistants(TextPos from, const QString& removed, const QString& inserted);

    // SourceView_paint.cpp
    void paintTextArea(QPaintEvent* e);
    void paintMargin(QPaintEvent* e);
    // Draws a line's text in the row r; the characters of a simple line that lie wholly outside x from
    // clipLeft to clipRight (what is being painted) are left out.
    void drawLineText(QPainter& p, int line, const QRectF& r, const QColor* overrideText, qreal clipLeft,
                      qreal clipRight);
    // Where column 0 of the text is, in SourceView pixels; where a hook's line drawing starts.
    int textLeft() const;
    // The display column after a character at display column `d` (TABs go to the next stop).
    static int nextColumn(int d, QChar c) { return c == u'\t' ? (d / TabWidth + 1) * TabWidth : d + 1; }
    // The display column of `col` in `line`; columns past the line's end count one each.
    int displayColumn(int line, int col) const;
    int xOrigin() const;
    static bool isSimpleLine(QStringView text);
    // A laid-out line, for the lines isSimpleLine() refuses.
    std::unique_ptr<QTextLayout> layoutLine(int line) const;
    // The x of a column from the start of the line's text.
    qreal xOfCol(int line, int col) const;
    int colAtX(int line, qreal x) const;
    qreal cellAdvance() const;
    // The glyphs simple lines are drawn from: the text font and its bold.
    GlyphTable plainGlyphs_, boldGlyphs_;
    // SourceView_input.cpp
    void handleKeyPress(QKeyEvent* e);
    void handleKeyRelease(QKeyEvent* e);
    void handleMouseMove(QMouseEvent* e);
    void handleMouseRelease(QMouseEvent* e, QWidget* from);
    void runCommand(int code);
    void moveCaretBy(int code);
    void moveVertically(int lines, bool extend);
    void handleMousePress(QMouseEvent* e, bool doubleClick);
    void dragTo(QPoint viewportPoint);
    bool insideSelection(TextPos p) const { return TextSelected() && selStart() <= p && p <= selEnd(); }
    void startTextDrag();
    // SourceTextArea's drag and drop events; false when the view does not take the data.
    bool dragOver(const QMimeData* mime, QPoint viewportPoint);
    bool dropText(const QMimeData* mime, QPoint viewportPoint, bool fromHere, bool copy);
    void handleInput(QInputMethodEvent* e);
    // Puts `text` in place of the selection (or at the caret); the caret ends after it.
    void insertText(const QString& text);
    TextPos wordLeft(TextPos p) const;
    TextPos wordRight(TextPos p) const;
    TextPos charLeft(TextPos p) const;
    TextPos charRight(TextPos p) const;
    // SourceView.cpp
    void updateMargin();
    void restartCaretBlink();
    void stopCaretBlink();
    void blinkCaret();
    void applyColors();
    // Repaints whole lines in the text area and, with them, their margin cells.
    void repaintLines(int line1, int line2);
    // Repaints whole lines in the text area only: their text changed, not their numbers or marks.
    void repaintText(int line1, int line2);
    void repaintMarginLines(int line1, int line2);
    // Repaints a line after an edit within it (columns col to newEndCol now, `removed` before), from
    // the first column whose look may have changed.
    void repaintEdit(int line, int col, int newEndCol, const QString& removed);
    // The pixel rows [first, end) of lines line1 .. line2 in the view, clipped to it; empty when none
    // is shown.
    std::pair<int, int> rowsOf(int line1, int line2) const;
    // The scroll bars moved the text by dx pixels and dyLines lines.
    void contentsScrolled(int dx, int dyLines);
    TextPos selStart() const { return std::min(caret_, anchor_); }
    TextPos selEnd() const { return std::max(caret_, anchor_); }
    // Sets the caret and the selection's other end; CaretMove tells when the caret moved.
    void setCaret(TextPos caret, TextPos anchor);
    // The same, then shows the caret with the least scrolling.
    void placeCaret(TextPos caret, TextPos anchor);
    void placeCaret(TextPos caret) { placeCaret(caret, caret); }
    void ensureCaretVisible();
    // SourceView_find.cpp: selects a match, scrolls it clear of the view's edges and of the find dialog.
    void showFound(TextPos start, TextPos end);
    // A caret's rectangle in viewport pixels, at the caret or elsewhere.
    QRect caretRect(TextPos p) const;
    QRect caretRect() const { return caretRect(caret_); }
    TextPos hitTest(QPoint viewportPoint) const;
    void onTextReplaced(TextPos from, TextPos oldEnd, TextPos newEnd, const QString& removed);
    void onContentsReset();
    void updateScrollBars();
    // How far the view scrolls sideways at once, and the step of the horizontal range: a quarter of
    // the view in whole cells.
    int horizontalStep() const;
    int firstLine() const;
    qreal lineHeightF() const;
    // Top of a line in viewport pixels, also for lines out of view.
    qreal lineTop(int line) const;
    QPoint viewportOrigin() const;

    SourceDocument document_;
    TokenStyles tokenInfo_;
    TokenStyles printTokenInfo_;
    SourceTextArea* textArea_;
    SourceMargin* margin_;
    ISourceDraw2* drawHook_ = nullptr;
    Prompts* prompts_ = nullptr;
    QPointer<FindReplaceDialog> findDialog_;
    int helpContextId_ = 0;
    bool printLineNumbers_ = false;
    int marginStyle_ = 1;
    // The margin is never narrower than this many cells.
    static constexpr int MinMarginCells = 6;
    int zoom_ = 0;
    qreal normalPointSize_ = 10;
    // Wheel turns smaller than a notch add up until they make one.
    int wheelZoomAngle_ = 0;
    qint32 backColor_;
    qint32 textBackColor_;
    QString lastFind_;
    bool lastMatchCase_ = false;
    bool lastWholeWord_ = false;
    bool lastForward_ = true;
    TextPos caret_;
    TextPos anchor_;
    int desiredDisplayCol_ = -1;    // kept while the caret moves up and down
    int widestLine_ = 0;            // in display columns; grows with edits, measured again on load
    bool selecting_ = false;        // the left button is down in the text
    QPoint dragPoint_;              // where the button is, in viewport pixels, while selecting
    QTimer dragScroll_;             // scrolls on while the button is held beyond the text area's edge
    QElapsedTimer lastDoubleClick_; // a third click soon after it takes the whole line
    // Selected text dragged away: pressed inside the selection, the drag starts once the pointer moves.
    bool mayDragText_ = false;
    bool droppedHere_ = false; // a drag of our own text was dropped back into this view
    TextPos dropPos_{-1, -1};  // where dragged text would go, while a drag is over the view
    QTimer caretBlink_;
    bool caretOn_ = true;
    bool dying_ = false;
};
