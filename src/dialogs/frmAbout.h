#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class Prompts;

// The about box: name and version, the maker's contact details, and the system-information button.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(Prompts& prompts, QWidget* parent = nullptr);

    QLabel& lblVersion() { return *lblVersion_; }
    QPlainTextEdit& Text1() { return *Text1_; }

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information tool, or says it is unavailable.
    void StartSysInfo();

    // "<title> Version <major>.<minor>.<revision>".
    static QString versionText(const QString& title);

private:
    Prompts& prompts_;
    QLabel* picIcon;
    QLabel* lblVersion_;
    QPlainTextEdit* Text1_;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
};
