#pragma once

#include "editor/frmEditor.h"
#include "language/CodeOutline.h"

#include <QDockWidget>
#include <QMetaObject>
#include <QPointer>

class MDIMain;
class QModelIndex;
class QTimer;
class QTreeView;
class OutlineModel;

// The dockable list of the active document's labels, variables, constants, aliases and INCLUDEs,
// grouped and in file order. It reads the marks the scanner keeps, a short while after the text or
// the caret line changes, and only when it is shown; a click or Enter on an entry shows its line.
class CodeExplorer : public QDockWidget {
    Q_OBJECT
public:
    explicit CodeExplorer(MDIMain& frame);
    ~CodeExplorer() override;

    // The document listed: the window's now, and again after each change of its text or marks.
    void follow(frmEditor* window);
    frmEditor* followed() const { return editor_; }
    // Reads the document again when it changed since the last reading (and the panel is shown).
    void refresh();

    QTreeView& tree() { return *tree_; }
    const QList<outline::Entry>& entries() const { return entries_; }
    // The entry at an index of the tree, or null for a group row.
    const outline::Entry* entryAt(const QModelIndex& index) const;
    // Moves the caret of the followed window to the entry's line and gives the text the focus.
    void jumpTo(const QModelIndex& index);

signals:
    // The panel's own close button was used.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void schedule(int delayMs);

    MDIMain& frame_;
    OutlineModel* model_;
    QTreeView* tree_;
    QTimer* refreshTimer_;
    QPointer<frmEditor> editor_;
    QList<QMetaObject::Connection> editorConnections_;
    QList<outline::Entry> entries_;
    quint64 revision_ = 0;
    bool stale_ = true;
};
