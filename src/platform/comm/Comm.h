#pragma once

#include "platform/AppError.h"
#include "platform/comm/HexDump.h"
#include "platform/comm/LineSplitter.h"
#include "platform/comm/PlotData.h"
#include "platform/comm/ScrollBack.h"
#include "platform/comm/SendHistory.h"
#include "platform/comm/TerminalKeys.h"
#include "platform/comm/VisibleText.h"

#include <QElapsedTimer>
#include <QWidget>

class CommPort;
class PlotView;
class Prompts;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTimer;
class SerialLink;
class QToolBar;
class TerminalView;

// The serial terminal control: a serial port (a number or a device name, the settings text, the open
// state) and the views of what passes over it. The text view shows what arrives as it arrives and
// sends what the user types; beside it a hex view of the received bytes, under it a live plot of the
// numbers in the received lines, and a send box for whole lines. Received data is gathered and shown
// a few times a second, with every view bounded, so a flood neither stalls the window nor grows memory.
class Comm : public QWidget {
    Q_OBJECT
public:
    // Lines kept by the text view, rows by the hex view, samples by the plot; the longest line in
    // bytes (longer ones are broken there, so binary data without line ends stays bounded too).
    static constexpr int ScrollBackLines = 5000;
    static constexpr int HexRows = 4096;
    static constexpr int PlotWindow = 1000;
    static constexpr int MaxLineLength = 200;
    // How often the views are brought up to date while data comes in, and how many lines one update
    // adds to a view at most (the rest wait for the next update, bounded by the scroll-back).
    static constexpr int UpdateMs = 30;
    static constexpr int FlushLines = 300;
    static constexpr int PlotMs = 100;

    explicit Comm(QWidget* parent = nullptr);
    ~Comm() override;

    // --- the port ---
    int portNumber() const;
    void setPortNumber(int number);
    QString portName() const;
    void setPortName(const QString& name);
    // A simulated line in place of a port (null goes back to the number).
    void setPortLink(SerialLink* link);
    QString settings() const;
    // A malformed text is refused with error 380 and a description of what is wrong.
    AppError setSettings(const QString& text);
    bool portOpen() const;
    AppError setPortOpen(bool open);

    // --- the terminal's choices ---
    terminalkeys::Enter enterSends() const { return enter_; }
    void setEnterSends(terminalkeys::Enter enter);
    bool localEcho() const { return echo_; }
    void setLocalEcho(bool on);
    bool timeStamps() const { return timeStamps_; }
    void setTimeStamps(bool on);
    bool hexShown() const { return hexOn_; }
    void setHexShown(bool on);
    bool plotShown() const { return plotOn_; }
    void setPlotShown(bool on);
    bool plotPaused() const { return paused_; }
    void setPlotPaused(bool on);
    // The file the log goes to, or went to last (the log dialog starts there).
    QString logFile() const { return logFile_; }
    void setLogFile(const QString& path) { logFile_ = path; }
    bool logging() const { return logging_; }
    // Appends everything received from now on to the file; an unwritable file is refused.
    AppError startLog(const QString& path);
    void stopLog();

    // Message boxes of the control (log file dialog and failures).
    void setPrompts(Prompts* prompts) { prompts_ = prompts; }

    // --- actions ---
    // Sends bytes as typed (echoed when local echo is on); false when the port is closed.
    bool send(const QByteArray& bytes);
    // Sends a line followed by the Enter choice, and keeps it in the send history.
    bool sendLine(const QString& line);
    void clear();
    void clearPlot();
    // Shows at once what is waiting (the views are otherwise brought up to date every UpdateMs).
    void flush();

    // --- parts, for the window and for tests ---
    CommPort& port() { return *port_; }
    TerminalView& textView() { return *text_; }
    TerminalView& hexView() { return *hex_; }
    PlotView& plotView() { return *plot_; }
    const PlotData& plotData() const { return plotData_; }
    QLineEdit& sendBox() { return *sendBox_; }
    QToolBar& optionsBar() { return *options_; }
    SendHistory& history() { return history_; }
    qint64 receivedBytes() const { return received_; }
    // The status line under the views.
    QString statusText() const;

signals:
    // The port closed by itself; the message says why.
    void portLost(const QString& message);
    // A terminal choice changed through the control's own tool bar.
    void optionsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildOptions();
    void onReceived(const QByteArray& bytes);
    void onLost(const QString& message);
    // Adds received bytes, or sent ones (echo), to the text view.
    void showText(QByteArrayView bytes, bool sent);
    void note(const QString& text);
    void noteNotSent();
    // Keys and pastes of the text view: sent, or refused with a word while the port is closed.
    void sendTyped(const QByteArray& bytes);
    // Gives the hex pane and the plot their share of the room.
    void arrange();
    void schedule();
    // Brings the views up to date, adding at most `lines` lines to each (-1: all that wait).
    void showWaiting(int lines);
    void writeLog();
    void updateStatus();
    void syncActions();
    void onSendBox();
    void onLogToggled(bool on);

    CommPort* port_;
    TerminalView* text_;
    TerminalView* hex_;
    PlotView* plot_;
    QSplitter* views_;
    QSplitter* columns_;
    QToolBar* options_;
    QComboBox* enterBox_;
    QAction* echoAction_;
    QAction* stampAction_;
    QAction* hexAction_;
    QAction* plotAction_;
    QAction* logAction_;
    QAction* pauseAction_;
    QAction* clearPlotAction_;
    QLineEdit* sendBox_;
    QPushButton* sendButton_;
    QLabel* status_;
    QTimer* flushTimer_;
    Prompts* prompts_ = nullptr;

    terminalkeys::Enter enter_ = terminalkeys::Enter::CR;
    bool echo_ = false;
    bool timeStamps_ = false;
    bool hexOn_ = false;
    bool plotOn_ = false;
    bool paused_ = false;
    bool logging_ = false;
    QString logFile_;
    QByteArray logPending_;

    LineSplitter textLines_{MaxLineLength};
    LineSplitter plotLines_{MaxLineLength};
    VisibleText visible_;
    ScrollBack textWaiting_{ScrollBackLines};
    bool atLineStart_ = true;
    bool lineSent_ = false;       // the open line holds sent text
    bool notSentShown_ = false;   // the last thing shown is the closed-port remark
    bool hexPlaced_ = false;  // the user dragged the divider beside the hex pane
    bool plotPlaced_ = false; // the user dragged the divider above the plot
    LineSplitter echoLines_{MaxLineLength};
    VisibleText echoVisible_;
    HexDump hexDump_;
    ScrollBack hexWaiting_{HexRows};
    bool hexChanged_ = false;
    QByteArray plotLine_;
    PlotData plotData_{PlotWindow};
    bool plotChanged_ = false;
    QElapsedTimer plotClock_;
    SendHistory history_;
    qint64 received_ = 0;
};
