#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPoint;
class QToolBar;
class QWidget;
class ToolCombo;

// The menu and toolbar layer: every menu entry, toolbar button, combo and text field is a tool
// addressed by its id (lookup ignores letter case). One QAction per tool is shared by every menu and
// toolbar the tool stands in, so a change of state or caption shows everywhere at once.
class ActiveToolBars : public QObject {
    Q_OBJECT
public:
    enum class Kind { Button, Menu, Combo, Text };

    explicit ActiveToolBars(QWidget* owner);
    ~ActiveToolBars() override;

    // --- building ---
    // Creates a tool; an existing id is returned unchanged.
    void AddTool(const QString& id, Kind kind, const QString& caption, const QString& toolTip = QString());
    // A toolbar by name; "MenuBar" is the menu bar, any other name a QToolBar created on first use.
    QMenuBar* menuBar() const { return menuBar_; }
    // The toolbar's last part (see StartToolBarPart), where the next tools go.
    QToolBar* toolBar(const QString& name);
    // Ends a toolbar's current part: the tools added next go to a new QToolBar of the same name, which
    // the window may place on another row when it is narrow. The parts share the toolbar's name and
    // tool list (which shows no break); each takes the first part's button style.
    void StartToolBarPart(const QString& toolbar);
    QList<QToolBar*> toolBarParts(const QString& name) const;
    QStringList toolBarNames() const;
    // Appends a tool (or "separator") to a toolbar; menu tools on "MenuBar" become menu titles.
    void AddToToolBar(const QString& toolbar, const QString& id);
    QStringList ToolBarToolIds(const QString& toolbar) const;

    // --- tools by id (case-insensitive lookup) ---
    bool Exists(const QString& id) const;
    Kind kindOf(const QString& id) const;
    QString Id(const QString& id) const; // the id as defined
    bool Enabled(const QString& id) const;
    void SetEnabled(const QString& id, bool enabled);
    bool Visible(const QString& id) const;
    void SetVisible(const QString& id, bool visible);
    QString Caption(const QString& id) const;
    void SetCaption(const QString& id, const QString& caption);
    // A caption set through a named toolbar: the tool must stand on that toolbar.
    void SetCaption(const QString& toolbar, const QString& id, const QString& caption);
    QString ToolTip(const QString& id) const;
    void SetToolTip(const QString& id, const QString& toolTip);
    QAction* action(const QString& id) const;
    // Buttons whose caption is wider than this many pixels in the menu font show it elided in the
    // middle (the access prefix kept), with the whole caption as their tool tip and status tip;
    // Caption keeps the whole text. 0, the start, elides nothing.
    void SetMenuTextWidth(int pixels);

    // --- menu tools: an ordered tool list ---
    int Count(const QString& menuId) const;
    // Inserts at a 1-based position (past the end appends). "separator" makes a separator. A new id
    // creates a button tool with that caption; an existing one is shared.
    void Insert(const QString& menuId, int position, const QString& id, const QString& caption = QString());
    // Removes the first entry with that id; a tool that stands nowhere else is deleted.
    bool Remove(const QString& menuId, const QString& id);
    QStringList ToolIds(const QString& menuId) const;
    QMenu* menu(const QString& menuId) const;
    // Shows a menu tool as a pop-up at a global point (the mouse position when none is given).
    void PopupMenu(const QString& menuId);
    void PopupMenu(const QString& menuId, const QPoint& globalPos);

    // --- combo tools ---
    QComboBox* combo(const QString& id) const;
    void ListClear(const QString& id);
    void ListAdd(const QString& id, const QString& text);
    // Replaces the whole list in one batch (no entry chosen afterwards).
    void ListSetAll(const QString& id, const QStringList& texts);
    void ListSetText(const QString& id, int index, const QString& text);
    int ListCount(const QString& id) const;
    QString ListText(const QString& id, int index) const;
    int ListIndex(const QString& id) const;
    void SetListIndex(const QString& id, int index);
    QString Text(const QString& id) const;
    // The text a typable combo shows (its field), whatever entry is selected.
    void SetListText(const QString& id, const QString& text);

    // --- redraw switch ---
    void SetRedraw(bool on);

    // Simulates a user's click (tests, keyboard accelerators).
    void Click(const QString& id);

signals:
    void ToolClick(const QString& id);
    void ComboDropDown(const QString& id);
    void ComboCloseUp(const QString& id);
    // Escape in a combo with its list closed.
    void ComboLeft(const QString& id);

private:
    struct MenuEntry {
        QString id;
        QAction* action;
    };
    struct Tool {
        QString id;
        Kind kind = Kind::Button;
        QString caption; // as set; the action may show it elided
        QAction* action = nullptr;
        QString toolTip;
        QMenu* menu = nullptr;          // menu tools
        QList<MenuEntry> entries;       // menu tools
        QPointer<ToolCombo> combo;      // combo tools (one widget per toolbar appearance)
        QList<QPointer<QLabel>> labels; // caption labels of combo and text tools
        QStringList toolBars;           // where the tool stands
    };

    Tool* find(const QString& id);
    const Tool* find(const QString& id) const;
    int placements(const QString& id) const;
    void onTriggered();
    QWidget* owner_;
    QMenuBar* menuBar_;
    QHash<QString, Tool*> tools_; // key: id in upper case
    // The same tools by the id they were added with: the program names its tools that way, and finding
    // one needs no upper-case copy of the id (the tool states are read on every keystroke).
    QHash<QString, Tool*> byId_;
    QToolBar* addPart(const QString& name);
    void showCaption(Tool& t);

    QHash<QString, QList<QPointer<QToolBar>>> toolBars_;
    QHash<QString, QStringList> toolBarIds_;
    QList<QWidget*> redrawTargets_;
    int menuTextWidth_ = 0;
};
