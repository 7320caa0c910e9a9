#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QString>
#include <QWidget>

class FrameServices;
class QPlainTextEdit;
class QTimer;

// The compiler output window, one for the whole program: the captured output of the last run, a
// countdown that closes the window after a run without errors, Esc to cancel the countdown or close,
// and a double-click on an error line that shows that line in the editor.
class CompilerScreen : public QWidget {
    Q_OBJECT
public:
    static inline const QString CreationCaption = QStringLiteral("Compiler Output - Esc to Close");
    static inline const QString CancelledCaption =
        QStringLiteral("Compiler Output - Auto Close Canceled - Esc to Close");
    static inline const QString WaitText = QStringLiteral("Compiling Please Wait.....");
    // Above this size the window shows the start of the output and says where the rest is.
    static constexpr int ShownOutputLimit = 2 * 1024 * 1024;

    explicit CompilerScreen(FrameServices& frame);

    QPlainTextEdit& CompilerOutput() { return *CompilerOutput_; }
    QTimer& CompileScreenTimer() { return *CompileScreenTimer_; }
    // The timer's tag: the seconds left before the window closes, as decimal text.
    QString CompileScreenTimerTag;

    // A run of the document at `path` starts: the window shows itself with the waiting text; the
    // document's own error lines belong to the window `owner`.
    void startRun(QMdiSubWindow* owner, const QString& path);
    // The collected output (whether or not the window is shown).
    void showOutput(const QString& output, const QString& captureFile);
    // The countdown from a stored number of seconds; false when the text is not a number.
    bool startCountdown(const QString& seconds);

    void CompileScreenTimer_Timer();
    // Returns true when the key was handled (only Esc is).
    bool CompilerOutput_KeyDown(int KeyCode, int Shift);
    // Shows the error line under the caret of the output in its editor window.
    void CompilerOutput_DblClick();
    void Form_Resize();

    QMdiSubWindow* runOwner() const { return owner_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCountdownCaption();

    FrameServices& frame_;
    QPlainTextEdit* CompilerOutput_;
    QTimer* CompileScreenTimer_;
    QPointer<QMdiSubWindow> owner_;
    QString document_;
};
