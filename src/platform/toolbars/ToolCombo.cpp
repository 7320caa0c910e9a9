#include "platform/toolbars/ToolCombo.h"

#include <QKeyEvent>

#include <QLineEdit>
#include <QStringListModel>
#include <QTimer>

ToolCombo::ToolCombo(QWidget* parent) : QComboBox(parent) {
    // The entries are plain texts: a list of strings holds them without an item object each, and a
    // whole list given at once is shared with whoever gave it (see ActiveToolBars::ListSetAll).
    setModel(new QStringListModel(this));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    connect(this, &QComboBox::activated, this, &ToolCombo::onActivated);
}

void ToolCombo::showPopup() {
    emit dropDown();
    popupShown_ = true;
    QComboBox::showPopup();
}

void ToolCombo::hidePopup() {
    QComboBox::hidePopup();
    if (!popupShown_)
        return;
    popupShown_ = false;
    // The choice is applied after the list hides; report once the event loop has settled it.
    closeUpPending_ = true;
    QTimer::singleShot(0, this, &ToolCombo::emitCloseUp);
}

void ToolCombo::onActivated() {
    // A choice made with the keyboard while the list is closed counts as a close-up too.
    if (!popupShown_ && !closeUpPending_)
        emit closeUp();
}

void ToolCombo::emitCloseUp() {
    if (!closeUpPending_)
        return;
    closeUpPending_ = false;
    emit closeUp();
}

void ToolCombo::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier && !popupShown_) {
        e->accept();
        emit left();
        return;
    }
    QComboBox::keyPressEvent(e);
}

void ToolCombo::setTypable(bool on) {
    setEditable(on);
    if (!on)
        return;
    setInsertPolicy(QComboBox::NoInsert);
    // Without a completer the field keeps exactly what was typed.
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::returnPressed, this, &ToolCombo::onReturnPressed);
}

void ToolCombo::onReturnPressed() {
    // QComboBox hands the Return that its field passed up back to the field, which reports it a
    // second time: one key press is one close-up.
    if (returnTaken_)
        return;
    returnTaken_ = true;
    QTimer::singleShot(0, this, [this] { returnTaken_ = false; });
    emit closeUp();
}
