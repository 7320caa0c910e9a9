#include "dialogs/frmScan.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmScan::frmScan(QWidget* parent)
    : QDialog(parent), Label1_(new QLabel(QStringLiteral("Scanning Source Code File."), this)),
      ProgressBar1_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmScan"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1_);
    layout->addWidget(ProgressBar1_);
    ProgressBar1_->hide();
    setMinimumWidth(320);
    Form_Load();
}

frmScan::~frmScan() {
    Form_Unload();
}

void frmScan::Form_Load() {
    setWindowTitle(Prompts::appTitle());
}

void frmScan::Form_Activate() {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
}

void frmScan::Form_Unload() {
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
}
