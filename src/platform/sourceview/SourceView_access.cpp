#include "platform/sourceview/SourceView.h"

#include "platform/sourceview/SourceTextArea.h"

#include <QAccessibleWidget>
#include <QScrollBar>

// What screen readers and other assistive technology read of the editor control: its text, the caret
// and the selection, with offsets counted over all lines.
class SourceAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    SourceAccessible(SourceTextArea* area, SourceView& view)
        : QAccessibleWidget(area, QAccessible::EditableText), view_(view) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? doc().textBetween({}, doc().endPos()) : QAccessibleWidget::text(t);
    }

    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && view_.TextSelected()) {
            *start = view_.offsetOf(view_.selStart());
            *end = view_.offsetOf(view_.selEnd());
        }
    }
    int selectionCount() const override { return view_.TextSelected() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { view_.placeCaret(view_.caret_); }
    void setSelection(int, int start, int end) override { view_.placeCaret(view_.posAt(end), view_.posAt(start)); }
    int cursorPosition() const override { return view_.offsetOf(view_.caret_); }
    void setCursorPosition(int position) override { view_.placeCaret(view_.posAt(position)); }
    QString text(int start, int end) const override { return doc().textBetween(view_.posAt(start), view_.posAt(end)); }
    int characterCount() const override { return view_.offsetOf(doc().endPos()); }
    QRect characterRect(int offset) const override {
        const TextPos p = view_.posAt(offset);
        int x = 0;
        int y = 0;
        view_.PositionToPoint(p.col, p.line, x, y);
        return QRect(view_.mapToGlobal(QPoint(x, y)), QSize(view_.CellWidth(), view_.LineHeight()));
    }
    int offsetAtPoint(const QPoint& global) const override {
        const QPoint p = view_.mapFromGlobal(global);
        int col = 0;
        int line = 0;
        view_.HitTest(p.x(), p.y(), col, line);
        return view_.offsetOf({line, col});
    }
    void scrollToSubstring(int start, int) override {
        const TextPos keep = view_.caret_;
        const TextPos anchor = view_.anchor_;
        view_.placeCaret(view_.posAt(start));
        view_.setCaret(keep, anchor);
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return QString();
    }

private:
    const SourceDocument& doc() const { return view_.Document(); }
    SourceView& view_;
};

namespace {

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (className != QLatin1String("SourceTextArea"))
        return nullptr;
    auto* area = static_cast<SourceTextArea*>(object);
    return new SourceAccessible(area, *static_cast<SourceView*>(area->parentWidget()));
}

} // namespace

void SourceTextArea::installAccessibility() {
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

int SourceView::offsetOf(TextPos p) const {
    p = document_.clamp(p);
    int offset = p.col;
    for (int line = 0; line < p.line; ++line)
        offset += document_.GetLineLength(line) + 1;
    return offset;
}

TextPos SourceView::posAt(int offset) const {
    for (int line = 0; line < document_.NumLines(); ++line) {
        const int length = document_.GetLineLength(line);
        if (offset <= length)
            return {line, std::max(0, offset)};
        offset -= length + 1;
    }
    return document_.endPos();
}

void SourceView::tellAssistants(TextPos from, const QString& removed, const QString& inserted) {
    if (!QAccessible::isActive())
        return;
    const int at = offsetOf(from);
    if (!removed.isEmpty()) {
        QAccessibleTextRemoveEvent e(textArea_, at, removed);
        QAccessible::updateAccessibility(&e);
    }
    if (!inserted.isEmpty()) {
        QAccessibleTextInsertEvent e(textArea_, at, inserted);
        QAccessible::updateAccessibility(&e);
    }
}
