#include "toolchain/CompilerScreen.h"

#include "toolchain/CaptureFile.h"
#include "toolchain/IncludeFiles.h"
#include "platform/KeyCodes.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/WindowPlacement.h"
#include "platform/sourceview/SourceView.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

CompilerScreen::CompilerScreen(FrameServices& frame)
    : QWidget(frame.frameWindow(), Qt::Window), frame_(frame), CompilerOutput_(new QPlainTextEdit(this)),
      CompileScreenTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("CompilerScreen"));
    setWindowTitle(CreationCaption);
    CompilerOutput_->setObjectName(QStringLiteral("CompilerOutput"));
    CompilerOutput_->setLineWrapMode(QPlainTextEdit::NoWrap);
    CompilerOutput_->setReadOnly(true);
    CompilerOutput_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    CompilerOutput_->setPlainText(WaitText);
    CompilerOutput_->installEventFilter(this);
    CompilerOutput_->viewport()->installEventFilter(this);
    CompileScreenTimer_->setInterval(1000);
    CompileScreenTimer_->setObjectName(QStringLiteral("CompileScreenTimer"));
    connect(CompileScreenTimer_, &QTimer::timeout, this, &CompilerScreen::CompileScreenTimer_Timer);
    resize(640, 300);
}

void CompilerScreen::startRun(QMdiSubWindow* owner, const QString& path) {
    owner_ = owner;
    document_ = path;
    // A countdown left from the previous run must not close the window over this one.
    CompileScreenTimer_->stop();
    setWindowTitle(CreationCaption);
    CompilerOutput_->setPlainText(WaitText);
    if (isVisible()) {
        raise();
    } else {
        placement::placeNear(*this, frame_.frameWindow());
        show();
    }
}

void CompilerScreen::showOutput(const QString& output, const QString& captureFile) {
    if (output.size() <= ShownOutputLimit) {
        CompilerOutput_->setPlainText(output);
        return;
    }
    // Megabytes of output would hold the window up for seconds; the errors are collected from all of it.
    const qsizetype cut = output.lastIndexOf(u'\n', ShownOutputLimit);
    CompilerOutput_->setPlainText(output.left(cut > 0 ? cut : ShownOutputLimit) +
                                  QStringLiteral("\n... (the output goes on; all of it is in ") +
                                  captureFile + QStringLiteral(")"));
}

bool CompilerScreen::startCountdown(const QString& seconds) {
    double value = 0;
    if (!text::ToNumber(seconds, value))
        return false;
    CompileScreenTimerTag = seconds;
    setCountdownCaption();
    CompileScreenTimer_->start();
    return true;
}

void CompilerScreen::setCountdownCaption() {
    setWindowTitle(QStringLiteral("Compiler Output - Auto Close in:") +
                   text::Str(text::ValInt(CompileScreenTimerTag)) + QStringLiteral(" Secs - Esc to Cancel"));
}

void CompilerScreen::CompileScreenTimer_Timer() {
    CompileScreenTimerTag = QString::number(text::ValInt(CompileScreenTimerTag) - 1);
    setCountdownCaption();
    if (text::ValInt(CompileScreenTimerTag) == 0) {
        CompileScreenTimer_->stop();
        close();
    }
}

bool CompilerScreen::CompilerOutput_KeyDown(int KeyCode, int) {
    if (KeyCode != keys::VK_Escape)
        return false;
    if (CompileScreenTimer_->isActive()) {
        CompileScreenTimer_->stop();
        setWindowTitle(CancelledCaption);
    } else {
        close();
    }
    return true;
}

void CompilerScreen::CompilerOutput_DblClick() {
    const QString line = CompilerOutput_->textCursor().block().text();
    capture::ErrorLine e;
    const QString documentName = QFileInfo(document_).fileName();
    if (capture::parseLine(line, documentName, e) != capture::LineKind::Error)
        return;
    SourceView* target = nullptr;
    if (e.file.isEmpty()) {
        target = frame_.showDocument(owner_, document_);
    } else {
        const QStringList folders = includefiles::searchFolders(
            document_, frame_.state().settings.read(settings::startup::CompilerPathName));
        const QString path = includefiles::find(e.file, folders);
        if (path.isEmpty()) {
            frame_.state().prompts.message(this, includefiles::notFoundMessage(e.file, folders));
            return;
        }
        target = frame_.showDocument(nullptr, path);
    }
    if (!target)
        return;
    SourceView& view = *target;
    const int last = std::max(view.Document().NumLines() - 1, 0);
    view.MoveCaret(0, std::clamp(e.line - 1, 0, last));
    view.SetFocus();
}

void CompilerScreen::Form_Resize() {
    // The box leaves 100 twips free at the right and the bottom.
    const double dpi = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    const int margin = int(100 * dpi / 1440.0 + 0.5);
    const int w = width() - margin;
    const int h = height() - margin;
    if (w < 0 || h < 0)
        return;
    CompilerOutput_->setGeometry(0, 0, w, h);
}

void CompilerScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool CompilerScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CompilerOutput_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (CompilerOutput_KeyDown(keys::virtualKey(*key), keys::shiftMask(key->modifiers())))
            return true;
    } else if (watched == CompilerOutput_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The box puts its caret on the clicked line first; the jump reads it afterwards.
        QMetaObject::invokeMethod(this, &CompilerScreen::CompilerOutput_DblClick, Qt::QueuedConnection);
        return false;
    }
    return QWidget::eventFilter(watched, event);
}
