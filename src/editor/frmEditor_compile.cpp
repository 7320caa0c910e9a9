// The editor window's part of a compile: starting the run, collecting it, and the message of an error line.
#include "editor/frmEditor.h"

#include "toolchain/CaptureFile.h"
#include "toolchain/CompileRun.h"
#include "toolchain/CompilerScreen.h"
#include "toolchain/RunScript.h"
#include "toolchain/frmCompile.h"
#include "platform/AppPaths.h"
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

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace {

const QString kGoCompileError = QStringLiteral("GoCompile Error:");

} // namespace

void frmEditor::GoCompile() {
    Settings& s = state_.settings;
    const QString workFolder = s.paths().workFolder();
    const QString docShort = GetShortPath(View_->Document().PathName());
    const QString appShort = GetShortPath(workFolder);
    const QString compilerShort = GetShortPath(s.read(settings::startup::CompilerPathName));
    const QString docFolder = AppPaths::folderOf(docShort);
    if (!docFolder.isEmpty())
        QDir::setCurrent(docFolder);
    if (compilerShort.isEmpty()) {
        frmCompile options(frame_);
        options.exec();
        return;
    }
    AppError error = startRun(docShort, appShort, compilerShort, docFolder);
    if (error)
        reports::named(state_.prompts, this, kGoCompileError, error);
}

AppError frmEditor::startRun(const QString& docShort, const QString& appShort, const QString& compilerShort,
                             const QString& docFolder) {
    Settings& s = state_.settings;
    const QString options = text::Trim(s.read(settings::startup::CompilerCommandLineOptions));
    const QString device = runscript::deviceArg(frame_.toolBars().Text(ids::ID_Device));
    QStringList lines;
    AppError error;
    if (!compilerun::scriptLines({docShort, appShort, compilerShort, options, device}, lines, error))
        return error;
    // One run at a time: a new one supersedes the run still going, which then leaves no result.
    for (frmEditor* w : frame_.editors())
        w->CheckFile().stop();
    shell::endProcess(state_.CompileProcess);
    state_.CompileProcess = nullptr;
    if ((error = compilerun::clearCapture(appShort)))
        return error;
    const QString script = compilerun::scriptPath(appShort);
    if ((error = compilerun::writeScript(script, lines)))
        return error;
    capture_.reset();

    double dosWindow = 0;
    if (!text::ToNumber(s.read(settings::startup::DosWindow), dosWindow))
        return AppError::typeMismatch();
    bool hidden = dosWindow == 1;
    if (!hidden) {
        QString why;
        switch (compilerun::startShown(script, appShort, &why)) {
        case compilerun::Shown::Started:
            break;
        case compilerun::Shown::Failed:
            // No run: nothing to poll for, and the message says what did not start.
            state_.prompts.message(this, QStringLiteral("Unable to launch application.\n") + why);
            return {};
        case compilerun::Shown::NoTerminal:
            hidden = true;
            break;
        }
    }
    if (hidden) {
        state_.CompileProcess = compilerun::startHidden(script, docFolder, frame_.frameWindow(), error);
        if (error)
            return error.about(script);
    }
    // The poll starts with a run behind it.
    CheckFile_->start();
    frame_.compilerScreen().startRun(this, View_->Document().PathName());
    return {};
}

void frmEditor::CheckFile_Timer() {
    QByteArray bytes;
    if (compilerun::readCapture(state_.settings.paths().workFolder(), bytes))
        collect(bytes);
    View_->Refresh();
}

void frmEditor::collect(const QByteArray& bytes) {
    // Collected exactly once, however far the steps below get.
    CheckFile_->stop();
    SourceDocument& doc = View_->Document();
    capture_ = std::make_unique<capture::Capture>(
        capture::parse(capture::decode(bytes), QFileInfo(doc.PathName()).fileName()));
    CompilerScreen& screen = frame_.compilerScreen();
    screen.showOutput(capture_->text, compilerun::capturePath(state_.settings.paths().workFolder()));
    // The window holds what it shows; a flood of output need not stay in memory until the next run.
    capture_->text = QString();
    shell::endProcess(state_.CompileProcess);
    state_.CompileProcess = nullptr;

    // This document marks only its own lines: an error in another file, or one on a line the document
    // does not have, is listed in the output but marks nothing here. An error in an INCLUDEd file
    // marks that file's window when it is open (and when it opens later, see MDIMain::createEditor).
    QList<capture::ErrorLine> own;
    for (const capture::ErrorLine& e : capture_->errors)
        if (e.file.isEmpty())
            own << e;
    markErrors(own, this);
    for (frmEditor* other : frame_.editors()) {
        if (other == this)
            continue;
        const QList<capture::ErrorLine> included =
            frame_.errorsForFile(*this, other->View().Document().PathName());
        // A window this document's previous run marked loses those marks when this run has none for it.
        if (included.isEmpty() && other->errorSource() != this)
            continue;
        other->markErrors(included, this);
        other->View().Refresh();
    }
    emit compileFinished(!capture_->malformed && !capture_->errorsFound());
    if (capture_->malformed)
        return;

    double autoClose = 0;
    if (!text::ToNumber(state_.settings.read(settings::startup::AutoCloseCW), autoClose))
        return;
    if (capture_->errorsFound()) {
        if (int(autoClose) != 0)
            screen.setWindowTitle(CompilerScreen::CancelledCaption);
    } else if (autoClose == 1) {
        screen.startCountdown(state_.settings.read(settings::startup::AutoCloseCWTime));
    }
}

bool frmEditor::markErrors(const QList<capture::ErrorLine>& errors, frmEditor* source) {
    SourceDocument& doc = View_->Document();
    const int lines = doc.NumLines();
    for (int line = 0; line < lines; ++line) {
        doc.SetLineData(line, capture::ErrorSlot, 0);
        if (doc.GetLineData(line, capture::MessageSlot) != 0)
            doc.SetLineData(line, capture::MessageSlot, 0);
    }
    errorMessages_.clear();
    errorSource_ = nullptr;
    for (const capture::ErrorLine& e : errors) {
        if (e.line < 1 || e.line > lines)
            continue;
        doc.SetLineData(e.line - 1, capture::ErrorSlot, capture::ErrorMark);
        // A line reported twice shows its first message.
        if (doc.GetLineData(e.line - 1, capture::MessageSlot) == 0) {
            errorMessages_ << e.message;
            doc.SetLineData(e.line - 1, capture::MessageSlot, qint32(errorMessages_.size()));
        }
        errorSource_ = source;
    }
    // The caret's line may have gained or lost its message.
    View_CaretMove(View_->CaretX(), View_->CaretY());
    emit errorMarksChanged();
    return errorSource_ != nullptr;
}

void frmEditor::GetErrorDescription(const qint32& Line) {
    // The message is found through the line's own data, which moves with the line as text is edited.
    const int n = View_->Document().GetLineData(Line - 1, capture::MessageSlot);
    if (n >= 1 && n <= errorMessages_.size())
        setStatusText(errorMessages_[n - 1]);
    else if (capture_ && capture_->malformed)
        // The reading stopped at an error line without its colon before finding this line.
        reports::named(state_.prompts, this, QStringLiteral("GetErrorDescription Error:"),
                       AppError::fromNumber(5));
}

void frmEditor::ClearError() {
    SourceDocument& doc = View_->Document();
    const int line = View_->CaretY();
    if (doc.GetLineData(line, capture::ErrorSlot) != capture::ErrorMark)
        return;
    doc.SetLineData(line, capture::ErrorSlot, 0);
    View_->Refresh();
    statusText_.clear();
    emit errorMarksChanged();
    emit caretStateChanged();
}

void frmEditor::ClearAllErrors() {
    SourceDocument& doc = View_->Document();
    for (int line = 0; line < doc.NumLines(); ++line)
        if (doc.GetLineData(line, capture::ErrorSlot) == capture::ErrorMark)
            doc.SetLineData(line, capture::ErrorSlot, 0);
    View_->Refresh();
    statusText_.clear();
    emit errorMarksChanged();
    emit caretStateChanged();
}
