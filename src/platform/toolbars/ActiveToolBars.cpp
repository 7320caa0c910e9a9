#include "platform/toolbars/ActiveToolBars.h"

#include "platform/toolbars/ToolCombo.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStringListModel>
#include <QToolBar>
#include <QWidgetAction>
#include <algorithm>

namespace {

QString plain(const QString& caption) {
    QString s = caption;
    s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    s.remove(u'&');
    s.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return s;
}

} // namespace

ActiveToolBars::ActiveToolBars(QWidget* owner)
    : QObject(owner), owner_(owner), menuBar_(new QMenuBar(owner)) {
    menuBar_->setObjectName(QStringLiteral("MenuBar"));
    redrawTargets_ << menuBar_;
}

ActiveToolBars::~ActiveToolBars() {
    qDeleteAll(tools_);
}

ActiveToolBars::Tool* ActiveToolBars::find(const QString& id) {
    return const_cast<Tool*>(std::as_const(*this).find(id));
}

const ActiveToolBars::Tool* ActiveToolBars::find(const QString& id) const {
    if (Tool* t = byId_.value(id, nullptr))
        return t;
    return tools_.value(id.toUpper(), nullptr);
}

void ActiveToolBars::AddTool(const QString& id, Kind kind, const QString& caption, const QString& toolTip) {
    if (find(id))
        return;
    auto* t = new Tool;
    t->id = id;
    t->kind = kind;
    t->toolTip = toolTip;
    t->caption = caption;
    t->action = new QAction(caption, this);
    t->action->setObjectName(id);
    t->action->setToolTip(toolTip.isEmpty() ? plain(caption) : toolTip);
    t->action->setData(id);
    if (kind == Kind::Menu) {
        t->menu = new QMenu(caption, owner_);
        t->menu->setObjectName(id);
        t->action->setMenu(t->menu);
        // A menu title that is clicked (Edit) is reported like any tool when its menu opens.
        connect(t->menu, &QMenu::aboutToShow, this, [this, id] { emit ToolClick(id); });
    } else {
        connect(t->action, &QAction::triggered, this, &ActiveToolBars::onTriggered);
    }
    tools_.insert(id.toUpper(), t);
    byId_.insert(id, t);
    showCaption(*t);
}

void ActiveToolBars::SetMenuTextWidth(int pixels) {
    menuTextWidth_ = std::max(0, pixels);
    for (Tool* t : std::as_const(tools_))
        showCaption(*t);
}

void ActiveToolBars::showCaption(Tool& t) {
    if (t.kind != Kind::Button) {
        t.action->setText(t.caption);
        return;
    }
    // The access prefix ("&1 ", "&2. ") stays whole; the middle of the rest gives way.
    const QFontMetrics metrics(QApplication::font("QMenu"));
    const qsizetype space = t.caption.startsWith(u'&') ? t.caption.indexOf(u' ') + 1 : 0;
    const QString prefix = t.caption.left(space);
    const int room = menuTextWidth_ - metrics.horizontalAdvance(plain(prefix));
    const bool elide = menuTextWidth_ > 0 && metrics.horizontalAdvance(plain(t.caption)) > menuTextWidth_;
    const QString shown =
        elide ? prefix + metrics.elidedText(t.caption.mid(space), Qt::ElideMiddle, std::max(room, 0))
              : t.caption;
    t.action->setText(shown);
    // What the entry leaves out shows in its tool tip and, while it is highlighted, in the status bar.
    t.action->setStatusTip(elide ? plain(t.caption) : QString());
    if (t.toolTip.isEmpty())
        t.action->setToolTip(plain(t.caption));
}

void ActiveToolBars::onTriggered() {
    if (auto* a = qobject_cast<QAction*>(sender()))
        emit ToolClick(a->data().toString());
}

QToolBar* ActiveToolBars::toolBar(const QString& name) {
    if (const auto parts = toolBars_.value(name); !parts.isEmpty())
        return parts.last();
    return addPart(name);
}

QToolBar* ActiveToolBars::addPart(const QString& name) {
    QList<QPointer<QToolBar>>& parts = toolBars_[name];
    auto* bar = new QToolBar(name, owner_);
    bar->setObjectName(parts.isEmpty() ? name : name + QStringLiteral("#%1").arg(parts.size() + 1));
    bar->setToolButtonStyle(parts.isEmpty() ? Qt::ToolButtonTextOnly : parts.first()->toolButtonStyle());
    parts << bar;
    redrawTargets_ << bar;
    return bar;
}

void ActiveToolBars::StartToolBarPart(const QString& toolbar) {
    if (toolbar == QLatin1String("MenuBar") || toolBarIds_.value(toolbar).isEmpty())
        return;
    addPart(toolbar);
}

QList<QToolBar*> ActiveToolBars::toolBarParts(const QString& name) const {
    QList<QToolBar*> out;
    for (const QPointer<QToolBar>& bar : toolBars_.value(name))
        if (bar)
            out << bar.data();
    return out;
}

QStringList ActiveToolBars::toolBarNames() const {
    QStringList names{QStringLiteral("MenuBar")};
    for (auto it = toolBars_.cbegin(); it != toolBars_.cend(); ++it)
        names << it.key();
    return names;
}

void ActiveToolBars::AddToToolBar(const QString& toolbar, const QString& id) {
    const bool isMenuBar = toolbar == QLatin1String("MenuBar");
    QWidget* bar = isMenuBar ? static_cast<QWidget*>(menuBar_) : toolBar(toolbar);
    if (id.compare(QLatin1String("separator"), Qt::CaseInsensitive) == 0) {
        if (isMenuBar)
            menuBar_->addSeparator();
        else
            static_cast<QToolBar*>(bar)->addSeparator();
        toolBarIds_[toolbar] << QStringLiteral("separator");
        return;
    }
    Tool* t = find(id);
    if (!t)
        return;
    t->toolBars << toolbar;
    toolBarIds_[toolbar] << t->id;
    if (t->kind == Kind::Combo || t->kind == Kind::Text) {
        auto* holder = new QWidget(bar);
        auto* layout = new QHBoxLayout(holder);
        layout->setContentsMargins(4, 0, 4, 0);
        layout->setSpacing(4);
        // A combo's caption keeps its access letter, which moves the focus to the combo.
        auto* label = new QLabel(t->kind == Kind::Combo ? t->caption : plain(t->caption), holder);
        label->setObjectName(t->id + QStringLiteral("_caption"));
        layout->addWidget(label);
        t->labels << label;
        if (t->kind == Kind::Combo) {
            auto* combo = new ToolCombo(holder);
            combo->setObjectName(t->id);
            combo->setToolTip(t->toolTip);
            layout->addWidget(combo);
            if (!t->combo)
                t->combo = combo;
            const QString toolId = t->id;
            connect(combo, &ToolCombo::dropDown, this, [this, toolId] { emit ComboDropDown(toolId); });
            connect(combo, &ToolCombo::closeUp, this, [this, toolId] { emit ComboCloseUp(toolId); });
            connect(combo, &ToolCombo::left, this, [this, toolId] { emit ComboLeft(toolId); });
            // Keyboard users reach the combo through its caption's access letter.
            label->setBuddy(combo);
        }
        holder->setToolTip(t->toolTip);
        auto* wa = new QWidgetAction(this);
        wa->setDefaultWidget(holder);
        // The widget action follows the tool's own action for Enabled and Visible.
        connect(t->action, &QAction::changed, wa, [wa, a = t->action] {
            wa->setEnabled(a->isEnabled());
            wa->setVisible(a->isVisible());
        });
        if (isMenuBar)
            menuBar_->addAction(wa);
        else
            static_cast<QToolBar*>(bar)->addAction(wa);
        return;
    }
    if (isMenuBar) {
        if (t->kind == Kind::Menu)
            menuBar_->addMenu(t->menu);
        else
            menuBar_->addAction(t->action);
    } else {
        static_cast<QToolBar*>(bar)->addAction(t->action);
    }
}

QStringList ActiveToolBars::ToolBarToolIds(const QString& toolbar) const {
    return toolBarIds_.value(toolbar);
}

bool ActiveToolBars::Exists(const QString& id) const {
    return find(id) != nullptr;
}

ActiveToolBars::Kind ActiveToolBars::kindOf(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->kind : Kind::Button;
}

QString ActiveToolBars::Id(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->id : QString();
}

bool ActiveToolBars::Enabled(const QString& id) const {
    const Tool* t = find(id);
    return t && t->action->isEnabled();
}

void ActiveToolBars::SetEnabled(const QString& id, bool enabled) {
    if (Tool* t = find(id)) {
        t->action->setEnabled(enabled);
        if (t->menu)
            t->menu->setEnabled(enabled);
    }
}

bool ActiveToolBars::Visible(const QString& id) const {
    const Tool* t = find(id);
    return t && t->action->isVisible();
}

void ActiveToolBars::SetVisible(const QString& id, bool visible) {
    if (Tool* t = find(id))
        t->action->setVisible(visible);
}

QString ActiveToolBars::Caption(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->caption : QString();
}

void ActiveToolBars::SetCaption(const QString& id, const QString& caption) {
    Tool* t = find(id);
    if (!t)
        return;
    t->caption = caption;
    showCaption(*t);
    if (t->menu)
        t->menu->setTitle(caption);
    for (const auto& label : t->labels)
        if (label)
            label->setText(t->kind == Kind::Combo ? caption : plain(caption));
}

void ActiveToolBars::SetCaption(const QString& toolbar, const QString& id, const QString& caption) {
    const Tool* t = find(id);
    if (t && t->toolBars.contains(toolbar))
        SetCaption(id, caption);
}

QString ActiveToolBars::ToolTip(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->toolTip : QString();
}

void ActiveToolBars::SetToolTip(const QString& id, const QString& toolTip) {
    if (Tool* t = find(id)) {
        t->toolTip = toolTip;
        t->action->setToolTip(toolTip);
    }
}

QAction* ActiveToolBars::action(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->action : nullptr;
}

int ActiveToolBars::Count(const QString& menuId) const {
    const Tool* t = find(menuId);
    return t ? int(t->entries.size()) : 0;
}

void ActiveToolBars::Insert(const QString& menuId, int position, const QString& id, const QString& caption) {
    Tool* m = find(menuId);
    if (!m || !m->menu)
        return;
    const int index = std::clamp(position - 1, 0, int(m->entries.size()));
    QAction* before = index < m->entries.size() ? m->entries[index].action : nullptr;
    MenuEntry entry;
    if (id.compare(QLatin1String("separator"), Qt::CaseInsensitive) == 0) {
        auto* sep = new QAction(m->menu);
        sep->setSeparator(true);
        entry = {QStringLiteral("separator"), sep};
        m->menu->insertAction(before, sep);
    } else {
        if (!find(id))
            AddTool(id, Kind::Button, caption.isEmpty() ? id : caption);
        Tool* t = find(id);
        entry = {t->id, t->action};
        if (t->kind == Kind::Menu)
            m->menu->insertMenu(before, t->menu);
        else
            m->menu->insertAction(before, t->action);
    }
    m->entries.insert(index, entry);
}

int ActiveToolBars::placements(const QString& id) const {
    int n = 0;
    const Tool* t = find(id);
    if (!t)
        return 0;
    n += int(t->toolBars.size());
    for (const Tool* other : tools_)
        for (const MenuEntry& e : other->entries)
            if (e.action == t->action)
                ++n;
    return n;
}

bool ActiveToolBars::Remove(const QString& menuId, const QString& id) {
    Tool* m = find(menuId);
    if (!m)
        return false;
    for (int i = 0; i < m->entries.size(); ++i) {
        if (m->entries[i].id.compare(id, Qt::CaseInsensitive) != 0)
            continue;
        const MenuEntry e = m->entries.takeAt(i);
        m->menu->removeAction(e.action);
        if (e.id == QLatin1String("separator")) {
            delete e.action;
        } else if (placements(e.id) == 0) {
            Tool* t = find(e.id);
            tools_.remove(e.id.toUpper());
            byId_.remove(t->id);
            delete t->action;
            delete t;
        }
        return true;
    }
    return false;
}

QStringList ActiveToolBars::ToolIds(const QString& menuId) const {
    QStringList ids;
    if (const Tool* m = find(menuId))
        for (const MenuEntry& e : m->entries)
            ids << e.id;
    return ids;
}

QMenu* ActiveToolBars::menu(const QString& menuId) const {
    const Tool* t = find(menuId);
    return t ? t->menu : nullptr;
}

void ActiveToolBars::PopupMenu(const QString& menuId) {
    PopupMenu(menuId, QCursor::pos());
}

void ActiveToolBars::PopupMenu(const QString& menuId, const QPoint& globalPos) {
    if (QMenu* m = menu(menuId))
        m->popup(globalPos);
}

QComboBox* ActiveToolBars::combo(const QString& id) const {
    const Tool* t = find(id);
    return t ? t->combo.data() : nullptr;
}

void ActiveToolBars::ListClear(const QString& id) {
    if (QComboBox* c = combo(id))
        c->clear();
}

void ActiveToolBars::ListAdd(const QString& id, const QString& text) {
    if (QComboBox* c = combo(id)) {
        const bool wasEmpty = c->count() == 0;
        c->addItem(text);
        // A combo tool starts with no entry chosen, as the lists are filled programmatically.
        if (wasEmpty)
            c->setCurrentIndex(-1);
    }
}

void ActiveToolBars::ListSetAll(const QString& id, const QStringList& texts) {
    if (QComboBox* c = combo(id)) {
        if (auto* list = qobject_cast<QStringListModel*>(c->model())) {
            list->setStringList(texts);
        } else {
            c->clear();
            c->addItems(texts);
        }
        c->setCurrentIndex(-1);
    }
}

void ActiveToolBars::ListSetText(const QString& id, int index, const QString& text) {
    if (QComboBox* c = combo(id); c && index >= 0 && index < c->count())
        c->setItemText(index, text);
}

int ActiveToolBars::ListCount(const QString& id) const {
    const QComboBox* c = combo(id);
    return c ? c->count() : 0;
}

QString ActiveToolBars::ListText(const QString& id, int index) const {
    const QComboBox* c = combo(id);
    return c && index >= 0 && index < c->count() ? c->itemText(index) : QString();
}

int ActiveToolBars::ListIndex(const QString& id) const {
    const QComboBox* c = combo(id);
    return c ? c->currentIndex() : -1;
}

void ActiveToolBars::SetListIndex(const QString& id, int index) {
    if (QComboBox* c = combo(id))
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

QString ActiveToolBars::Text(const QString& id) const {
    const QComboBox* c = combo(id);
    return c ? c->currentText() : QString();
}

void ActiveToolBars::SetListText(const QString& id, const QString& text) {
    if (QComboBox* c = combo(id); c && c->isEditable())
        c->setEditText(text);
}

void ActiveToolBars::SetRedraw(bool on) {
    for (QWidget* w : redrawTargets_)
        if (w)
            w->setUpdatesEnabled(on);
}

void ActiveToolBars::Click(const QString& id) {
    const Tool* t = find(id);
    if (!t)
        return;
    if (t->kind == Kind::Button && t->action->isEnabled())
        t->action->trigger();
    else if (t->kind == Kind::Menu)
        emit ToolClick(t->id);
}
