#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

// Milliseconds of a step. By default the calling thread's CPU time: on a machine shared with other
// work the wall clock counts that work too, while for a step that neither sleeps nor waits the
// thread's CPU time is what the wall clock shows on an idle machine. PINWRIGHT_BENCH_WALL=1 in the
// environment measures wall time instead.
class StepClock {
public:
    StepClock() { start(); }
    void start() {
        wall_.start();
        cpuStart_ = cpuNs();
    }
    double ms() const {
        if (useWall())
            return double(wall_.nsecsElapsed()) / 1e6;
        return double(cpuNs() - cpuStart_) / 1e6;
    }

private:
    static bool useWall() {
#ifdef Q_OS_UNIX
        static const bool wall = qEnvironmentVariableIntValue("PINWRIGHT_BENCH_WALL") != 0;
        return wall;
#else
        return true;
#endif
    }
    static qint64 cpuNs() {
#ifdef Q_OS_UNIX
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
#else
        return 0;
#endif
    }

    QElapsedTimer wall_;
    qint64 cpuStart_ = 0;
};
