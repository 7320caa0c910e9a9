// Benchmark of the SourceView control on a generated 100,000-line PicBasic program.
// Run it by hand (see README.md); it prints one line per measurement.
#include "platform/sourceview/SourceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

long statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray k(key);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').first().toLong();
    return -1;
}

QByteArray program(int lines) {
    QByteArray out;
    out.reserve(lines * 36);
    for (int i = 0; i < lines; ++i) {
        switch (i % 10) {
        case 0:
            out += "Label" + QByteArray::number(i) + ":\r\n";
            break;
        case 1:
            out += "counter" + QByteArray::number(i) + " VAR WORD   ' loop counter\r\n";
            break;
        case 2:
            out += "LIMIT" + QByteArray::number(i) + " CON $FF\r\n";
            break;
        case 3:
            out += "    FOR B0 = 0 TO %1010\r\n";
            break;
        case 4:
            out += "        LCDOUT $FE, 1, \"Value: \", DEC5 W12\r\n";
            break;
        case 5:
            out += "    NEXT B0\r\n";
            break;
        case 6:
            out += "    IF PORTB.0 = 1 AND B1 <> 3 THEN GOSUB Label" + QByteArray::number(i - 6) + "\r\n";
            break;
        case 7:
            out += "REM a remark about the next part\r\n";
            break;
        case 8:
            out += "    HIGH PORTB.1 : PAUSE 500 : LOW PORTB.1\r\n";
            break;
        default:
            out += "    ON INTERRUPT GOTO Isr\r\n";
            break;
        }
    }
    return out;
}

void configure(SourceDocument& d) {
    d.SetDocumentSetting(3);
    d.SetSLCommentStart(QStringLiteral("'"));
    d.SetSLCommentStart2(QStringLiteral("rem"));
    d.SetStringDelimiter(QStringLiteral("\""));
    d.SetLanguageFlags(112);
    d.ClearKeywords();
    const char* statements[] = {
        "@",      "ADCIN",  "ASM",     "BRANCH",       "BUTTON", "CALL",  "CLEAR",   "COUNT",
        "DATA",   "DEBUG",  "DISABLE", "ENABLE",       "END",    "FOR",   "FREQOUT", "GOSUB",
        "GOTO",   "HIGH",   "I2CREAD", "IF",           "THEN",   "ELSE",  "ENDIF",   "INPUT",
        "LCDOUT", "LOW",    "NEXT",    "ON INTERRUPT", "OUTPUT", "PAUSE", "PAUSEUS", "RETURN",
        "SERIN",  "SEROUT", "SOUND",   "TO",           "TOGGLE", "WHILE", "WEND",    "PORTA",
        "TRISA",  "PORTB",  "TRISB",   "PORTC",        "TRISC"};
    for (const char* w : statements)
        d.AddKeyword(0, QString::fromLatin1(w));
    for (const char* w : {"DEFINE", "OSC", "ADC_SAMPLEUS", "LCD_DREG", "LCD_BITS"})
        d.AddKeyword(1, QString::fromLatin1(w));
    for (const char* w : {"WORD", "BYTE", "BIT", "VAR", "CON"})
        d.AddKeyword(2, QString::fromLatin1(w));
    for (const char* w : {"ABS", "COS", "DCD", "DIG", "MAX", "MIN", "NCD", "REV", "SIN", "SQR"})
        d.AddKeyword(3, QString::fromLatin1(w));
    for (const char* w : {"AND", "OR", "XOR", "NOT"})
        d.AddKeyword(4, QString::fromLatin1(w));
    for (const char* base : {"BIN", "DEC", "HEX"})
        for (int n = 0; n <= 16; ++n)
            d.AddKeyword(5, QString::fromLatin1(base) + (n ? QString::number(n) : QString()));
}

void press(QWidget* target, Qt::Key key, const QString& text = QString()) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.pbp"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(program(lines)) < 0)
            return 1;
    }

    // The empty program: a shown, painted view with nothing loaded.
    auto* view = new SourceView;
    configure(view->Document());
    view->resize(1000, 800);
    view->show();
    QApplication::processEvents();
    view->grab();
    const long emptyRss = statusKb("VmRSS:");

    QElapsedTimer t;
    t.start();
    view->Document().LoadFile(path);
    view->grab();
    const double loadMs = t.nsecsElapsed() / 1e6;
    std::printf("lines                      %d\n", view->Document().NumLines());
    std::printf("load + first paint         %.1f ms\n", loadMs);
    std::printf("resident after load        %.1f MB (%.1f MB above empty)\n", statusKb("VmRSS:") / 1024.0,
                (statusKb("VmRSS:") - emptyRss) / 1024.0);

    QWidget* target = view->focusProxy();
    view->SetFocus();
    view->MoveCaret(0, lines / 2);
    view->SetScrollPos(0, lines / 2 - 10);
    QApplication::processEvents();
    const int keystrokes = 200;
    double worst = 0;
    t.restart();
    for (int i = 0; i < keystrokes; ++i) {
        QElapsedTimer one;
        one.start();
        press(target, Qt::Key_X, QStringLiteral("x"));
        view->repaint();
        worst = qMax(worst, one.nsecsElapsed() / 1e6);
    }
    std::printf("keystroke + repaint        %.3f ms mean, %.3f ms worst (%d keys at line %d)\n",
                t.nsecsElapsed() / 1e6 / keystrokes, worst, keystrokes, lines / 2);

    QRandomGenerator rng(42);
    const int queries = 100000;
    int sink = 0;
    t.restart();
    for (int i = 0; i < queries; ++i) {
        int cls, start, len;
        view->GetTokenAt(int(rng.bounded(40)), int(rng.bounded(lines)), cls, start, len);
        sink += cls;
    }
    std::printf("GetTokenAt, random         %.2f us per call (%d calls, checksum %d)\n",
                t.nsecsElapsed() / 1e3 / queries, queries, sink);

    std::printf("resident after GetTokenAt  %.1f MB (%.1f MB above empty)\n", statusKb("VmRSS:") / 1024.0,
                (statusKb("VmRSS:") - emptyRss) / 1024.0);
    view->MoveCaret(0, 0);
    view->SetScrollPos(0, 0);
    QApplication::processEvents();
    const int pages = 300;
    t.restart();
    for (int i = 0; i < pages; ++i) {
        press(target, Qt::Key_PageDown);
        view->repaint();
    }
    std::printf("PageDown + repaint         %.3f ms per page (%d pages, now at line %d)\n",
                t.nsecsElapsed() / 1e6 / pages, pages, view->CaretY());

    const long rss = statusKb("VmRSS:");
    const long hwm = statusKb("VmHWM:");
    std::printf("resident, empty program    %.1f MB\n", emptyRss / 1024.0);
    std::printf("resident now               %.1f MB (%.1f MB above empty)\n", rss / 1024.0,
                (rss - emptyRss) / 1024.0);
    std::printf("peak resident (VmHWM)      %.1f MB (%.1f MB above empty)\n", hwm / 1024.0,
                (hwm - emptyRss) / 1024.0);
    delete view;
    return 0;
}
