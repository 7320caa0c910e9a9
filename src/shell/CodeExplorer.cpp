#include "shell/CodeExplorer.h"

#include "editor/LabelWatch.h"
#include "editor/frmEditor.h"
#include "language/SourceScan.h"
#include "platform/sourceview/SourceView.h"
#include "shell/MDIMain.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QMdiArea>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <array>

// Two levels: a row per group, its entries below it. A group row's index carries id 0, an entry's the
// number of its group plus one.
class OutlineModel : public QAbstractItemModel {
public:
    using QAbstractItemModel::QAbstractItemModel;

    // Replaces the entries group by group, so that the groups keep their expanded state.
    void setEntries(const QList<outline::Entry>& entries) {
        std::array<QList<outline::Entry>, outline::GroupCount> next;
        for (const outline::Entry& e : entries)
            next[size_t(e.group)].append(e);
        for (int g = 0; g < outline::GroupCount; ++g) {
            QList<outline::Entry>& now = groups_[size_t(g)];
            if (now == next[size_t(g)])
                continue;
            const QModelIndex parent = index(g, 0);
            if (now.size() == next[size_t(g)].size()) {
                // Rows that show something else; a line number alone (a line added above) is only in
                // the tool tip, asked for when shown. Telling the tree of every row costs it a look at
                // each of them.
                const auto shows = [](const outline::Entry& a, const outline::Entry& b) {
                    return a.name == b.name && a.detail == b.detail;
                };
                const auto& was = now;
                const auto& is = next[size_t(g)];
                int first = 0;
                int last = int(is.size()) - 1;
                while (first <= last && shows(was[first], is[first]))
                    ++first;
                while (last >= first && shows(was[last], is[last]))
                    --last;
                now = is;
                if (first <= last)
                    emit dataChanged(index(first, 0, parent), index(last, 1, parent));
                continue;
            }
            if (!now.isEmpty()) {
                beginRemoveRows(parent, 0, int(now.size()) - 1);
                now.clear();
                endRemoveRows();
            }
            if (!next[size_t(g)].isEmpty()) {
                beginInsertRows(parent, 0, int(next[size_t(g)].size()) - 1);
                now = next[size_t(g)];
                endInsertRows();
            }
            emit dataChanged(parent, parent);
        }
    }

    const outline::Entry* entryAt(const QModelIndex& i) const {
        if (!i.isValid() || i.internalId() == 0)
            return nullptr;
        const QList<outline::Entry>& group = groups_[size_t(i.internalId() - 1)];
        return i.row() < group.size() ? &group[i.row()] : nullptr;
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        if (row < 0 || column < 0 || column > 1)
            return {};
        if (!parent.isValid())
            return row < outline::GroupCount ? createIndex(row, column, quintptr(0)) : QModelIndex();
        if (parent.internalId() != 0 || row >= groups_[size_t(parent.row())].size())
            return {};
        return createIndex(row, column, quintptr(parent.row() + 1));
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (!child.isValid() || child.internalId() == 0)
            return {};
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (!parent.isValid())
            return outline::GroupCount;
        if (parent.internalId() != 0 || parent.column() != 0)
            return 0;
        return int(groups_[size_t(parent.row())].size());
    }
    int columnCount(const QModelIndex& = {}) const override { return 2; }
    // The header is hidden: its sections want no room of their own (asked, Qt measures their titles,
    // empty as they are, in a bold face of the font, which it loads for that).
    QVariant headerData(int, Qt::Orientation, int role) const override {
        return role == Qt::SizeHintRole ? QVariant(QSize(0, 0)) : QVariant();
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid())
            return {};
        if (i.internalId() == 0) {
            if (role != Qt::DisplayRole || i.column() != 0)
                return {};
            const auto group = outline::Group(i.row());
            return outline::groupCaption(group) + QStringLiteral(" (") +
                   QString::number(groups_[size_t(i.row())].size()) + u')';
        }
        const outline::Entry* e = entryAt(i);
        if (!e)
            return {};
        if (role == Qt::DisplayRole)
            return i.column() == 0 ? e->name : e->detail;
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Line ") + QString::number(e->line + 1);
        return {};
    }

private:
    std::array<QList<outline::Entry>, outline::GroupCount> groups_;
};

namespace {

// Typing pauses this long before the list is read again; a new document is read at once.
constexpr int TypingDelayMs = 150;

} // namespace

CodeExplorer::CodeExplorer(MDIMain& frame)
    : QDockWidget(QStringLiteral("Code Explorer"), &frame), frame_(frame), model_(new OutlineModel(this)),
      tree_(new QTreeView(this)), refreshTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("CodeExplorer"));
    tree_->setObjectName(QStringLiteral("CodeExplorerTree"));
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    tree_->setRootIsDecorated(true);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Sizes and values stay readable; a long name gives way first.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    // Sized from the rows in view only: a group may hold thousands.
    tree_->header()->setResizeContentsPrecision(0);
    for (int g = 0; g < outline::GroupCount; ++g)
        tree_->expand(model_->index(g, 0));
    setWidget(tree_);

    refreshTimer_->setSingleShot(true);
    connect(refreshTimer_, &QTimer::timeout, this, &CodeExplorer::refresh);
    connect(tree_, &QTreeView::clicked, this, &CodeExplorer::jumpTo);
    connect(tree_, &QTreeView::activated, this, &CodeExplorer::jumpTo);
    connect(&frame.mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        // Another kind of window (the terminal) leaves the last document listed.
        if (!window)
            follow(nullptr);
        else if (auto* w = qobject_cast<frmEditor*>(window))
            follow(w);
    });
}

CodeExplorer::~CodeExplorer() {
    for (const QMetaObject::Connection& c : std::as_const(editorConnections_))
        disconnect(c);
}

void CodeExplorer::follow(frmEditor* window) {
    if (window == editor_ && window)
        return;
    for (const QMetaObject::Connection& c : std::as_const(editorConnections_))
        disconnect(c);
    editorConnections_.clear();
    editor_ = window;
    stale_ = true;
    if (window) {
        SourceView& view = window->View();
        // The scanner marks the line the caret leaves, so a caret move can change the list as well.
        editorConnections_ << connect(&view, &SourceView::CaretMove, this,
                                      [this] { schedule(TypingDelayMs); })
                           << connect(&view.Document(), &SourceDocument::linesChanged, this,
                                      [this] { schedule(TypingDelayMs); });
    }
    schedule(0);
}

void CodeExplorer::schedule(int delayMs) {
    if (isHidden())
        return;
    if (!refreshTimer_->isActive() || delayMs < refreshTimer_->remainingTime())
        refreshTimer_->start(delayMs);
}

void CodeExplorer::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    // Nothing was read while hidden.
    schedule(0);
}

void CodeExplorer::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit closedByUser();
}

void CodeExplorer::refresh() {
    refreshTimer_->stop();
    if (isHidden())
        return;
    QList<outline::Entry> next;
    if (editor_) {
        const SourceDocument& doc = editor_->View().Document();
        if (!stale_ && doc.revision() == revision_)
            return;
        revision_ = doc.revision();
        const QList<SourceDocument::MarkedLine> marked =
            doc.linesMarked({sourcescan::KindSlot, sourcescan::IncludeSlot, sourcescan::SymbolSlot});
        QList<outline::Line> lines;
        lines.reserve(marked.size());
        for (const SourceDocument::MarkedLine& m : marked)
            lines.append({m.line, m.slot(sourcescan::KindSlot), m.slot(sourcescan::IncludeSlot) != 0, m.text,
                          m.slot(sourcescan::SymbolSlot) != 0});
        next = outline::build(lines, doc.lexerConfig());
        for (const labelcheck::Problem& p : editor_->labelWatch().problems())
            next.append({outline::Group::Problems, p.message,
                         QStringLiteral("line ") + QString::number(p.line + 1), p.line});
    }
    stale_ = false;
    if (next == entries_)
        return;
    entries_ = next;
    model_->setEntries(entries_);
}

const outline::Entry* CodeExplorer::entryAt(const QModelIndex& index) const {
    return model_->entryAt(index);
}

void CodeExplorer::jumpTo(const QModelIndex& index) {
    const outline::Entry* e = entryAt(index);
    if (!e || !editor_)
        return;
    frame_.mdiArea().setActiveSubWindow(editor_);
    SourceView& view = editor_->View();
    const int line = std::clamp(e->line, 0, std::max(view.Document().NumLines() - 1, 0));
    // A line out of view comes to a third of the way down, with what follows it in sight.
    int col = 0, top = 0;
    view.GetScrollPos(col, top);
    if (line < top || line >= top + view.LinesInView())
        view.SetScrollPos(col, std::max(0, line - view.LinesInView() / 3));
    view.MoveCaret(0, line);
    view.SetFocus();
}
