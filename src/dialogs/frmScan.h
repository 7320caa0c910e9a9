#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// Shown while a source file is scanned for labels and declarations; the loading code drives its bar.
class frmScan : public QDialog {
    Q_OBJECT
public:
    explicit frmScan(QWidget* parent = nullptr);
    ~frmScan() override;

    QProgressBar& ProgressBar1() { return *ProgressBar1_; }
    QLabel& Label1() { return *Label1_; }

    // Shows the window with its contents painted, before the caller's work holds the event loop up.
    void showPainted();

    void Form_Load();
    void Form_Activate();
    void Form_Unload();

private:
    QLabel* Label1_;
    QProgressBar* ProgressBar1_;
    bool busyCursor_ = false;
};
