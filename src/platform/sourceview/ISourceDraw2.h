#pragma once

#include <QRgb>

class QPainter;

// What the view passes to PreDrawLine for each visible line.
//
// Coordinates: the painter draws in SourceView widget pixels — x = 0 is the view's left edge, which is
// the margin's left edge when there is a margin (style 1 and 2). What a hook paints at x in
// [0, MarginCells * CellWidth) lands in the margin; to the right of it lies the text area.
// `xOrigin` is the x where the line's own drawing starts and moves left with horizontal scrolling:
// with a scrolling margin (style 2) that is the margin's left edge (0 - horizontal scroll); otherwise
// it is the left edge of the line's text.
struct DrawLineRecord {
    QPainter* painter = nullptr;
    int xOrigin = 0;
    int y = 0; // top of the line
    int line = 0;
    // Set by the hook: the line is then drawn in overrideText on overrideBack across the full width.
    bool useOverrideColors = false;
    QRgb overrideText = 0;
    QRgb overrideBack = 0;
};

// The drawing hook. Each paint pass of the view (the text area and, separately, the margin) calls
// PreDraw, PreDrawPage, PreDrawLine for every visible line from the top, PostDrawPage, PostDraw.
class ISourceDraw2 {
public:
    virtual ~ISourceDraw2() = default;
    virtual void PreDraw(QPainter* painter) = 0;
    virtual void PreDrawPage(QPainter* painter) = 0;
    virtual void PreDrawLine(DrawLineRecord& record) = 0;
    virtual void PostDrawPage(QPainter* painter) = 0;
    virtual void PostDraw(QPainter* painter) = 0;
};
