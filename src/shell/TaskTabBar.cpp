#include "shell/TaskTabBar.h"

#include <QFileInfo>
#include <QFontMetrics>

TaskTabBar::TaskTabBar(QWidget* parent) : QTabBar(parent) {
    setElideMode(Qt::ElideMiddle);
}

int TaskTabBar::maxTextWidth() const {
    return fontMetrics().averageCharWidth() * 28;
}

QSize TaskTabBar::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    const QFontMetrics fm = fontMetrics();
    const QString text = tabText(index);
    const int textWidth = fm.horizontalAdvance(text);
    // The file name with an ellipsis before it always fits, however long it is.
    const int nameWidth = fm.horizontalAdvance(QStringLiteral("\u2026/") + QFileInfo(text).fileName());
    const int wanted = std::max(maxTextWidth(), nameWidth);
    if (textWidth > wanted)
        size.setWidth(size.width() - (textWidth - wanted));
    return size;
}

QSize TaskTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void TaskTabBar::tabInserted(int index) {
    QTabBar::tabInserted(index);
    setTabToolTip(index, tabText(index));
}
