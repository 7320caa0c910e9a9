#include "toolchain/frmProgrammer.h"

#include "toolchain/CommandLine.h"
#include "toolchain/OptionsLayout.h"
#include "toolchain/RunScript.h"
#include "language/HelpPages.h"
#include "platform/HelpViewer.h"
#include "platform/Prompts.h"
#include "platform/Reports.h"
#include "platform/ShellServices.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

frmProgrammer::frmProgrammer(FrameServices& frame)
    : QDialog(frame.frameWindow()), frame_(frame), Programmer_(new QComboBox), ProgrammerPath_(new QLineEdit),
      Browse(new QPushButton(QStringLiteral("..."))), CommandOptions_(new QLineEdit),
      cmdOK(new QPushButton(QStringLiteral("&OK"))), cmdExit(new QPushButton(QStringLiteral("&Cancel"))),
      Help(new QPushButton(QStringLiteral("&Help"))) {
    setWindowTitle(QStringLiteral("Programmer Options"));
    setObjectName(QStringLiteral("frmProgrammer"));
    Programmer_->addItem(QStringLiteral("EPICWin"));
    CommandOptions_->setPlaceholderText(QStringLiteral("%HEX% %SOURCE% %DEVICE%"));
    CommandOptions_->setToolTip(QStringLiteral("%HEX% stands for the HEX file of the active document, "
                                               "%SOURCE% for the document and %DEVICE% for the device."));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("P&rogrammer:"), Programmer_);
    form->addRow(QStringLiteral("Programmer &Pathname:"), optionslayout::withBrowse(ProgrammerPath_, Browse));
    form->addRow(QStringLiteral("Comma&nd Line Options:"), CommandOptions_);
    optionslayout::arrange(*this, form, cmdOK, cmdExit, Help, 520);

    Form_Load();
    connect(Browse, &QPushButton::clicked, this, &frmProgrammer::Browse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmProgrammer::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmProgrammer::cmdExit_Click);
    connect(Help, &QPushButton::clicked, this, &frmProgrammer::Help_Click);
}

void frmProgrammer::Form_Load() {
    const Settings& s = frame_.state().settings;
    Programmer_->setCurrentIndex(text::ValInt(s.read(settings::startup::ProgrammerType)));
    ProgrammerPath_->setText(s.read(settings::startup::ProgrammerPathName));
    CommandOptions_->setText(s.read(settings::startup::ProgrammerCommandLineOptions));
}

void frmProgrammer::cmdOK_Click() {
    Settings& s = frame_.state().settings;
    s.save(settings::startup::ProgrammerType, QString::number(Programmer_->currentIndex()));
    s.save(settings::startup::ProgrammerPathName, ProgrammerPath_->text());
    s.save(settings::startup::ProgrammerCommandLineOptions, CommandOptions_->text());
    accept();
}

void frmProgrammer::cmdExit_Click() {
    reject();
}

void frmProgrammer::Help_Click() {
    frame_.help().ShowHelpTopic(HelpPages::ProgrammerOptionsContext);
}

void frmProgrammer::Browse_Click() {
    Settings& s = frame_.state().settings;
    Prompts& prompts = frame_.state().prompts;
    // Without a stored path the dialog opens in the application folder rather than on the default file.
    const QString stored = s.Read(QString::fromLatin1(settings::Application), QStringLiteral("Startup"),
                                  QStringLiteral("ProgrammerPathName"),
                                  AppPaths::join(s.paths().applicationFolder(), QString()));
    QString chosen;
    if (!prompts.openFile(this, {QString(), stored, BrowseFilter}, chosen))
        return;
    if (chosen.isEmpty())
        prompts.message(this, QStringLiteral("No filename entered."), QStringLiteral("File Error"));
    else
        ProgrammerPath_->setText(chosen);
}

namespace {

AppError startProgrammer(FrameServices& frame) {
    const Settings& s = frame.state().settings;
    const QString path = text::Trim(s.read(settings::startup::ProgrammerPathName));
    const QString folder = AppPaths::folderOf(path);
    if (!folder.isEmpty() && !QDir::setCurrent(folder))
        return AppError::pathNotFound().about(path);
    const QFileInfo program(path);
    if (path.isEmpty() || !program.exists() || program.isDir())
        return AppError{AppError::FileNotFound, QStringLiteral("File not found: ") + path};

    cmdline::Placeholders values;
    if (const SourceView* view = frame.activeView()) {
        values.source = view->Document().PathName();
        values.hex = cmdline::hexFileOf(values.source);
    }
    values.device = runscript::deviceArg(frame.toolBars().Text(ids::ID_Device));
    QStringList arguments = cmdline::expand(
        cmdline::splitArguments(s.read(settings::startup::ProgrammerCommandLineOptions)), values);

    QString launched = path;
#ifndef Q_OS_WIN
    // The programmer is a Windows program: it runs under Wine when Wine is there.
    if (path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        const QString wine = runscript::findWine();
        if (wine.isEmpty())
            return AppError{AppError::FileNotFound,
                            QStringLiteral("Wine is needed to run ") + path +
                                QStringLiteral(", and the wine command was not found.")};
        arguments.prepend(path);
        launched = wine;
    }
#endif
    if (!shell::startDetached(launched, arguments, folder))
        return AppError{AppError::PathFileAccess, QStringLiteral("Cannot start ") + path};
    return {};
}

} // namespace

void RunProgrammer(FrameServices& frame) {
    const AppError error = startProgrammer(frame);
    if (!error)
        return;
    reports::critical(frame.state().prompts, frame.frameWindow(), error);
    auto* options = new frmProgrammer(frame);
    options->setAttribute(Qt::WA_DeleteOnClose);
    options->show();
}
