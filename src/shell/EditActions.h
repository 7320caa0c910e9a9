#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class ActiveToolBars;
class LabelCombo;
class QMdiSubWindow;
class frmEditor;

// The one place that keeps the frame true to its active window: every document tool's enabled state,
// the caret and statement panels of the status bar, and the label combo. An editor window only says
// what changed (its signals); this binder listens to the active one alone, and recomputes everything
// from the next window when another becomes active, or clears it when the active window holds no
// document (the terminal) or none is left.
class EditActions : public QObject {
    Q_OBJECT
public:
    // Writes status panel `panel` (from 1).
    using PanelWriter = std::function<void(int panel, const QString& text)>;

    EditActions(ActiveToolBars& bars, LabelCombo& labels, PanelWriter panels, QObject* parent = nullptr);

    // The window now in front: an editor, a window without a document, or none.
    void setActive(QMdiSubWindow* window);
    frmEditor* editor() const { return editor_; }

    // Everything, from the active window.
    void refresh();

    // The tools that act on the active document: none of them is enabled without one.
    static const QList<const QString*>& documentTools();

    // The check mark on the active window's margin style.
    void showMarginStyle();

private:
    // The parts, each recomputed on the events that change it.
    void showCaret();
    void showUndo();
    void showSelection();
    void showPaste();
    void showBookmarks();
    void showErrors();
    void showLabels();
    void showTokenColor();
    void enable(const QString& id, bool on);

    ActiveToolBars& bars_;
    LabelCombo& labels_;
    PanelWriter panels_;
    QPointer<frmEditor> editor_;
    QList<QMetaObject::Connection> links_;
    bool clipboardText_ = false;
};
