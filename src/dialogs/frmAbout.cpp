#include "dialogs/frmAbout.h"

#include "platform/Prompts.h"
#include "platform/ShellServices.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QFrame* etchedLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

frmAbout::frmAbout(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), picIcon(new QLabel(this)), lblVersion_(new QLabel(this)),
      Text1_(new QPlainTextEdit(this)), lblDisclaimer(new QLabel(this)),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdSysInfo(new QPushButton(QStringLiteral("&System Info..."), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    Text1_->setReadOnly(true);
    Text1_->setPlainText(QStringLiteral("Korvana Systems\n"
                                        "Telephone: +1 555 0142 7700\n"
                                        "Fax: +1 555 0142 7701\n"
                                        "Web: https://www.korvanasystems.com\n"
                                        "Support: support@korvanasystems.com"));
    Text1_->setMinimumHeight(100);
    cmdOK->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addWidget(lblVersion_);
    right->addWidget(Text1_);
    top->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblDisclaimer, 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(etchedLine(this));
    layout->addWidget(etchedLine(this));
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    Form_Load();
}

QString frmAbout::versionText(const QString& title) {
    return title + QStringLiteral(" Version ") + QString::number(PINWRIGHT_VERSION_MAJOR) + u'.' +
           QString::number(PINWRIGHT_VERSION_MINOR) + u'.' + QString::number(PINWRIGHT_VERSION_PATCH);
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + Prompts::appTitle());
    lblVersion_->setText(versionText(Prompts::appTitle()));
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    const QString tool = shell::systemInfoTool();
    if (tool.isEmpty() || !shell::startDetached(tool, {}))
        prompts_.message(this, QStringLiteral("System Information Is Unavailable At This Time"));
}
