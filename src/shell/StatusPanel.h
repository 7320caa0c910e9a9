#pragma once

#include <QFrame>
#include <QString>

// One panel of the status bar: a line of text in a sunken frame. A new text that fits the panel's
// width repaints the panel alone; only a text that needs more room asks the window for a new layout
// (when it is painted), so the caret position written on every keystroke costs no layout of the frame.
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

    QString text_;
};
