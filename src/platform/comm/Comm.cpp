#include "platform/comm/Comm.h"

#include "platform/Prompts.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/TerminalText.h"
#include "platform/comm/TerminalView.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

Comm::Comm(QWidget* parent)
    : QWidget(parent), port_(new CommPort(this)), text_(new TerminalView(ScrollBackLines)),
      hex_(new TerminalView(HexRows)), plot_(new PlotView), views_(new QSplitter(Qt::Vertical)),
      columns_(new QSplitter(Qt::Horizontal)), options_(new QToolBar), sendBox_(new QLineEdit),
      sendButton_(new QPushButton(QStringLiteral("&Send"))), status_(new QLabel),
      flushTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("Comm"));
    text_->setObjectName(QStringLiteral("TerminalText"));
    hex_->setObjectName(QStringLiteral("TerminalHex"));
    hex_->setTyping(false);
    plot_->setObjectName(QStringLiteral("TerminalPlot"));
    sendBox_->setObjectName(QStringLiteral("SendBox"));
    sendBox_->setPlaceholderText(QStringLiteral("Line to send (Up and Down recall earlier lines)"));
    status_->setObjectName(QStringLiteral("TerminalStatus"));

    buildOptions();
    columns_->addWidget(text_);
    columns_->addWidget(hex_);
    // A window that grows or shrinks changes the text's width; the hex pane keeps the width of a row.
    columns_->setStretchFactor(0, 1);
    columns_->setStretchFactor(1, 0);
    views_->addWidget(columns_);
    views_->addWidget(plot_);
    views_->setStretchFactor(0, 1);
    views_->setStretchFactor(1, 1);
    hex_->hide();
    plot_->hide();

    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(sendBox_, 1);
    sendRow->addWidget(sendButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(options_);
    layout->addWidget(views_, 1);
    layout->addLayout(sendRow);
    layout->addWidget(status_);

    flushTimer_->setSingleShot(true);
    flushTimer_->setInterval(UpdateMs);
    connect(flushTimer_, &QTimer::timeout, this, [this] { showWaiting(FlushLines); });
    connect(columns_, &QSplitter::splitterMoved, this, [this] { hexPlaced_ = true; });
    connect(views_, &QSplitter::splitterMoved, this, [this] { plotPlaced_ = true; });
    connect(port_, &CommPort::received, this, &Comm::onReceived);
    connect(port_, &CommPort::lost, this, &Comm::onLost);
    connect(text_, &TerminalView::keyTyped, this,
            [this](int key, Qt::KeyboardModifiers modifiers, const QString& typed) {
                sendTyped(terminalkeys::keyBytes(key, modifiers, typed, enter_));
            });
    connect(text_, &TerminalView::pasteRequested, this,
            [this](const QString& pasted) { sendTyped(terminalkeys::pasteBytes(pasted, enter_)); });
    connect(sendBox_, &QLineEdit::returnPressed, this, &Comm::onSendBox);
    connect(sendButton_, &QPushButton::clicked, this, &Comm::onSendBox);
    sendBox_->installEventFilter(this);
    updateStatus();
}

Comm::~Comm() {
    flushTimer_->stop();
    if (logging_)
        writeLog();
}

void Comm::buildOptions() {
    options_->setObjectName(QStringLiteral("TerminalOptions"));
    options_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    options_->setIconSize(QSize(16, 16));
    auto* enterLabel = new QLabel(QStringLiteral(" Enter se&nds: "));
    enterBox_ = new QComboBox;
    enterBox_->setObjectName(QStringLiteral("EnterSends"));
    enterBox_->addItems({QStringLiteral("CR"), QStringLiteral("LF"), QStringLiteral("CR LF")});
    enterBox_->setToolTip(QStringLiteral("What the Enter key and the send box end a line with"));
    enterLabel->setBuddy(enterBox_);
    options_->addWidget(enterLabel);
    options_->addWidget(enterBox_);
    connect(enterBox_, &QComboBox::activated, this, [this](int index) {
        enter_ = terminalkeys::Enter(index);
        emit optionsChanged();
    });

    auto toggle = [this](const QString& caption, const QString& name, const QString& tip, auto apply) {
        QAction* a = options_->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(true);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, [this, apply](bool on) {
            apply(on);
            emit optionsChanged();
        });
        return a;
    };
    options_->addSeparator();
    echoAction_ = toggle(QStringLiteral("Echo"), QStringLiteral("LocalEcho"),
                         QStringLiteral("Show what you send in the terminal as well"),
                         [this](bool on) { setLocalEcho(on); });
    stampAction_ = toggle(QStringLiteral("Time"), QStringLiteral("TimeStamps"),
                          QStringLiteral("Put the time of arrival before each received line"),
                          [this](bool on) { setTimeStamps(on); });
    hexAction_ = toggle(QStringLiteral("Hex"), QStringLiteral("HexView"),
                        QStringLiteral("Show the received bytes in hex beside the text"),
                        [this](bool on) { setHexShown(on); });
    plotAction_ = toggle(QStringLiteral("Plot"), QStringLiteral("PlotView"),
                         QStringLiteral("Plot the numbers of each received line"),
                         [this](bool on) { setPlotShown(on); });
    logAction_ = options_->addAction(QStringLiteral("Log..."));
    logAction_->setObjectName(QStringLiteral("LogToFile"));
    logAction_->setCheckable(true);
    logAction_->setToolTip(QStringLiteral("Write everything received to a file"));
    connect(logAction_, &QAction::triggered, this, &Comm::onLogToggled);
    QAction* clearAction = options_->addAction(QStringLiteral("Clear"));
    clearAction->setObjectName(QStringLiteral("ClearTerminal"));
    clearAction->setToolTip(QStringLiteral("Clear the text and hex views"));
    connect(clearAction, &QAction::triggered, this, &Comm::clear);
    options_->addSeparator();
    pauseAction_ = options_->addAction(QStringLiteral("Pause Plot"));
    pauseAction_->setObjectName(QStringLiteral("PausePlot"));
    pauseAction_->setCheckable(true);
    connect(pauseAction_, &QAction::triggered, this, &Comm::setPlotPaused);
    clearPlotAction_ = options_->addAction(QStringLiteral("Clear Plot"));
    clearPlotAction_->setObjectName(QStringLiteral("ClearPlot"));
    connect(clearPlotAction_, &QAction::triggered, this, &Comm::clearPlot);
    syncActions();
}

void Comm::syncActions() {
    enterBox_->setCurrentIndex(int(enter_));
    echoAction_->setChecked(echo_);
    stampAction_->setChecked(timeStamps_);
    hexAction_->setChecked(hexOn_);
    plotAction_->setChecked(plotOn_);
    logAction_->setChecked(logging_);
    pauseAction_->setChecked(paused_);
    pauseAction_->setVisible(plotOn_);
    clearPlotAction_->setVisible(plotOn_);
}

// --- the port ---

int Comm::portNumber() const {
    return port_->number();
}

void Comm::setPortNumber(int number) {
    port_->setNumber(number);
    port_->setName(QString());
}

QString Comm::portName() const {
    return port_->name();
}

void Comm::setPortName(const QString& name) {
    port_->setName(name);
}

void Comm::setPortLink(SerialLink* link) {
    port_->setLink(link);
}

QString Comm::settings() const {
    return port_->settings().text();
}

AppError Comm::setSettings(const QString& text) {
    PortSettings s;
    if (AppError e = PortSettings::parse(text, s))
        return e;
    AppError e = port_->setSettings(s);
    updateStatus();
    return e;
}

bool Comm::portOpen() const {
    return port_->isOpen();
}

AppError Comm::setPortOpen(bool open) {
    AppError e;
    if (open && !port_->isOpen()) {
        e = port_->open();
        if (!e) {
            // A new connection starts on a fresh line.
            textLines_.reset();
            echoLines_.reset();
            plotLines_.reset();
            plotLine_.clear();
            visible_.reset();
            echoVisible_.reset();
            if (!atLineStart_)
                textWaiting_.append(QStringLiteral("\n"));
            atLineStart_ = true;
        }
    } else if (!open) {
        port_->close();
    }
    updateStatus();
    return e;
}

// --- choices ---

void Comm::setEnterSends(terminalkeys::Enter enter) {
    enter_ = enter;
    syncActions();
}

void Comm::setLocalEcho(bool on) {
    echo_ = on;
    syncActions();
}

void Comm::setTimeStamps(bool on) {
    timeStamps_ = on;
    syncActions();
}

void Comm::setHexShown(bool on) {
    if (on && !hexOn_) {
        // The dump starts with the bytes received from now on, at their place in the stream.
        hexDump_.reset(received_);
        hex_->clearAll();
    }
    hexOn_ = on;
    hex_->setVisible(on);
    hexPlaced_ = false;
    arrange();
    syncActions();
}

void Comm::arrange() {
    // Until the user drags a divider, the views switched on keep the share given here as the control
    // is resized; a view switched on again gets it afresh.
    if (!isVisible())
        return;
    if (hexOn_ && !hexPlaced_ && views_->width() > 0) {
        // The hex pane shows a whole row (offset, sixteen bytes, their characters) where it can.
        const QFontMetrics fm(hex_->font());
        const QString fullRow = HexDump::row(0, QByteArray(HexDump::BytesPerRow, '0'));
        const int row = fm.horizontalAdvance(fullRow) + hex_->verticalScrollBar()->sizeHint().width() +
                        2 * hex_->frameWidth() + 2 * int(hex_->document()->documentMargin()) + 4;
        const int total = views_->width() - columns_->handleWidth();
        const int hex = terminaltext::hexPaneWidth(total, row, fm.horizontalAdvance(u'0') * 30);
        columns_->setSizes({total - hex, hex});
    }
    if (plotOn_ && !plotPlaced_ && views_->height() > 0) {
        // The text keeps the larger share; the plot is read at a glance.
        const int total = views_->height() - views_->handleWidth();
        const int plot = total * 2 / 5;
        views_->setSizes({total - plot, plot});
    }
}

void Comm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void Comm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    arrange();
}

void Comm::setPlotShown(bool on) {
    plotOn_ = on;
    plot_->setVisible(on);
    plotPlaced_ = false;
    arrange();
    if (on)
        plotChanged_ = true;
    syncActions();
    schedule();
}

void Comm::setPlotPaused(bool on) {
    paused_ = on;
    if (!on)
        plotChanged_ = true;
    syncActions();
    schedule();
}

// --- the log ---

AppError Comm::startLog(const QString& path) {
    QFile f(path);
    if (path.isEmpty() || !f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        logging_ = false;
        syncActions();
        return AppError{75, QStringLiteral("The log file %1 cannot be written: %2")
                                .arg(path.isEmpty() ? QStringLiteral("(no name)") : path, f.errorString())};
    }
    logFile_ = path;
    logging_ = true;
    logPending_.clear();
    syncActions();
    updateStatus();
    return {};
}

void Comm::stopLog() {
    if (logging_)
        writeLog();
    logging_ = false;
    syncActions();
    updateStatus();
}

void Comm::onLogToggled(bool on) {
    if (!on) {
        stopLog();
        emit optionsChanged();
        return;
    }
    QString chosen;
    if (!prompts_ ||
        !prompts_->saveFile(this,
                            {QStringLiteral("Log Received Data"), logFile_,
                             QStringLiteral("Log Files (*.log)|*.log|Text Files (*.txt)|*.txt|"
                                            "All Files (*.*)|*.*|")},
                            chosen) ||
        chosen.isEmpty()) {
        syncActions();
        return;
    }
    if (AppError e = startLog(chosen); e && prompts_)
        prompts_->message(this, e.description);
    emit optionsChanged();
}

void Comm::writeLog() {
    if (logPending_.isEmpty())
        return;
    QFile f(logFile_);
    // Opened and closed for each batch, so the file is complete on disk whenever it is looked at.
    if (f.open(QIODevice::WriteOnly | QIODevice::Append) && f.write(logPending_) == logPending_.size()) {
        logPending_.clear();
        return;
    }
    const QString why = f.errorString();
    logPending_.clear();
    logging_ = false;
    syncActions();
    updateStatus();
    note(QStringLiteral("Logging stopped: %1 could not be written (%2).").arg(logFile_, why));
    if (prompts_)
        prompts_->message(this, QStringLiteral("Logging stopped: %1 could not be written (%2). The terminal "
                                               "still shows what arrives.")
                                    .arg(logFile_, why));
}

// --- data ---

void Comm::onReceived(const QByteArray& bytes) {
    received_ += bytes.size();
    if (logging_)
        logPending_ += bytes;
    showText(bytes, false);
    if (hexOn_) {
        hexWaiting_.append(hexDump_.feed(bytes));
        hexChanged_ = true;
    }
    if (plotOn_) {
        plotLines_.feed(bytes, [this](QByteArrayView piece, bool endsLine) {
            plotLine_ += piece;
            if (endsLine) {
                plotChanged_ |= plotData_.addLine(plotLine_);
                plotLine_.clear();
            }
        });
    }
    schedule();
}

void Comm::showText(QByteArrayView bytes, bool sent) {
    QString out;
    QString stamp;
    // What was sent and what arrived never share a line: the one breaks the other's open line.
    if (!atLineStart_ && sent != lineSent_) {
        out += u'\n';
        atLineStart_ = true;
    }
    LineSplitter& lines = sent ? echoLines_ : textLines_;
    VisibleText& visible = sent ? echoVisible_ : visible_;
    lines.feed(bytes, [&](QByteArrayView piece, bool endsLine) {
        if (sent)
            out += terminaltext::SentMark;
        if (atLineStart_ && timeStamps_) {
            if (stamp.isEmpty())
                stamp = terminaltext::stamp(QTime::currentTime(), sent);
            out += stamp;
        }
        out += visible.decode(piece);
        if (endsLine)
            out += u'\n';
        atLineStart_ = endsLine;
        lineSent_ = sent;
    });
    if (!out.isEmpty())
        notSentShown_ = false;
    textWaiting_.append(out);
}

void Comm::note(const QString& text) {
    // A remark of the terminal itself, on a line of its own.
    textWaiting_.append((atLineStart_ ? QString() : QStringLiteral("\n")) + QStringLiteral("*** ") + text +
                        QStringLiteral(" ***\n"));
    atLineStart_ = true;
    textLines_.reset();
    echoLines_.reset();
    notSentShown_ = false;
    schedule();
}

void Comm::noteNotSent() {
    // Once for a run of refused keys, not once for each of them.
    if (notSentShown_)
        return;
    note(terminaltext::notSent());
    notSentShown_ = true;
}

void Comm::onLost(const QString& message) {
    note(message);
    flush();
    updateStatus();
    emit portLost(message);
}

void Comm::schedule() {
    if (!flushTimer_->isActive())
        flushTimer_->start();
}

void Comm::flush() {
    flushTimer_->stop();
    showWaiting(-1);
}

void Comm::showWaiting(int lines) {
    if (!textWaiting_.isEmpty())
        text_->appendBatch(textWaiting_.take(lines));
    if (hexChanged_) {
        const QString open = hexDump_.openRow();
        hex_->appendBatch(hexWaiting_.take(lines), &open);
        hexChanged_ = !hexWaiting_.isEmpty();
    }
    // A chart redraw costs more than text: it follows the data a few times a second at most.
    const bool plotDue = lines < 0 || !plotClock_.isValid() || plotClock_.elapsed() >= PlotMs;
    if (plotOn_ && plotChanged_ && !paused_ && plotDue) {
        plot_->showData(plotData_);
        plotChanged_ = false;
        plotClock_.start();
    }
    if (logging_)
        writeLog();
    updateStatus();
    // What still waits is shown by the next update, not at once: in between the port is read and
    // lines that would scroll out unseen are dropped before they cost the view anything.
    if (!textWaiting_.isEmpty() || hexChanged_ || (plotOn_ && plotChanged_ && !paused_))
        schedule();
}

bool Comm::send(const QByteArray& bytes) {
    if (bytes.isEmpty() || !port_->send(bytes))
        return false;
    if (echo_) {
        showText(bytes, true);
        schedule();
    }
    return true;
}

void Comm::sendTyped(const QByteArray& bytes) {
    if (!bytes.isEmpty() && !port_->isOpen())
        noteNotSent();
    else
        send(bytes);
}

bool Comm::sendLine(const QString& line) {
    history_.add(line);
    return send(line.toUtf8() + terminalkeys::lineEnding(enter_));
}

void Comm::onSendBox() {
    if (!port_->isOpen()) {
        noteNotSent();
        return;
    }
    sendLine(sendBox_->text());
    sendBox_->clear();
}

bool Comm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sendBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up) {
            sendBox_->setText(history_.older(sendBox_->text()));
            return true;
        }
        if (key == Qt::Key_Down) {
            sendBox_->setText(history_.newer());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Comm::clear() {
    textWaiting_.take();
    hexWaiting_.take();
    text_->clearAll();
    hex_->clearAll();
    hexDump_.reset(received_);
    atLineStart_ = true;
    textLines_.reset();
    echoLines_.reset();
}

void Comm::clearPlot() {
    plotData_.clear();
    plotLine_.clear();
    plot_->clearPlot();
}

QString Comm::statusText() const {
    return status_->text();
}

void Comm::updateStatus() {
    QString s = port_->isOpen() ? QStringLiteral("%1 open at %2").arg(port_->device(), settings())
                                : QStringLiteral("Port closed");
    s += QStringLiteral(" | received %1 bytes").arg(received_);
    if (logging_)
        s += QStringLiteral(" | logging to %1").arg(logFile_);
    if (status_->text() != s)
        status_->setText(s);
    sendButton_->setEnabled(port_->isOpen());
}
