#pragma once

#include <QDialog>

class FrameServices;
class QLabel;
class QLineEdit;
class QPushButton;
class SourceView;

// Asks for a line number (counted from 1) and moves the editor of the selected tab to it.
class frmGotoLine : public QDialog {
    Q_OBJECT
public:
    explicit frmGotoLine(FrameServices& frame);

    QLineEdit& LineValue() { return *LineValue_; }

    // Returns true when the key reaches the text box.
    bool LineValue_KeyPress(int keyAscii) const;
    void LineValue_KeyDown(int keyCode, int shift);
    void cmdGotoLine_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The highest line number the box accepts for `view`.
    static int lastLine(const SourceView& view);

    FrameServices& frame_;
    QLabel* Range_;
    QLabel* Label1;
    QLineEdit* LineValue_;
    QPushButton* cmdGotoLine;
    QPushButton* cmdCancel;
};
