#include "dialogs/frmScan.h"

#include "platform/Prompts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

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

void frmScan::showPainted() {
    show();
    Form_Activate();
    // Until the window system has mapped the window, painting it shows nothing but its frame: give it
    // a moment to arrive (other windows repaint meanwhile, e.g. where a file dialog just closed).
    QDeadlineTimer deadline(500);
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (windowHandle() && windowHandle()->isExposed())
            break;
        QThread::msleep(5);
    } while (!deadline.hasExpired());
    repaint();
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
