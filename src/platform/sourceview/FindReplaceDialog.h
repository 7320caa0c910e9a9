#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SourceView;

// The view's non-modal find and replace dialog. In find mode the replace row and buttons are hidden.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    FindReplaceDialog(SourceView& view, QWidget* parent);

    void showFind(const QString& preset);
    void showReplace(const QString& preset);
    bool replaceMode() const { return replaceMode_; }

    QString findText() const;
    QString replaceText() const;
    bool matchCase() const;
    bool wholeWord() const;
    bool forward() const;

    // The controls, for the view and for tests.
    QLineEdit* findEdit() const { return findEdit_; }
    QLineEdit* replaceEdit() const { return replaceEdit_; }
    QCheckBox* matchCaseBox() const { return matchCase_; }
    QCheckBox* wholeWordBox() const { return wholeWord_; }
    QRadioButton* upButton() const { return up_; }
    QRadioButton* downButton() const { return down_; }
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* replaceButton() const { return replace_; }
    QPushButton* replaceAllButton() const { return replaceAll_; }

    // Moves the dialog above or below `area` (screen pixels) when it covers it, staying on the screen.
    void keepClearOf(const QRect& area);
    // Where a window at `window` goes to leave `area` in sight: unchanged when clear of it, else moved
    // up or down by the least that clears it and keeps it inside `screen`; when neither side has room,
    // the side with more, kept on the screen.
    static QRect placedClearOf(const QRect& window, const QRect& area, const QRect& screen);

private:
    void setMode(bool replace, const QString& preset);
    void onFindNext();
    void onReplace();
    void onReplaceAll();
    void updateButtons();
    void selectFindText();

    SourceView& view_;
    bool replaceMode_ = false;
    QLineEdit* findEdit_;
    QLineEdit* replaceEdit_;
    QLabel* replaceLabel_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QRadioButton* up_;
    QRadioButton* down_;
    QPushButton* findNext_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
    QPushButton* close_;
};
