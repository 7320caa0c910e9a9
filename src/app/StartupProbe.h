#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

// Timing marks for the benchmarks, off unless PINWRIGHT_STARTUP_PROBE is set in the environment.
// When set, the program writes one line to standard error once the event loop first runs out of work
// with the window painted, and quits:
//   pinwright-probe shown_ms=… ready_ms=… shown_cpu_ms=… cpu_ms=… peak_kb=… heap_kb=…
// shown_ms is when the frame was shown and ready_ms when it was idle, both counted from the start of
// main(); shown_cpu_ms and cpu_ms are the process's user+system time at those moments, and peak_kb
// its peak resident memory (Unix only, -1 elsewhere), heap_kb what it holds on its heap at that
// moment (with the GNU C library only, -1 elsewhere).
// With PINWRIGHT_STARTUP_PROBE=view the program instead goes on running after that line, which is
// followed by what the user sees at that moment, a line each (the install checks judge by them):
//   pinwright-view window "TITLE"            a visible window
//   pinwright-view box "TITLE" "TEXT"        a visible message box
//   pinwright-view combo ID INDEX COUNT "TEXT"   a combo of the frame's toolbars
//   pinwright-view data "PATH"               where the device list was looked for
class StartupProbe : public QObject {
    Q_OBJECT
public:
    // Null when the environment does not ask for it. `sinceStart` runs from the start of main().
    static StartupProbe* install(QWidget* frame, const QElapsedTimer& sinceStart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StartupProbe(QWidget* frame, const QElapsedTimer& sinceStart);
    void onIdle();
    void reportView() const;

    QWidget* frame_;
    QElapsedTimer clock_;
    qint64 shownMs_ = -1;
    qint64 shownCpuMs_ = -1;
    bool painted_ = false;
    bool stay_ = false;
};
