#pragma once

#include <QFrame>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>

// One panel of the status bar: a line of text in a sunken frame. A new text that fits the panel's
// width repaints the panel alone; only a text that needs more room asks the window for a new layout
// (when it is painted), so the caret position written on every keystroke costs no layout of the frame.
//
// Status texts are short lines of ASCII, and the caret's position changes with every keystroke. In a
// font that shapes such text a character at a time (each its own glyph, kerned with its neighbour) the
// text is placed from the font's advances and drawn as one run of glyphs, and a new text repaints
// from where it differs from the old: laying the text out anew was a quarter of what a key cost. The
// font is asked once whether it is such a font (a sample laid out both ways must come out the same);
// other fonts, other characters and the f-ligatures are laid out.
class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int textWidth(const QString& text) const;
    // text_ as a run of glyphs from its left end; false when it must be laid out instead.
    bool placed();

    QString text_;
    // The font the glyphs are from; whether it places the sample as a layout does.
    QFont placedFont_;
    QRawFont raw_;
    bool probed_ = false;
    bool rawLikeLayout_ = false;
    // text_ placed (for placedText_), and its width.
    QString placedText_;
    QGlyphRun run_;
    qreal runWidth_ = 0;
};
