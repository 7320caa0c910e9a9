// The pure pieces of the terminal control: settings text, line splitting, visible text, hex rows,
// scroll-back bounding, plot numbers, send history and key bytes.
#include <QTest>

#include "platform/comm/HexDump.h"
#include "platform/comm/LineSplitter.h"
#include "platform/comm/PlotData.h"
#include "platform/comm/PortSettings.h"
#include "platform/comm/ScrollBack.h"
#include "platform/comm/SendHistory.h"
#include "platform/comm/TerminalKeys.h"
#include "platform/comm/VisibleText.h"

namespace {

// Pieces of a split as text: "|" after a piece that ends its line, "~" after an open one.
QString split(LineSplitter& s, const QList<QByteArray>& chunks) {
    QString out;
    for (const QByteArray& c : chunks)
        s.feed(c, [&out](QByteArrayView piece, bool ends) {
            out += QString::fromLatin1(piece.toByteArray()) + (ends ? u'|' : u'~');
        });
    return out;
}

} // namespace

class tst_CommText : public QObject {
    Q_OBJECT
private slots:
    void settingsText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normal"); // "" when refused
        QTest::addColumn<QString>("fault");  // a word of the refusal
        QTest::newRow("defaults") << "9600,N,8,1" << "9600,N,8,1" << "";
        QTest::newRow("even, 7 bits, 2 stop") << "115200,E,7,2" << "115200,E,7,2" << "";
        QTest::newRow("blanks and lower case") << " 300 , o , 8 , 1 " << "300,O,8,1" << "";
        QTest::newRow("one and a half stop bits") << "110,M,5,1.5" << "110,M,5,1.5" << "";
        QTest::newRow("space parity") << "1200,s,6,1" << "1200,S,6,1" << "";
        QTest::newRow("empty") << "" << "" << "four fields";
        QTest::newRow("three fields") << "9600,N,8" << "" << "four fields";
        QTest::newRow("five fields") << "9600,N,8,1,0" << "" << "four fields";
        QTest::newRow("baud not a number") << "fast,N,8,1" << "" << "baud";
        QTest::newRow("baud zero") << "0,N,8,1" << "" << "baud";
        QTest::newRow("baud negative") << "-9600,N,8,1" << "" << "baud";
        QTest::newRow("baud with fraction") << "9600.5,N,8,1" << "" << "baud";
        QTest::newRow("no baud (no entry chosen)") << ",N,8,1" << "" << "baud";
        QTest::newRow("parity word") << "9600,None,8,1" << "" << "parity";
        QTest::newRow("parity unknown") << "9600,X,8,1" << "" << "parity";
        QTest::newRow("data bits 9") << "9600,N,9,1" << "" << "data bits";
        QTest::newRow("data bits 4") << "9600,N,4,1" << "" << "data bits";
        QTest::newRow("stop bits 3") << "9600,N,8,3" << "" << "stop bits";
        QTest::newRow("stop bits 0") << "9600,N,8,0" << "" << "stop bits";
    }
    void settingsText() {
        QFETCH(QString, text);
        QFETCH(QString, normal);
        QFETCH(QString, fault);
        PortSettings s;
        s.baud = 42;
        const AppError e = PortSettings::parse(text, s);
        if (normal.isEmpty()) {
            QCOMPARE(e.number, 380);
            QVERIFY2(e.description.contains(fault), qPrintable(e.description));
            QVERIFY2(e.description.contains(u'"' + text + u'"'), qPrintable(e.description));
            QCOMPARE(s.baud, 42); // a refused text changes nothing
        } else {
            QVERIFY2(!e, qPrintable(e.description));
            QCOMPARE(s.text(), normal);
        }
    }

    void lineSplitting_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("pieces");
        using L = QList<QByteArray>;
        QTest::newRow("LF") << L{"ab\ncd\n"} << 0 << "ab|cd|";
        QTest::newRow("CR") << L{"ab\rcd\r"} << 0 << "ab|cd|";
        QTest::newRow("CRLF is one break") << L{"ab\r\ncd\r\n"} << 0 << "ab|cd|";
        QTest::newRow("CRLF split over chunks") << L{"ab\r", "\ncd"} << 0 << "ab|cd~";
        QTest::newRow("LFCR is two breaks") << L{"ab\n\rcd"} << 0 << "ab||cd~";
        QTest::newRow("blank lines kept") << L{"a\n\n\r\r\nb"} << 0 << "a||||b~";
        QTest::newRow("open line over chunks") << L{"12", "3,4", "5\n"} << 0 << "12~3,4~5|";
        QTest::newRow("CR then CR LF") << L{"\r", "\r\n"} << 0 << "||";
        QTest::newRow("LF after text after CR") << L{"a\rb\nc"} << 0 << "a|b|c~";
        QTest::newRow("long line broken") << L{"abcdefg"} << 3 << "abc|def|g~";
        QTest::newRow("length counted over chunks") << L{"ab", "cdef"} << 3 << "ab~c|def~";
        QTest::newRow("break at the limit then LF") << L{"abc\n"} << 3 << "abc|";
        QTest::newRow("NUL is data") << L{QByteArray("a\0b\n", 4)} << 0 << QString::fromLatin1("a\0b|", 4);
    }
    void lineSplitting() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(int, maxLength);
        QFETCH(QString, pieces);
        LineSplitter s(maxLength);
        QCOMPARE(split(s, chunks), pieces);
    }

    void visibleText_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QString>("shown");
        using L = QList<QByteArray>;
        QTest::newRow("ASCII") << L{"Hello 512"} << "Hello 512";
        QTest::newRow("NUL and BEL") << L{QByteArray("a\0\x07z", 4)} << "a<NUL><BEL>z";
        QTest::newRow("ESC and DEL") << L{"\x1b[2J\x7f"} << "<ESC>[2J<DEL>";
        QTest::newRow("TAB stays") << L{"a\tb"} << "a\tb";
        QTest::newRow("UTF-8") << L{"\xc3\xb6l\xc3\xa7\xc3\xbc"} << QStringLiteral("ölçü");
        QTest::newRow("UTF-8 split over chunks") << L{"\xc3", "\xb6"} << QStringLiteral("ö");
        QTest::newRow("invalid bytes by value") << L{"a\xff\xfe" "b"} << "a<xFF><xFE>b";
        QTest::newRow("8-bit Turkish") << L{"s\xfd"} << "s<xFD>";
        QTest::newRow("invalid byte last in its chunk") << L{"a\xff"} << "a<xFF>";
        QTest::newRow("truncated character then ASCII") << L{"\xc3", "A"} << "<xC3>A";
        QTest::newRow("overlong form") << L{"\xc0\xaf"} << "<xC0><xAF>";
        QTest::newRow("four-byte character") << L{"\xf0\x9f", "\x98\x80"} << QStringLiteral("\U0001F600");
    }
    void visibleText() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QString, shown);
        VisibleText v;
        QString out;
        for (const QByteArray& c : chunks)
            out += v.decode(c);
        QCOMPARE(out, shown);
    }

    void hexRows_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("open");
        using L = QList<QByteArray>;
        const QString full = QStringLiteral(
            "00000000  48 65 6C 6C 6F 0D 0A 00  01 7F 80 FF 20 41 42 43  Hello....... ABC\n");
        const QByteArray bytes("Hello\r\n\0\x01\x7f\x80\xff ABC", 16);
        QTest::newRow("one full row") << L{bytes} << full << "";
        QTest::newRow("same row in pieces") << L{bytes.first(5), bytes.mid(5, 6), bytes.mid(11)} << full << "";
        // The ASCII column of an open row lines up with that of a full one.
        const int ascii = int(full.indexOf(QStringLiteral("Hello")));
        QTest::newRow("open row padded") << L{QByteArray("AB\0", 3)} << ""
                                         << QStringLiteral("00000000  41 42 00").leftJustified(ascii) + "AB.";
        QTest::newRow("second row offset") << L{bytes + "Z"} << full
                                           << QStringLiteral("00000010  5A").leftJustified(ascii) + "Z";
    }
    void hexRows() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QString, rows);
        QFETCH(QString, open);
        HexDump d;
        QString done;
        for (const QByteArray& c : chunks)
            done += d.feed(c);
        QCOMPARE(done, rows);
        QCOMPARE(d.openRow(), open);
    }

    void scrollBack_data() {
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<QStringList>("appends");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reset");
        QTest::newRow("under the limit") << 3 << QStringList{"a\n", "b"} << "a\nb" << false;
        QTest::newRow("exactly fills the view") << 3 << QStringList{"a\nb\n", "c"} << "a\nb\nc" << false;
        QTest::newRow("one line too many") << 3 << QStringList{"a\nb\nc\n", "d"} << "b\nc\nd" << true;
        QTest::newRow("flood keeps the newest") << 2 << QStringList{"1\n2\n3\n4\n5\n"} << "5\n" << true;
        QTest::newRow("open line survives") << 2 << QStringList{"1\n2\n3\nxy"} << "3\nxy" << true;
    }
    void scrollBack() {
        QFETCH(int, maxLines);
        QFETCH(QStringList, appends);
        QFETCH(QString, text);
        QFETCH(bool, reset);
        ScrollBack s(maxLines);
        for (const QString& a : appends)
            s.append(a);
        const ScrollBack::Batch b = s.take();
        QCOMPARE(b.text, text);
        QCOMPARE(b.reset, reset);
        QVERIFY(s.isEmpty());
    }

    void scrollBackInPieces() {
        ScrollBack s(4);
        s.append(QStringLiteral("1\n2\n3\n4\n5\n6"));
        // The view is reset once, with the first piece; the open line comes last.
        const ScrollBack::Batch first = s.take(2);
        QCOMPARE(first.text, QStringLiteral("3\n4\n"));
        QVERIFY(first.reset);
        s.append(QStringLiteral("!\n"));
        const ScrollBack::Batch second = s.take(2);
        QCOMPARE(second.text, QStringLiteral("5\n6!\n"));
        QVERIFY(!second.reset);
        QVERIFY(s.isEmpty());
    }

    void plotNumbers_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QStringList>("labels");
        using D = QList<double>;
        const QStringList two{"", ""};
        QTest::newRow("comma pair") << QByteArray("512,37") << D{512, 37} << two;
        QTest::newRow("blanks and tabs") << QByteArray(" 1 \t -2.5\t3e2 ") << D{1, -2.5, 300} << QStringList(3, "");
        QTest::newRow("semicolons") << QByteArray("4;5") << D{4, 5} << two;
        QTest::newRow("empty fields") << QByteArray("7,,8") << D{7, 8} << two;
        QTest::newRow("text between numbers") << QByteArray("ADC 512 TEMP 37 OK") << D{512, 37} << two;
        QTest::newRow("labels") << QByteArray("adc=512, temp:37.5") << D{512, 37.5} << QStringList{"adc", "temp"};
        QTest::newRow("no numbers") << QByteArray("Hello board") << D{} << QStringList{};
        QTest::newRow("empty line") << QByteArray("") << D{} << QStringList{};
        QTest::newRow("units, hex, nan are no numbers") << QByteArray("25C 0x1F nan inf 1.2.3") << D{} << QStringList{};
        QTest::newRow("at most eight") << QByteArray("1 2 3 4 5 6 7 8 9 10") << D{1, 2, 3, 4, 5, 6, 7, 8} << QStringList(8, "");
    }
    void plotNumbers() {
        QFETCH(QByteArray, line);
        QFETCH(QList<double>, values);
        QFETCH(QStringList, labels);
        const QList<PlotData::Value> got = PlotData::numbers(line);
        QList<double> v;
        QStringList l;
        for (const PlotData::Value& x : got) {
            v << x.value;
            l << x.label;
        }
        QCOMPARE(v, values);
        QCOMPARE(l, labels);
    }

    void plotSkipsTextWithoutBreakingSeries() {
        PlotData p(1000);
        for (const char* line : {"10,100", "booting...", "11,101", "", "x=12 y=102"})
            p.addLine(line);
        QCOMPARE(p.samples(), qint64(3));
        QCOMPARE(p.seriesCount(), 2);
        QCOMPARE(p.points(0), (QList<QPointF>{{0, 10}, {1, 11}, {2, 12}}));
        QCOMPARE(p.points(1), (QList<QPointF>{{0, 100}, {1, 101}, {2, 102}}));
        QCOMPARE(p.name(0), QStringLiteral("x")); // the first label seen names the series
        double low = 0, high = 0;
        QVERIFY(p.range(low, high));
        QCOMPARE(QPointF(low, high), QPointF(10, 102));
    }

    void plotWindowIsBounded() {
        PlotData p(50);
        for (int i = 0; i < 10000; ++i)
            p.addLine(QByteArray::number(i) + (i % 100 == 0 ? QByteArray(",") + QByteArray::number(-i) : ""));
        QCOMPARE(p.points(0).size(), 50);
        QCOMPARE(p.points(0).first().x(), 9950.0);
        QCOMPARE(p.points(0).last(), QPointF(9999, 9999));
        // The second series only had values long ago; the window let them go.
        QVERIFY(p.points(1).isEmpty());
        p.clear();
        QCOMPARE(p.seriesCount(), 0);
        QCOMPARE(p.samples(), qint64(0));
    }

    void sendHistory() {
        SendHistory h(3);
        for (const char* l : {"a", "b", "c", "d", "d"})
            h.add(QString::fromLatin1(l));
        QCOMPARE(h.lines(), (QStringList{"b", "c", "d"})); // no repeat, oldest gone
        // Older stays at the oldest; newer past the newest gives back what was typed.
        const QStringList walk{h.older(QStringLiteral("typ")), h.older({}), h.older({}), h.older({}),
                               h.newer(), h.newer(), h.newer(), h.newer()};
        QCOMPARE(walk, (QStringList{"d", "c", "b", "b", "c", "d", "typ", "typ"}));
    }

    void keyBytes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("enter");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 0 << QByteArray("a");
        QTest::newRow("Enter CR") << int(Qt::Key_Return) << 0 << "\r" << 0 << QByteArray("\r");
        QTest::newRow("Enter LF") << int(Qt::Key_Enter) << 0 << "\r" << 1 << QByteArray("\n");
        QTest::newRow("Enter CRLF") << int(Qt::Key_Return) << 0 << "\r" << 2 << QByteArray("\r\n");
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 0 << QByteArray("\x08");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 0 << QByteArray("\x1b");
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << "\x03" << 0 << QByteArray("\x03");
        QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << "" << 0 << QByteArray("\x1a");
        QTest::newRow("non-ASCII") << int(Qt::Key_unknown) << 0 << QStringLiteral("ş") << 0 << QByteArray("\xc5\x9f");
        QTest::newRow("arrow sends nothing") << int(Qt::Key_Left) << 0 << "" << 0 << QByteArray();
        QTest::newRow("bare Shift sends nothing") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << "" << 0
                                                  << QByteArray();
    }
    void keyBytes() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, enter);
        QFETCH(QByteArray, bytes);
        QCOMPARE(terminalkeys::keyBytes(key, Qt::KeyboardModifiers(modifiers), text, terminalkeys::Enter(enter)),
                 bytes);
    }
};

QTEST_GUILESS_MAIN(tst_CommText)
#include "tst_CommText.moc"
