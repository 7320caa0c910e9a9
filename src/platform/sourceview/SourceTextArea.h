#pragma once

#include <QAbstractScrollArea>

class SourceView;

// The scrolling text area inside a SourceView. It only forwards its events to the view, which does the
// painting, the caret and the key and mouse handling; nothing outside SourceView uses this class.
// The vertical scroll bar counts lines (its value is the first line in view), the horizontal one pixels.
class SourceTextArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SourceTextArea(SourceView& view);

    // Lets assistive technology read the text areas (once for the program).
    static void installAccessibility();

    using QAbstractScrollArea::setViewportMargins;
    using QAbstractScrollArea::viewportMargins;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Ctrl+wheel zooms the font instead of scrolling.
    void wheelEvent(QWheelEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool event(QEvent* e) override;
    // No menu of its own: the window around the view offers one on the mouse button's release.
    void contextMenuEvent(QContextMenuEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    SourceView& view_;
};
