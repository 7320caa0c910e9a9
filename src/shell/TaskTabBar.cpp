#include "shell/TaskTabBar.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionTab>

TaskTabBar::TaskTabBar(QWidget* parent) : QTabBar(parent) {
    setElideMode(Qt::ElideMiddle);
}

int TaskTabBar::maxTextWidth() const {
    return fontMetrics().averageCharWidth() * 28;
}

QString TaskTabBar::readOnlySign() {
    return QStringLiteral(" [read-only]");
}

void TaskTabBar::setTabReadOnly(int index, bool readOnly) {
    if (index < 0 || index >= count() || tabReadOnly(index) == readOnly)
        return;
    setTabData(index, readOnly);
    setTabToolTip(index, readOnly ? tabText(index) + QStringLiteral("\nRead-only: the file cannot be written")
                                  : tabText(index));
    // The tab's width changes with the sign.
    setTabText(index, tabText(index));
}

bool TaskTabBar::tabReadOnly(int index) const {
    return tabData(index).toBool();
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
    if (tabReadOnly(index))
        size.setWidth(size.width() + fm.horizontalAdvance(readOnlySign()));
    // A tab with an icon (the mark of unsaved changes) may be taller than one without: every tab is
    // as tall as one with, so that marking a file does not move the windows below the strip.
    if (tabIcon(index).isNull()) {
        // What the style's tab metrics look at; the shortened text is not among it.
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = shape();
        option.documentMode = documentMode();
        const int vspace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
        const QSize content(size.width(), std::max(fm.height(), iconSize().height()) + vspace);
        size.setHeight(
            std::max(size.height(), style()->sizeFromContents(QStyle::CT_TabBarTab, &option, content, this).height()));
    }
    return size;
}

QSize TaskTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void TaskTabBar::tabInserted(int index) {
    QTabBar::tabInserted(index);
    setTabToolTip(index, tabText(index));
}

QString TaskTabBar::elidePath(const QString& path, const QFontMetrics& fm, int width) {
    if (fm.horizontalAdvance(path) <= width)
        return path;
    const QString name = QFileInfo(path).fileName();
    const QString tail = QStringLiteral("\u2026") + path.right(name.size() + 1); // "…/name"
    const int room = width - fm.horizontalAdvance(tail);
    if (name.isEmpty() || room < 0)
        return fm.elidedText(name.isEmpty() ? path : name, Qt::ElideMiddle, width);
    const QString head = path.left(path.size() - name.size() - 1);
    // The longest start of the folder that fits before the ellipsis, found by halves: a longer start
    // is never narrower, and each width measured shapes the text.
    qsizetype fits = 0;
    qsizetype tooLong = head.size() + 1;
    while (tooLong - fits > 1) {
        const qsizetype n = (fits + tooLong) / 2;
        if (fm.horizontalAdvance(head.left(n)) <= room)
            fits = n;
        else
            tooLong = n;
    }
    return head.left(fits) + tail;
}

void TaskTabBar::initStyleOption(QStyleOptionTab* option, int tabIndex) const {
    QTabBar::initStyleOption(option, tabIndex);
    option->text = tabText(tabIndex);
    const QRect textRect = style()->subElementRect(QStyle::SE_TabBarTabText, option, this);
    if (tabReadOnly(tabIndex)) {
        const QString sign = readOnlySign();
        option->text =
            elidePath(option->text, fontMetrics(), textRect.width() - fontMetrics().horizontalAdvance(sign)) +
            sign;
    } else {
        option->text = elidePath(option->text, fontMetrics(), textRect.width());
    }
}

QString TaskTabBar::shownText(int index) const {
    QStyleOptionTab option;
    initStyleOption(&option, index);
    return option.text;
}
