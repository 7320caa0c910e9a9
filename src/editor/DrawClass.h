#pragma once

#include "platform/sourceview/ISourceDraw2.h"

#include <QBrush>

class LabelWatch;
class SourceView;

// Paints the error mark of a line: with no margin the whole line in white on red, with a fixed or
// scrolling margin a red box 3 pixels inside the line's margin cell. Jumps to missing labels and
// labels defined twice get a wavy underline.
class DrawClass : public ISourceDraw2 {
public:
    void setView(SourceView* view) { view_ = view; }
    SourceView* view() const { return view_; }
    void setLabels(LabelWatch* labels) { labels_ = labels; }

    void PreDraw(QPainter* painter) override;
    void PreDrawPage(QPainter* painter) override;
    void PreDrawLine(DrawLineRecord& record) override;
    void PostDrawPage(QPainter* painter) override;
    void PostDraw(QPainter* painter) override;

private:
    void underlineProblems(const DrawLineRecord& record);

    SourceView* view_ = nullptr;
    LabelWatch* labels_ = nullptr;
    QBrush brush_;
    bool painting_ = false;
};
