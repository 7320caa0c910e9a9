#pragma once

#include <QDialog>

class FrameServices;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Compiler Options": which compiler, its path and options, whether the run shows its console, the
// output window's countdown and the default source folder. Stores the settings on OK only.
class frmCompile : public QDialog {
    Q_OBJECT
public:
    explicit frmCompile(FrameServices& frame);

    // The compiler program filter of the browse button; Linux and macOS also offer programs without an
    // extension.
    static QString compilerFilter();

    QComboBox& Compiler() { return *Compiler_; }
    QLineEdit& CompilerPath() { return *CompilerPath_; }
    QLineEdit& CommandOptions() { return *CommandOptions_; }
    QCheckBox& cbDoswindow() { return *cbDoswindow_; }
    QCheckBox& AutoClose() { return *AutoClose_; }
    QSpinBox& SecScroll() { return *SecScroll_; }
    QLineEdit& SourceCodePath() { return *SourceCodePath_; }

    void Form_Load();
    void Browse_Click();
    void Browse2_Click();
    void cmdOK_Click();
    void cmdExit_Click();
    void Help_Click();
    void SecScroll_Change();

private:
    FrameServices& frame_;
    QComboBox* Compiler_;
    QLineEdit* CompilerPath_;
    QPushButton* Browse;
    QLineEdit* CommandOptions_;
    QCheckBox* cbDoswindow_;
    QCheckBox* AutoClose_;
    QSpinBox* SecScroll_;
    QLineEdit* SourceCodePath_;
    QPushButton* Browse2;
    QPushButton* cmdOK;
    QPushButton* cmdExit;
    QPushButton* Help;
};
