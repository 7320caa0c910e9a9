// The pieces of the terminal control: settings text, line splitting, visible text, hex rows,
// scroll-back bounding, plot numbers and drawing, send history and key bytes.
#include <QImage>
#include <QTest>

#include <QLabel>
#include <QToolBar>

#include "platform/comm/Comm.h"
#include "platform/comm/HexDump.h"
#include "platform/comm/LineSplitter.h"
#include "platform/comm/PlotData.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/PortSettings.h"
#include "platform/comm/ScrollBack.h"
#include "platform/comm/SendHistory.h"
#include "platform/comm/TerminalKeys.h"
#include "platform/comm/TerminalText.h"
#include "platform/comm/VisibleText.h"
#include "support/TestSupport.h"

namespace {

using Chunks = QList<QByteArray>;

// What one piece makes of bytes arriving in chunks. Split pieces are followed by "|" when they end
// their line and by "~" when it stays open; a hex dump is its full rows, then its open row.
QString fed(const QString& kind, const Chunks& chunks) {
    QString out;
    LineSplitter lines(kind == QLatin1String("lines/3") ? 3 : 0);
    VisibleText visible;
    HexDump hex;
    for (const QByteArray& c : chunks) {
        if (kind == QLatin1String("text"))
            out += visible.decode(c);
        else if (kind == QLatin1String("hex"))
            out += hex.feed(c);
        else
            lines.feed(c, [&out](QByteArrayView piece, bool ends) {
                out += QString::fromLatin1(piece.toByteArray()) + (ends ? u'|' : u'~');
            });
    }
    return out + hex.openRow();
}

} // namespace

class tst_CommText : public QObject {
    Q_OBJECT
private slots:
    // Text, its normal form or "" when refused, and a word of the refusal.
    void settingsText() {
        const std::tuple<const char*, const char*, const char*> rows[] = {
            {"115200,E,7,2", "115200,E,7,2", ""},
            {" 300 , o , 8 , 1 ", "300,O,8,1", ""},
            {"110,M,5,1.5", "110,M,5,1.5", ""},
            {"9600,N,8", "", "four fields"},
            {"0,N,8,1", "", "baud"},
            {",N,8,1", "", "baud"}, // no entry chosen
            {"9600,None,8,1", "", "parity"},
            {"9600,X,8,1", "", "parity"},
            {"9600,N,9,1", "", "data bits"},
            {"9600,N,4,1", "", "data bits"},
            {"9600,N,8,3", "", "stop bits"}};
        for (const auto& [text, normal, fault] : rows) {
            PortSettings s;
            s.baud = 42;
            const AppError e = PortSettings::parse(QString::fromLatin1(text), s);
            // A refusal names the fault and the text, and changes nothing.
            const bool refused = e.number == 380 && e.description.contains(QLatin1String(fault)) &&
                                 e.description.contains(u'"' + QString::fromLatin1(text) + u'"') &&
                                 s.baud == 42;
            QVERIFY2(*normal ? !e && s.text() == QLatin1String(normal) : refused, text);
        }
    }

    void byteStreams() {
        // An open row's text starts where a full row's does, in column 60.
        const QString openRow = QStringLiteral("00000000  41 20 7F").leftJustified(60) + "A .";
        const std::tuple<const char*, Chunks, QString> rows[] = {
            {"lines", {"ab\r", "\ncd"}, "ab|cd~"}, // CR LF split over chunks
            {"lines", {"ab\n\rcd"}, "ab||cd~"},    // LF CR is two breaks
            {"lines", {"a\n\n\r\r\nb"}, "a||||b~"},
            {"lines", {"12", "3,4", "5\n"}, "12~3,4~5|"},
            {"lines", {QByteArray("a\0b\n", 4)}, QStringLiteral("a\0b|")}, // NUL is data
            {"lines/3", {"abcdefg"}, "abc|def|g~"},                        // long lines broken
            {"lines/3", {"ab", "cdef"}, "ab~c|def~"},
            {"lines/3", {"abc\n"}, "abc|"},
            {"text", {"\x1b[2J\x7f"}, "<ESC>[2J<DEL>"},
            {"text", {"a\tb"}, "a\tb"},
            {"text", {"\xc3\xb6l\xc3\xa7\xc3\xbc"}, QStringLiteral("ölçü")},
            {"text", {"s\xf0\xfd"}, "s<xF0><xFD>"}, // 8-bit Turkish, invalid byte last
            {"text", {"\xc3", "A"}, "<xC3>A"},      // truncated character
            {"text", {"\xc0\xaf"}, "<xC0><xAF>"},   // overlong form
            {"text", {"\xf0\x9f", "\x98\x80"}, QStringLiteral("😀")},
            {"hex", {"A \x7f"}, openRow}};
        for (const auto& [kind, chunks, out] : rows)
            QCOMPARE(fed(QString::fromLatin1(kind), chunks), out);
    }

    // Bounded to its last lines: a batch that drops older ones resets the view ("reset:").
    void scrollBack() {
        using L = QStringList;
        const auto shown = [](const ScrollBack::Batch& b) {
            return (b.reset ? "reset:" : QString()) + b.text;
        };
        for (const auto& [name, maxLines, appends, firstTake, batches] :
             {std::tuple{"under the limit", 3, L{"a\n", "b"}, -1, L{"a\nb", ""}},
              {"exactly fills the view", 3, L{"a\nb\n", "c"}, -1, L{"a\nb\nc", ""}},
              {"one line too many", 3, L{"a\nb\nc\n", "d"}, -1, L{"reset:b\nc\nd", ""}},
              {"open line survives", 2, L{"1\n2\n3\nxy"}, -1, L{"reset:3\nxy", ""}},
              {"in pieces", 4, L{"1\n2\n3\n4\n5\n6"}, 2, L{"reset:3\n4\n", "5\n6"}}}) {
            ScrollBack s(maxLines);
            for (const QString& a : appends)
                s.append(a);
            const QString first = shown(s.take(firstTake));
            QVERIFY2((L{first, shown(s.take())}) == batches && s.isEmpty(), name);
        }
    }

    // Label=value, blank-separated.
    void plotNumbers() {
        for (const auto& [line, values] : {std::pair{"512,37", "512 37"},
                                           {" 1 \t -2.5\t3e2 ", "1 -2.5 300"},
                                           {"4;5,,6", "4 5 6"},                         // empty fields
                                           {"ADC 512 TEMP 37 OK", "512 37"},            // text between
                                           {"adc=512, temp:37.5", "adc=512 temp=37.5"}, // labels
                                           {"25C 0x1F nan inf 1.2.3", ""}, // units, hex, nan: no numbers
                                           {".5 -0 +7 -.25", "0.5 0 7 -0.25"},
                                           {"1e999 -1e999 NaN x=nan 1e-999", ""}, // out of range: no numbers
                                           {"1 2 3 4 5 6 7 8 9 10", "1 2 3 4 5 6 7 8"}}) {
            QStringList got;
            for (const PlotData::Value& v : PlotData::numbers(line))
                got << (v.label.isEmpty() ? QString() : v.label + u'=') + QString::number(v.value);
            QCOMPARE(got.join(u' '), QString::fromLatin1(values));
        }
    }

    // Lines without numbers are no samples; the window keeps the newest three, in every series.
    void plotSeries() {
        PlotData p(3);
        for (const char* line : {"10,100", "booting...", "11,101", "", "x=12 102", "13", "14", "15"})
            p.addLine(line);
        QCOMPARE(p.samples(), qint64(6));
        QCOMPARE(p.points(0), (QList<QPointF>{{3, 13}, {4, 14}, {5, 15}}));
        QVERIFY(p.points(1).isEmpty());
        QCOMPARE((QStringList{p.name(0), p.name(1)}), (QStringList{"x", "2"}));
        double low = 0, high = 0;
        QVERIFY(p.range(low, high));
        QCOMPARE(QPointF(low, high), QPointF(13, 15));
    }

    // Round steps inside the range, about as many as asked for; none for an empty or upside-down range.
    void ticks() {
        const std::tuple<double, double, int, QList<double>> rows[] = {
            {0, 5, 5, {0, 1, 2, 3, 4, 5}},
            {0.5, 9, 4, {2, 4, 6, 8}},
            {0, 100, 4, {0, 20, 40, 60, 80, 100}},
            {-0.25, 0.25, 5, {-0.2, -0.1, 0, 0.1, 0.2}},
            {3, 3, 5, {}},
            {5, 1, 5, {}}};
        for (const auto& [low, high, count, expected] : rows)
            QCOMPARE(PlotView::ticks(low, high, count), expected);
    }

    // The scales follow the data with a margin, and each series is drawn in its own colour.
    void plotDrawsTheSeries() {
        PlotData data(50);
        // The second series is missing from the middle lines: its line leaves a gap there.
        for (int i = 0; i < 20; ++i)
            data.addLine(QByteArray::number(100 + i) + (i < 5 || i >= 15 ? ",0" : ""));
        PlotView view;
        view.resize(400, 300);
        view.showData(data);
        QCOMPARE(QPointF(view.range().left(), view.range().right()), QPointF(0, 19));
        QVERIFY(view.range().top() < 0 && view.range().bottom() > 119);
        const QImage image = view.grab().toImage();
        int blue = 0, red = 0, redAcrossTheGap = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) & 0xffffff;
                blue += c == 0x1f77b4;
                red += c == 0xd62728;
                redAcrossTheGap += c == 0xd62728 && x == image.width() / 2;
            }
        QCOMPARE(QList<bool>({blue > 100, red > 100, redAcrossTheGap == 0}), QList<bool>({true, true, true}));
        view.clearPlot();
        QCOMPARE(view.shownSeries(), 0);
        QCOMPARE(view.range(), QRectF(QPointF(0, 0), QPointF(100, 1)));
    }

    // The hex pane gets a whole row where the room allows, but never squeezes the text out.
    void hexPane() {
        for (const auto& [total, width] :
             {std::pair{1200, 600}, {900, 600}, {800, 560}, {500, 260}, {400, 200}, {0, 0}})
            QCOMPARE(terminaltext::hexPaneWidth(total, 600, 240), width);
    }

    // A device that went away is said to be gone, whatever stale text the system left behind.
    void lostMessage() {
        for (const auto& [gone, detail, says] :
             {std::tuple{true, "No such file or directory", "the device was removed"},
              {false, "Input/output error", "Input/output error"}})
            QVERIFY(
                terminaltext::lost(QStringLiteral("COM3"), gone, QString::fromLatin1(detail))
                    .startsWith(QStringLiteral("The connection on COM3 was lost (") + QLatin1String(says)));
    }

    // Every choice of the terminal's option band is explained on its help page, and so is the send box.
    void helpNamesEveryChoice() {
        const QString page =
            QString::fromUtf8(testsupport::readFile(testsupport::dataDir() + "/help/contents.html"));
        const QString section =
            page.section(QStringLiteral("name=\"terminal\""), 1).section(QStringLiteral("<h2>"), 0, 0);
        QVERIFY(!section.isEmpty());
        Comm comm;
        QStringList captions{QStringLiteral("send box")};
        for (const QLabel* label : comm.optionsBar().findChildren<QLabel*>())
            captions << label->text().remove(u'&').remove(u':').trimmed();
        for (const QAction* a : comm.optionsBar().actions())
            if (!a->isSeparator() && !a->text().isEmpty())
                captions << a->text().remove(u'&');
        QVERIFY(captions.size() > 8);
        for (const QString& c : captions)
            QVERIFY2(section.contains(c, Qt::CaseInsensitive), qPrintable(c));
    }

    void sendHistory() {
        SendHistory h(3);
        for (const char* l : {"a", "b", "c", "d", "d"})
            h.add(QString::fromLatin1(l));
        QCOMPARE(h.lines(), (QStringList{"b", "c", "d"})); // no repeat, oldest gone
        // Older stays at the oldest; newer past the newest gives back what was typed.
        QStringList walk{h.older(QStringLiteral("typ"))};
        for (int i = 0; i < 7; ++i)
            walk << (i < 3 ? h.older({}) : h.newer());
        QCOMPARE(walk, (QStringList{"d", "c", "b", "b", "c", "d", "typ", "typ"}));
    }

    // The bytes of a key with its text, Enter set to send CR LF.
    void keyBytes() {
        const std::tuple<QKeyCombination, QString, QByteArray> rows[] = {
            {Qt::Key_A, "a", "a"},
            {Qt::Key_Enter, "\r", "\r\n"}, // keypad
            {Qt::ControlModifier | Qt::Key_C, "\x03", "\x03"},
            {Qt::ControlModifier | Qt::Key_Z, "", "\x1a"},
            {Qt::Key_unknown, QStringLiteral("ş"), "\xc5\x9f"},
            {Qt::Key_Left, "", ""},
            {Qt::ShiftModifier | Qt::Key_Shift, "", ""}};
        for (const auto& [key, text, bytes] : rows)
            QCOMPARE(
                terminalkeys::keyBytes(key.key(), key.keyboardModifiers(), text, terminalkeys::Enter::CRLF),
                bytes);
    }

    // Pasted text: its line breaks, of any kind, become the chosen Enter; nothing follows the last line.
    void pasteBytes() {
        using terminalkeys::Enter;
        const std::tuple<QString, Enter, QByteArray> rows[] = {
            {"run", Enter::CR, "run"},
            {"a\nb", Enter::CRLF, "a\r\nb"},
            {"a\r\nb\rc\n", Enter::LF, "a\nb\nc\n"}, // a break the text ends with is sent, once
            {QStringLiteral("\u015f\n"), Enter::CR, "\xc5\x9f\r"},
            {"", Enter::CRLF, ""}};
        for (const auto& [text, enter, bytes] : rows)
            QCOMPARE(terminalkeys::pasteBytes(text, enter), bytes);
    }
};

QTEST_MAIN(tst_CommText)
#include "tst_CommText.moc"
