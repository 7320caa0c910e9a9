#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#if defined(Q_OS_LINUX)
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {
int pairsMade = 0;
}

PtyPair::PtyPair() {
    // Serial ports are locked by name, and test programs run side by side: every end has its own.
    const QString tag = QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(++pairsMade);
    ide_ = dir_.filePath(QStringLiteral("ide-") + tag);
    board_ = dir_.filePath(QStringLiteral("board-") + tag);
}

PtyPair::~PtyPair() {
    stop();
}

bool PtyPair::available() {
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

bool PtyPair::start() {
    stop();
    socat_.setProgram(QStringLiteral("socat"));
    socat_.setArguments(
        {QStringLiteral("pty,raw,echo=0,link=") + board_, QStringLiteral("pty,raw,echo=0,link=") + ide_});
    socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#if defined(Q_OS_LINUX)
    // A test that crashes or is stopped by its time limit takes its pair down with it.
    socat_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    socat_.start();
    if (!socat_.waitForStarted(10000))
        return false;
    return QTest::qWaitFor([this] { return QFileInfo::exists(ide_) && QFileInfo::exists(board_); }, 20000);
}

void PtyPair::stop() {
    if (socat_.state() == QProcess::NotRunning)
        return;
    socat_.terminate();
    if (!socat_.waitForFinished(10000)) {
        socat_.kill();
        socat_.waitForFinished(10000);
    }
    (void)QTest::qWaitFor([this] { return !QFileInfo::exists(ide_) && !QFileInfo::exists(board_); }, 10000);
}
