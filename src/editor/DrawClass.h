#pragma once

#include "platform/sourceview/ISourceDraw2.h"

#include "language/LabelCheck.h"

#include <QBrush>
#include <QColor>
#include <vector>

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
    // The underlines go over the text, so they are drawn after it, at the end of the page.
    struct Underlined {
        int line = 0;
        int y = 0;
        QColor color;
        QList<labelcheck::Problem> problems;
    };
    void paintErrorMark(DrawLineRecord& record);
    void noteProblems(const DrawLineRecord& record);
    void underline(QPainter* painter, const Underlined& u) const;

    SourceView* view_ = nullptr;
    LabelWatch* labels_ = nullptr;
    std::vector<Underlined> underlined_;
    QBrush brush_;
    bool painting_ = false;
};
