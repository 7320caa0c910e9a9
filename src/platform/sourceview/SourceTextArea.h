#pragma once

#include <QPlainTextEdit>

class SourceView;

// The QPlainTextEdit inside a SourceView. It only forwards its events to the view, which does the
// painting and the key and mouse handling; nothing outside SourceView uses this class.
class SourceTextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit SourceTextArea(SourceView& view);

    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::blockBoundingRect;
    using QPlainTextEdit::contentOffset;
    using QPlainTextEdit::firstVisibleBlock;
    using QPlainTextEdit::setViewportMargins;
    using QPlainTextEdit::viewportMargins;

    void baseKeyPress(QKeyEvent* e) { QPlainTextEdit::keyPressEvent(e); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Ctrl+wheel zooms the font instead of scrolling.
    void wheelEvent(QWheelEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool event(QEvent* e) override;
    // No built-in menu: its entries would run commands the view does not announce.
    void contextMenuEvent(QContextMenuEvent* e) override;
    // Dropped files are for the window around the view to open, not text to insert.
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    SourceView& view_;
};
