#pragma once

#include <QComboBox>

// A combo box that reports when its list opens and closes. The close-up is reported after the
// combo has taken the user's choice, so a handler reads the new list position.
class ToolCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ToolCombo(QWidget* parent = nullptr);

    void showPopup() override;
    void hidePopup() override;
    bool popupShown() const { return popupShown_; }
    // A combo that also takes a typed text: Enter in its field counts as a close-up, and the typed
    // text is not added to the list.
    void setTypable(bool on);

signals:
    void dropDown();
    void closeUp();
    // Escape with the list closed: the user wants to go back to the text.
    void left();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void onActivated();
    void emitCloseUp();
    void onReturnPressed();

    bool popupShown_ = false;
    bool closeUpPending_ = false;
    bool returnTaken_ = false;
};
