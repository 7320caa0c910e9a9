#pragma once

#include <QWidget>

class SourceView;

// The margin at the left of a SourceView: line numbers, bookmarks and whatever the drawing hook
// paints there. The view places it and does its painting.
class SourceMargin : public QWidget {
    Q_OBJECT
public:
    SourceMargin(SourceView& view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    SourceView& view_;
};
