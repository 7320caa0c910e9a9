#pragma once

#include <QDialog>

class FrameServices;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Simulator Options": the PIC pins the simulated terminal is wired to, its speed, an idle-low line,
// and real time or flat out. Stores the settings on OK only; a pin that is no port pin keeps the
// dialog open with a message.
class frmSimulator : public QDialog {
    Q_OBJECT
public:
    explicit frmSimulator(FrameServices& frame);

    QLineEdit& TxPin() { return *TxPin_; }
    QLineEdit& RxPin() { return *RxPin_; }
    QComboBox& Baud() { return *Baud_; }
    QCheckBox& Inverted() { return *Inverted_; }
    QCheckBox& RealTime() { return *RealTime_; }

    void Form_Load();
    void cmdOK_Click();

private:
    FrameServices& frame_;
    QLineEdit* TxPin_;
    QLineEdit* RxPin_;
    QComboBox* Baud_;
    QCheckBox* Inverted_;
    QCheckBox* RealTime_;
    QPushButton* cmdOK;
    QPushButton* cmdExit;
    QPushButton* Help;
};
