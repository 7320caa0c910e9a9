#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real pseudo-terminal pair made by socat: the program under test opens one end as its serial
// port, the test plays the board on the other. Stopping the pair is the board being unplugged.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();

    // Whether socat can be run here.
    static bool available();
    // Starts socat and waits until both ends exist; false when that fails within the wait.
    bool start();
    // Ends socat and waits until the ends are gone.
    void stop();

    // The two ends, as links to the pseudo-terminals (the names are unique to this pair).
    QString idePath() const { return ide_; }
    QString boardPath() const { return board_; }

private:
    QTemporaryDir dir_;
    QProcess socat_;
    QString ide_;
    QString board_;
};
