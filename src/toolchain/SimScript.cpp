#include "toolchain/SimScript.h"

#include <QRegularExpression>

namespace simscript {

QString processorName(const QString& device) {
    const QString d = device.trimmed().toLower();
    if (d.isEmpty())
        return {};
    // Device lists name some parts "PIC16F877A"; gpsim wants "p16f877a".
    return QStringLiteral("p") + (d.startsWith(QStringLiteral("pic")) ? d.mid(3) : d);
}

double oscillatorMHz(const QString& source) {
    static const QRegularExpression define(
        QStringLiteral(R"(^[ \t]*DEFINE[ \t]+OSC[ \t]+([0-9]+(?:\.[0-9]+)?)\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = define.match(source);
    if (!m.hasMatch())
        return 4;
    const double mhz = m.captured(1).toDouble();
    return mhz > 0 ? mhz : 4;
}

QString pinName(const QString& text) {
    static const QRegularExpression port(QStringLiteral(R"(^(?:port)?([a-j])[ .]?([0-7])$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression short_(QStringLiteral(R"(^r([a-j])([0-7])$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression gpio(QStringLiteral(R"(^gp(?:io)?[ .]?([0-7])$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString t = text.trimmed();
    QRegularExpressionMatch m = short_.match(t);
    if (!m.hasMatch())
        m = port.match(t);
    if (m.hasMatch())
        return QStringLiteral("port") + m.captured(1).toLower() + m.captured(2);
    m = gpio.match(t);
    if (m.hasMatch())
        return QStringLiteral("gpio") + m.captured(1);
    return {};
}

namespace {

QString quoted(const QString& path) {
    // gpsim's command parser takes a path with blanks or odd characters between double quotes.
    return u'"' + path + u'"';
}

} // namespace

QString script(const Setup& s) {
    QStringList l;
    l << QStringLiteral("processor ") + s.processor << QStringLiteral("load ") + quoted(s.hexPath)
      // The clock only holds once a program is loaded.
      << QStringLiteral("frequency %1").arg(qint64(s.clockHz))
      << QStringLiteral("module library libgpsim_modules.so.0") << QStringLiteral("module load usart U1")
      << QStringLiteral("U1.rxbaud = %1").arg(s.baud) << QStringLiteral("U1.txbaud = %1").arg(s.baud)
      << QStringLiteral("U1.console = true") << QStringLiteral("U1.hex = true");
    if (s.inverted) {
        l << QStringLiteral("module load not N1") << QStringLiteral("module load not N2")
          << QStringLiteral("node simtx") << QStringLiteral("attach simtx ") + s.txPin + QStringLiteral(" N1.in0")
          << QStringLiteral("node simtxi") << QStringLiteral("attach simtxi N1.out U1.RXPIN")
          << QStringLiteral("node simrx") << QStringLiteral("attach simrx U1.TXPIN N2.in0")
          << QStringLiteral("node simrxi") << QStringLiteral("attach simrxi N2.out ") + s.rxPin;
    } else {
        l << QStringLiteral("node simtx") << QStringLiteral("attach simtx ") + s.txPin + QStringLiteral(" U1.RXPIN")
          << QStringLiteral("node simrx") << QStringLiteral("attach simrx ") + s.rxPin + QStringLiteral(" U1.TXPIN");
    }
    return l.join(u'\n') + u'\n';
}

QByteArray sliceCommands(qint64 cycle, const QByteArray& toPic) {
    QByteArray out;
    for (const char c : toPic)
        out += "U1.tx = " + QByteArray::number(quint8(c)) + '\n';
    out += "break c " + QByteArray::number(cycle) + "\nrun\n";
    return out;
}

QString OutputParser::errorIn(QByteArrayView line) {
    static const struct {
        const char* text;
        const char* message;
    } known[] = {
        {"is not a valid processor", "gpsim does not know the processor."},
        {"Unable to find processor", "gpsim does not know the processor."},
        {"failed to open program file", "The program file could not be opened."},
        {"No such file or directory", "The program file could not be opened."},
        {"Checksum error in input file", "The program file is damaged (a checksum does not match)."},
        {"Colon missing", "The program file is not a HEX file."},
        {"Unknown record type", "The program file is damaged (a record of unknown type)."},
        {"No cpu has been selected", "No processor could be set up."},
        {"***ERROR", "gpsim did not take a command of the start-up script (check the pin names)."},
    };
    for (const auto& k : known)
        if (line.toByteArray().contains(k.text))
            return QString::fromLatin1(k.message) + QStringLiteral(" gpsim said: ") +
                   QString::fromLocal8Bit(line.toByteArray()).trimmed();
    return {};
}

void OutputParser::endLine(Result& r) {
    if (running_ && line_.startsWith("cycle break:")) {
        running_ = false;
        const qsizetype eq = line_.lastIndexOf('=');
        bool ok = false;
        const qint64 at = eq < 0 ? -1 : line_.mid(eq + 1).trimmed().toLongLong(&ok);
        r.breakAt = ok ? at : 0;
    } else if (line_.contains("running...")) {
        running_ = true;
    } else {
        const QString e = errorIn(line_);
        if (!e.isEmpty())
            r.errors << e;
    }
    line_.clear();
}

OutputParser::Result OutputParser::feed(QByteArrayView chunk) {
    Result r;
    pending_.append(chunk.data(), chunk.size());
    qsizetype i = 0;
    const qsizetype n = pending_.size();
    while (i < n) {
        const char c = pending_[i];
        if (running_ && c == '<') {
            if (n - i < 4)
                break; // the rest of a byte still to come
            const QByteArray hex = pending_.mid(i + 1, 2);
            bool ok = false;
            const int v = hex.toInt(&ok, 16);
            if (ok && pending_[i + 3] == '>') {
                r.bytes += char(v);
                i += 4;
                continue;
            }
        }
        if (c == '\n') {
            endLine(r);
        } else if (c != '\r') {
            line_ += c;
            // The end of a slice may be followed by the prompt without a line end.
            if (running_ && line_.startsWith("cycle break:") == false && line_.size() > 4096)
                line_.clear();
        }
        ++i;
    }
    pending_.remove(0, i);
    return r;
}

Pacer::Pacer(double clockHz, bool realTime) : cps_(clockHz / 4), realTime_(realTime) {}

qint64 Pacer::next(qint64 reached, qint64 elapsedMs) {
    if (!realTime_)
        return reached + FlatOutSlice;
    const auto due = [&] { return qint64(double(elapsedMs - lostMs_) * cps_ / 1000); };
    qint64 target = due();
    const qint64 maxLag = qint64(double(MaxLagMs) * cps_ / 1000);
    if (target - reached > maxLag) {
        // Give up the time beyond the lag for good.
        lostMs_ += qint64(double(target - reached - maxLag) * 1000 / cps_);
        target = reached + maxLag;
    }
    return target > reached ? target : -1;
}

} // namespace simscript
