#include "toolchain/frmCompile.h"

#include "toolchain/OptionRules.h"
#include "toolchain/OptionsLayout.h"
#include "language/HelpPages.h"
#include "platform/HelpViewer.h"
#include "platform/PlatformWords.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

frmCompile::frmCompile(FrameServices& frame)
    : QDialog(frame.frameWindow()), frame_(frame), Compiler_(new QComboBox), CompilerPath_(new QLineEdit),
      Browse(new QPushButton(QStringLiteral("..."))), CommandOptions_(new QLineEdit),
      cbDoswindow_(new QCheckBox(platformwords::hideConsoleCaption())), AutoClose_(new QCheckBox),
      SecScroll_(new QSpinBox), SourceCodePath_(new QLineEdit),
      Browse2(new QPushButton(QStringLiteral("..."))), cmdOK(new QPushButton(QStringLiteral("&OK"))),
      cmdExit(new QPushButton(QStringLiteral("&Cancel"))), Help(new QPushButton(QStringLiteral("&Help"))) {
    setWindowTitle(QStringLiteral("Compiler Options"));
    setObjectName(QStringLiteral("frmCompile"));
    Compiler_->addItems({QStringLiteral("PicBasic Pro Compiler"), QStringLiteral("PicBasic Compiler")});
    SecScroll_->setRange(1, 60);
    AutoClose_->setText(QStringLiteral("&Auto Close Compiler Output Screen in: 5 Secs"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Compi&ler:"), Compiler_);
    form->addRow(QStringLiteral("Compiler &Pathname:"), optionslayout::withBrowse(CompilerPath_, Browse));
    form->addRow(QStringLiteral("Comma&nd Line Options:"), CommandOptions_);
    form->addRow(cbDoswindow_);
    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(AutoClose_, 1);
    autoRow->addWidget(SecScroll_);
    form->addRow(autoRow);
    form->addRow(QStringLiteral("Default &Source Code Directory:"),
                 optionslayout::withBrowse(SourceCodePath_, Browse2));
    optionslayout::arrange(*this, form, cmdOK, cmdExit, Help, 560);

    Form_Load();
    connect(Browse, &QPushButton::clicked, this, &frmCompile::Browse_Click);
    connect(Browse2, &QPushButton::clicked, this, &frmCompile::Browse2_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCompile::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCompile::cmdExit_Click);
    connect(Help, &QPushButton::clicked, this, &frmCompile::Help_Click);
    connect(SecScroll_, &QSpinBox::valueChanged, this, &frmCompile::SecScroll_Change);
}

QString frmCompile::compilerFilter() {
#ifdef Q_OS_WIN
    return QStringLiteral("PicBasic Pro Compiler|PBP*.exe|PicBasic Compiler|PBC.exe|All Files (*.*)|*.*|");
#else
    // A compiler built for this system has no extension; a Windows one runs under Wine.
    return QStringLiteral("PicBasic Pro Compiler|PBP*.exe;PBP*.EXE;pbp*;PBP*|"
                          "PicBasic Compiler|PBC.exe;PBC.EXE;pbc;PBC|Windows Programs|*.exe;*.EXE|"
                          "All Files (*)|*|");
#endif
}

void frmCompile::Form_Load() {
    Settings& s = frame_.state().settings;
    using namespace settings::startup;
    Compiler_->setCurrentIndex(text::ValInt(s.read(CompilerType)));
    CompilerPath_->setText(s.read(CompilerPathName));
    CommandOptions_->setText(s.read(CompilerCommandLineOptions));
    cbDoswindow_->setChecked(text::ValInt(s.read(DosWindow)) == 1);
    AutoClose_->setChecked(text::ValInt(s.read(AutoCloseCW)) == 1);
    SecScroll_->setValue(text::ValInt(s.read(AutoCloseCWTime)));
    SourceCodePath_->setText(s.read(settings::startup::SourceCodePath));
    SecScroll_Change();
}

void frmCompile::SecScroll_Change() {
    AutoClose_->setText(QStringLiteral("&Auto Close Compiler Output Screen in:") +
                        text::Str(SecScroll_->value()) + QStringLiteral(" Secs"));
}

void frmCompile::cmdOK_Click() {
    Settings& s = frame_.state().settings;
    using namespace settings::startup;
    const int compiler = Compiler_->currentIndex();
    s.save(CompilerType, QString::number(compiler));
    s.save(CompilerPathName, CompilerPath_->text());
    CommandOptions_->setText(optionrules::mpasmOptions(CommandOptions_->text()));
    s.save(CompilerCommandLineOptions, CommandOptions_->text());
    s.save(DosWindow, cbDoswindow_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.save(AutoCloseCW, AutoClose_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.save(AutoCloseCWTime, QString::number(SecScroll_->value()));
    SourceCodePath_->setText(optionrules::sourceFolder(SourceCodePath_->text()));
    s.save(settings::startup::SourceCodePath, SourceCodePath_->text());
    if (compiler == 0 || compiler == 1) {
        frame_.state().PBPMode = compiler == 0;
        frame_.ShowCompilerPanel();
    }
    // The PicBasic list is shorter: the same position may now name another device.
    ActiveToolBars& bars = frame_.toolBars();
    const int device = bars.ListIndex(ids::ID_Device);
    frame_.GetDevices();
    bars.SetListIndex(ids::ID_Device, device);
    accept();
}

void frmCompile::cmdExit_Click() {
    reject();
}

void frmCompile::Help_Click() {
    frame_.help().ShowHelpTopic(HelpPages::CompilerOptionsContext);
}

void frmCompile::Browse_Click() {
    Prompts& prompts = frame_.state().prompts;
    const QString start = frame_.state().settings.paths().applicationFolder();
    QString chosen;
    if (!prompts.openFile(this, {QString(), AppPaths::join(start, QString()), compilerFilter()}, chosen))
        return;
    if (chosen.isEmpty())
        prompts.message(this, QStringLiteral("No filename entered."), QStringLiteral("File Error"));
    else
        CompilerPath_->setText(chosen);
}

void frmCompile::Browse2_Click() {
    Prompts& prompts = frame_.state().prompts;
    const QString typed = SourceCodePath_->text();
    const QString start =
        text::Trim(typed).isEmpty() ? frame_.state().settings.paths().applicationFolder() : typed;
    QString chosen;
    if (!prompts.chooseFolder(this, QStringLiteral("Select Source Code Default Directory"), start, chosen))
        return;
    if (chosen.isEmpty())
        prompts.message(this, QStringLiteral("No Directory Selected."), QStringLiteral("File Error"));
    else
        SourceCodePath_->setText(chosen);
}
