#pragma once

#include "platform/PlatformWords.h"

#include <QDialog>

class FrameServices;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Programmer Options": the device programmer, its path and its command-line options. Stores the
// settings on OK only.
class frmProgrammer : public QDialog {
    Q_OBJECT
public:
    static inline const QString BrowseFilter = platformwords::programmerFilter();

    explicit frmProgrammer(FrameServices& frame);

    QComboBox& Programmer() { return *Programmer_; }
    QLineEdit& ProgrammerPath() { return *ProgrammerPath_; }
    QLineEdit& CommandOptions() { return *CommandOptions_; }

    void Form_Load();
    void Browse_Click();
    void cmdOK_Click();
    void cmdExit_Click();
    void Help_Click();

private:
    FrameServices& frame_;
    QComboBox* Programmer_;
    QLineEdit* ProgrammerPath_;
    QPushButton* Browse;
    QLineEdit* CommandOptions_;
    QPushButton* cmdOK;
    QPushButton* cmdExit;
    QPushButton* Help;
};

// Starts the configured programmer with its options, %HEX%, %SOURCE% and %DEVICE% replaced for the
// active document. A failure is reported and opens the options, so the path can be corrected.
void RunProgrammer(FrameServices& frame);
