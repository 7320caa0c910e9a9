#pragma once

#include <QTabBar>

// The frame's tab strip. A tab's text stays the window's full caption (the frame finds windows by
// it); the strip draws it shortened in the middle, so the file name at its end stays readable and
// several long paths fit side by side. The tool tip shows the whole path.
class TaskTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TaskTabBar(QWidget* parent = nullptr);

    // The widest a tab's text is drawn, in pixels (at least the file name itself).
    int maxTextWidth() const;
    // The text the tab shows: the whole path when it fits, else the folder cut short before the name.
    QString shownText(int index) const;
    // A tab whose file cannot be written shows a sign after its text and says so in its tool tip.
    void setTabReadOnly(int index, bool readOnly);
    bool tabReadOnly(int index) const;
    // The sign a read-only tab shows after its text.
    static QString readOnlySign();
    // A path shortened to `width` pixels: the file name stays whole while it fits.
    static QString elidePath(const QString& path, const QFontMetrics& fm, int width);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void tabInserted(int index) override;
    void initStyleOption(QStyleOptionTab* option, int tabIndex) const override;
};
