#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Runs the event loop, at most `sliceMs` at a time, until `done` holds or `ms` have passed; false
// when the time ran out.
template <typename F>
bool waitFor(F done, int ms, int sliceMs = 5) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, sliceMs);
    }
    return true;
}
