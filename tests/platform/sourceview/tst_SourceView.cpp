#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/Colors.h"
#include "platform/KeyCodes.h"
#include "platform/ScriptedPrompts.h"
#include "platform/sourceview/FindReplaceDialog.h"
#include "platform/sourceview/SourceView.h"
#include "support/TestSupport.h"

namespace {

// A drawing hook that records its calls and the line records it saw.
class RecordingHook : public ISourceDraw2 {
public:
    QStringList calls;
    QList<DrawLineRecord> records;

    void PreDraw(QPainter*) override { calls << QStringLiteral("D"); }
    void PreDrawPage(QPainter*) override { calls << QStringLiteral("P"); }
    void PreDrawLine(DrawLineRecord& r) override {
        calls << QStringLiteral("L");
        records << r;
    }
    void PostDrawPage(QPainter*) override { calls << QStringLiteral("p"); }
    void PostDraw(QPainter*) override { calls << QStringLiteral("d"); }
};

const QColor kRed(255, 0, 0);

// Pixels within a small distance of a colour (text edges are blended with the background).
int countColor(const QImage& img, const QRect& area, const QColor& c, int tolerance = 0) {
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p(img.pixel(x, y));
            if (qAbs(p.red() - c.red()) <= tolerance && qAbs(p.green() - c.green()) <= tolerance &&
                qAbs(p.blue() - c.blue()) <= tolerance)
                ++n;
        }
    return n;
}

void configurePicBasic(SourceDocument& d) {
    d.SetDocumentSetting(3);
    d.SetSLCommentStart(QStringLiteral("'"));
    d.SetSLCommentStart2(QStringLiteral("rem"));
    d.SetStringDelimiter(QStringLiteral("\""));
    d.SetLanguageFlags(112);
    d.ClearKeywords();
    for (const char* w : {"HIGH", "LOW", "GOTO", "ON INTERRUPT"})
        d.AddKeyword(0, QString::fromLatin1(w));
    d.AddKeyword(2, QStringLiteral("VAR"));
}

} // namespace

class tst_SourceView : public QObject {
    Q_OBJECT
private:
    QTemporaryDir tmp_;

    static void showView(SourceView& v, int w = 400, int h = 240) {
        v.resize(w, h);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
    }
    static QString allText(SourceView& v) {
        QStringList l;
        for (int i = 0; i < v.Document().NumLines(); ++i)
            l << v.Document().GetLine(i);
        return l.join(u'|');
    }
    static QString selection(SourceView& v) {
        int c1, l1, c2, l2;
        v.GetSel(c1, l1, c2, l2);
        return QStringLiteral("%1,%2-%3,%4").arg(c1).arg(l1).arg(c2).arg(l2);
    }
    static QPoint caret(SourceView& v) { return QPoint(v.CaretX(), v.CaretY()); }

private slots:
    void caretIsClampedAndAnnounced_data() {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("inside") << QPoint(2, 1) << QPoint(2, 1);
        QTest::newRow("past line end") << QPoint(50, 0) << QPoint(5, 0);
        QTest::newRow("past last line") << QPoint(1, 9) << QPoint(1, 2);
        QTest::newRow("negative") << QPoint(-3, -1) << QPoint(0, 0);
    }
    void caretIsClampedAndAnnounced() {
        QFETCH(QPoint, to);
        QFETCH(QPoint, at);
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("first\nsecond\nthird"));
        v.MoveCaret(4, 2);
        QSignalSpy moves(&v, &SourceView::CaretMove);
        v.MoveCaret(to.x(), to.y());
        QCOMPARE(caret(v), at);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(QPoint(moves.first().at(0).toInt(), moves.first().at(1).toInt()), at);
    }

    void selection() {
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("alpha beta\ngamma"));
        QVERIFY(!v.TextSelected());
        v.SetSel(3, 1, 2, 0); // backwards: the caret ends at (2, 0)
        QVERIFY(v.TextSelected());
        QCOMPARE(selection(v), QStringLiteral("2,0-3,1"));
        QCOMPARE(caret(v), QPoint(2, 0));
        v.MoveCaret(7, 0);
        v.SelectWord();
        QCOMPARE(selection(v), QStringLiteral("6,0-10,0"));
    }

    void scrolling() {
        SourceView v;
        showView(v, 300, 200);
        QStringList lines(200, QStringLiteral("short"));
        lines[3] = QStringLiteral("long ").repeated(60);
        v.Document().InsertImpl(0, 0, lines.join(u'\n'));
        QApplication::processEvents();
        v.grab();
        int col, line;
        v.SetScrollPos(200, 0); // a long line widens the range
        v.GetScrollPos(col, line);
        QVERIFY2(col > 200 - 300 / v.CellWidth(), qPrintable(QString::number(col)));
        v.SetScrollPos(5, 40);
        v.GetScrollPos(col, line);
        QCOMPARE(QPoint(col, line), QPoint(5, 40));
        // Points of lines out of view follow from the line height.
        int x0, y0, x1, y1;
        v.PositionToPoint(0, 40, x0, y0);
        v.PositionToPoint(0, 190, x1, y1);
        QCOMPARE(y1 - y0, 150 * v.LineHeight());
        // A caret move shows the caret with the least scrolling: a line in view stays put, one
        // below lands on the bottom row, one above on the top row.
        const int rows = v.LinesInView();
        for (const int to : {41, 150, 100, 100 + rows - 1}) {
            v.MoveCaret(0, to);
            v.GetScrollPos(col, line);
            QCOMPARE(line, to == 41 ? 40 : to == 150 ? 151 - rows : 100);
        }
        v.FindText(QStringLiteral("long"), false, false, false);
        v.GetScrollPos(col, line);
        QCOMPARE(line, 3);
    }

    void metricsAndPoints() {
        SourceView v;
        showView(v);
        v.Document().InsertImpl(0, 0, QStringLiteral("ab"));
        const int oneLine = v.LineHeight();
        v.Document().InsertImpl(2, 0, QStringLiteral("\n\tx\ny"));
        QCOMPARE(v.LineHeight(), oneLine);
        const QFontMetrics fm(v.font());
        QCOMPARE(fm.horizontalAdvance(QLatin1Char('i')), fm.horizontalAdvance(QLatin1Char('W')));
        v.SetMarginStyle(1);
        QCOMPARE(v.MarginWidth(), v.MarginCells() * v.CellWidth());
        int x0, y0, x1, y1, x2, y2;
        v.PositionToPoint(0, 0, x0, y0);
        v.PositionToPoint(2, 0, x1, y1);
        v.PositionToPoint(1, 2, x2, y2);
        QVERIFY(x0 >= v.MarginWidth());
        QCOMPARE(QPoint(x1 - x0, y1 - y0), QPoint(2 * v.CellWidth(), 0));
        QCOMPARE(y2 - y0, 2 * v.LineHeight());
        // HitTest inverts PositionToPoint, from anywhere inside the cell.
        int col = -1, line = -1;
        v.HitTest(x2 - 2, y2 + v.LineHeight() - 1, col, line);
        QCOMPARE(QPoint(col, line), QPoint(1, 2));
        v.HitTest(x0 + 1, y0 + 1, col, line);
        QCOMPARE(QPoint(col, line), QPoint(0, 0));
        // The text after a TAB starts at the next tab stop.
        int xt, yt;
        v.PositionToPoint(1, 1, xt, yt);
        QCOMPARE(xt - x0, qRound(SourceView::TabWidth * QFontMetricsF(v.font()).horizontalAdvance(u' ')));
        v.SetMarginStyle(0);
        QCOMPARE(v.MarginWidth(), 0);
    }

    void displayPos_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("display");
        QTest::newRow("no tabs") << "abc" << 2 << 2;
        QTest::newRow("after tab") << "\tx" << 1 << 4;
        QTest::newRow("tab mid stop") << "ab\tx" << 3 << 4;
        QTest::newRow("two tabs") << "\t\tx" << 3 << 9;
        QTest::newRow("past end") << "ab" << 5 << 5;
    }
    void displayPos() {
        QFETCH(QString, text);
        QFETCH(int, col);
        QFETCH(int, display);
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("x\n") + text);
        int dc = -1, dl = -1;
        v.GetDisplayPos(col, 1, dc, dl);
        QCOMPARE(QPoint(dc, dl), QPoint(display, 1));
    }

    void tokenAt_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<QList<int>>("token"); // class, start, length
        using T = QList<int>;
        // "  high PORTB ' note"
        QTest::newRow("blank") << 0 << T{0, 0, 2};
        QTest::newRow("keyword") << 4 << T{10, 2, 4};
        QTest::newRow("name") << 7 << T{1, 7, 5};
        QTest::newRow("comment") << 16 << T{6, 13, 6};
        QTest::newRow("past end") << 40 << T{0, 40, 0};
        QTest::newRow("negative") << -1 << T{0, -1, 0};
    }
    void tokenAt() {
        QFETCH(int, col);
        QFETCH(QList<int>, token);
        SourceView v;
        configurePicBasic(v.Document());
        v.Document().InsertImpl(0, 0, QStringLiteral("  high PORTB ' note"));
        int c = -9, s = -9, l = -9;
        v.GetTokenAt(col, 0, c, s, l);
        QCOMPARE(QList<int>({c, s, l}), token);
    }

    void tokenCacheFollowsEditsAndKeywords() {
        SourceView v;
        configurePicBasic(v.Document());
        v.Document().InsertImpl(0, 0, QStringLiteral("PAUSE 10"));
        int c, s, l;
        v.GetTokenAt(0, 0, c, s, l);
        QCOMPARE(c, 1);
        v.Document().AddKeyword(0, QStringLiteral("pause"));
        v.GetTokenAt(0, 0, c, s, l);
        QCOMPARE(c, 10);
        v.Document().InsertImpl(0, 0, QStringLiteral("'"));
        v.GetTokenAt(0, 0, c, s, l);
        QCOMPARE(QList<int>({c, s, l}), QList<int>({6, 0, 9}));
        v.Document().Undo();
        v.GetTokenAt(0, 0, c, s, l);
        QCOMPARE(c, 10);
    }

    void coloursArePainted() {
        SourceView v;
        v.SetMarginStyle(1);
        v.SetTextBackColor(colors::rgb(255, 255, 200));
        v.SetBackColor(colors::rgb(200, 255, 255));
        configurePicBasic(v.Document());
        v.TokenInfo().SetForegroundColor(10, colors::rgb(0, 0, 255));
        v.TokenInfo().SetForegroundColor(6, colors::rgb(0, 150, 0));
        v.Document().InsertImpl(0, 0, QStringLiteral("HIGH x\n' note"));
        showView(v);
        const QImage img = v.grab().toImage();
        const auto cells = [&v](int col, int line, int n) {
            int x, y;
            v.PositionToPoint(col, line, x, y);
            return QRect(x, y, n * v.CellWidth(), v.LineHeight());
        };
        QVERIFY(countColor(img, cells(0, 0, 4), QColor(0, 0, 255), 60) > 5);
        QCOMPARE(countColor(img, cells(5, 0, 1), QColor(0, 0, 255), 60), 0);
        QVERIFY(countColor(img, cells(0, 1, 6), QColor(0, 150, 0), 40) > 5);
        QCOMPARE(QColor(img.pixel(v.width() - 30, v.height() / 2)), QColor(255, 255, 200));
        QCOMPARE(QColor(img.pixel(1, v.height() - 5)), QColor(200, 255, 255));
    }

    void hookOrderAndRecords() {
        SourceView v;
        RecordingHook hook;
        v.Document().InsertImpl(0, 0, QStringLiteral("a\nb\nc"));
        v.SetDrawHook(&hook);
        showView(v);
        hook.calls.clear();
        hook.records.clear();
        v.Refresh();
        QTRY_VERIFY(!hook.calls.isEmpty());
        QApplication::processEvents();
        const QString seq = hook.calls.join(QString());
        QVERIFY2(QRegularExpression(QStringLiteral("^(DPL*pd)+$")).match(seq).hasMatch(), qPrintable(seq));
        QVERIFY(seq.contains(QStringLiteral("DPLLLpd")));
        QList<int> lines;
        int x, y;
        v.PositionToPoint(0, 1, x, y);
        for (const DrawLineRecord& r : hook.records) {
            if (!lines.contains(r.line))
                lines << r.line;
            if (r.line == 1)
                QCOMPARE(QPoint(r.xOrigin, r.y), QPoint(x, y));
        }
        QCOMPARE(lines, QList<int>({0, 1, 2}));
    }

    void marginShowsBookmark() {
        SourceView v;
        v.SetMarginStyle(1);
        v.Document().InsertImpl(0, 0, QStringLiteral("a\nb\nc"));
        showView(v);
        v.MoveCaret(0, 1);
        const QImage before = v.grab().toImage();
        v.ExecuteCommand(SourceView::CmdToggleBookmark);
        QApplication::processEvents();
        const QImage after = v.grab().toImage();
        int x, y;
        v.PositionToPoint(0, 1, x, y);
        const QRect row(0, y, v.MarginWidth(), v.LineHeight());
        QVERIFY(before.copy(row) != after.copy(row));
        const QRect other = row.translated(0, v.LineHeight());
        QCOMPARE(before.copy(other), after.copy(other));
    }

    // Each command with the handler letting it run, then with the handler cancelling it.
    void executeCommand_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("ran"); // text | caret col,line | bookmarks
        const QString same = QStringLiteral("ab|\tcd|ef;1,1;0");
        QTest::newRow("toggle bookmark") << 6 << "ab|\tcd|ef;1,1;1";
        // Up and down keep the screen column: column 1 of "\tcd" lies behind a TAB.
        QTest::newRow("caret up") << 9 << "ab|\tcd|ef;2,0;0";
        QTest::newRow("caret down") << 10 << "ab|\tcd|ef;2,2;0";
        QTest::newRow("caret left") << 19 << "ab|\tcd|ef;0,1;0";
        QTest::newRow("caret right") << 20 << "ab|\tcd|ef;2,1;0";
        QTest::newRow("backspace") << 21 << "ab|cd|ef;0,1;0";
        QTest::newRow("delete") << 59 << "ab|\td|ef;1,1;0";
        QTest::newRow("cancel") << 34 << same;
        QTest::newRow("go to line") << 39 << same;
        QTest::newRow("indent") << 43 << "ab|\t\tcd|ef;4,1;0";
        QTest::newRow("outdent") << 44 << "ab|cd|ef;2,1;0";
        QTest::newRow("line start") << 62 << "ab|\tcd|ef;0,1;0";
        QTest::newRow("line end") << 63 << "ab|\tcd|ef;3,1;0";
        QTest::newRow("page up keeps the column") << 60 << "ab|\tcd|ef;2,0;0";
        QTest::newRow("page down keeps the column") << 61 << "ab|\tcd|ef;2,2;0";
        QTest::newRow("document start") << 64 << "ab|\tcd|ef;0,0;0";
        QTest::newRow("document end") << 65 << "ab|\tcd|ef;2,2;0";
        QTest::newRow("delete word after") << 70 << "ab|\t|ef;1,1;0";
        QTest::newRow("extend right") << 120 << "ab|\tcd|ef;2,1;0";
    }
    void executeCommand() {
        QFETCH(int, code);
        QFETCH(QString, ran);
        for (const bool cancel : {false, true}) {
            SourceView v;
            v.Document().InsertImpl(0, 0, QStringLiteral("ab\n\tcd\nef"));
            v.MoveCaret(1, 1);
            QList<int> announced;
            connect(&v, &SourceView::ExecuteCommandEvent, this, [&announced, cancel](int& c) {
                announced << c;
                if (cancel)
                    c = 0;
            });
            v.ExecuteCommand(code);
            QCOMPARE(announced, QList<int>({code}));
            const QString state = QStringLiteral("%1;%2,%3;%4")
                                      .arg(allText(v))
                                      .arg(v.CaretX())
                                      .arg(v.CaretY())
                                      .arg(v.Document().NumBookmarks());
            QCOMPARE(state, cancel ? QStringLiteral("ab|\tcd|ef;1,1;0") : ran);
        }
    }

    void upAndDownKeepTheColumn() {
        SourceView v;
        showView(v, 300, 160);
        v.Document().InsertImpl(0, 0, QStringLiteral("abcdefgh\nab\n\tcdefg\nabcdefgh"));
        v.MoveCaret(6, 0);
        QList<QPoint> seen;
        for (int code : {10, 10, 10, 9, 109}) {
            v.ExecuteCommand(code);
            seen << caret(v);
        }
        // Short line: the end; TAB line: display column 6 is text column 3; back at the long line: 6.
        QCOMPARE(seen, QList<QPoint>({{2, 1}, {3, 2}, {6, 3}, {3, 2}, {2, 1}}));
        QCOMPARE(selection(v), QStringLiteral("2,1-3,2"));
        v.ExecuteCommand(SourceView::CmdLineStart); // any other move forgets the column
        v.ExecuteCommand(SourceView::CmdDown);
        QCOMPARE(caret(v), QPoint(0, 2));
    }

    void pageDownMovesByAScreen() {
        SourceView v;
        showView(v, 300, 160);
        v.Document().InsertImpl(0, 0, QStringLiteral("line\n").repeated(100));
        v.MoveCaret(3, 0);
        const int page = v.height() / v.LineHeight() - 1;
        v.ExecuteCommand(SourceView::CmdPageDown);
        QVERIFY(qAbs(v.CaretY() - page) <= 2);
        QCOMPARE(v.CaretX(), 3);
        int col, line;
        v.GetScrollPos(col, line);
        QVERIFY(line > 0 && line <= v.CaretY());
        v.ExecuteCommand(SourceView::CmdPageUp);
        QCOMPARE(caret(v), QPoint(3, 0));
        v.ExecuteCommand(SourceView::CmdPageUp); // stays at the top
        QCOMPARE(v.CaretY(), 0);
    }

    void indentAndOutdentSelectedLines() {
        SourceView v;
        showView(v);
        v.SetFocus();
        v.Document().InsertImpl(0, 0, QStringLiteral("a\n\tb\nc\nd"));
        v.SetSel(1, 0, 1, 2);
        QTest::keyClick(v.focusProxy(), Qt::Key_Tab);
        QCOMPARE(allText(v), QStringLiteral("\ta|\t\tb|\tc|d"));
        QCOMPARE(selection(v), QStringLiteral("0,0-2,2"));
        v.Document().Undo();
        QCOMPARE(allText(v), QStringLiteral("a|\tb|c|d"));
        v.SetSel(0, 0, 0, 3); // ends at column 0: line 3 is not taken in
        v.ExecuteCommand(SourceView::CmdIndent);
        QCOMPARE(allText(v), QStringLiteral("\ta|\t\tb|\tc|d"));
        QTest::keyClick(v.focusProxy(), Qt::Key_Backtab, Qt::ShiftModifier);
        v.ExecuteCommand(SourceView::CmdOutdent);
        QCOMPARE(allText(v), QStringLiteral("a|b|c|d"));
    }

    void bookmarksWrapAndMoveWithLines() {
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("0\n1\n2\n3\n4"));
        for (int line : {1, 3}) {
            v.MoveCaret(0, line);
            v.ExecuteCommand(SourceView::CmdToggleBookmark);
        }
        QCOMPARE(v.Document().NumBookmarks(), 2);
        v.ExecuteCommand(SourceView::CmdNextBookmark);
        QCOMPARE(v.CaretY(), 1); // wrapped from 3
        v.ExecuteCommand(SourceView::CmdPreviousBookmark);
        QCOMPARE(v.CaretY(), 3); // wrapped from 1
        v.Document().InsertImpl(0, 0, QStringLiteral("new\nnew\n"));
        v.MoveCaret(0, 0);
        v.ExecuteCommand(SourceView::CmdNextBookmark);
        QCOMPARE(v.CaretY(), 3);
        v.ExecuteCommand(SourceView::CmdNextBookmark);
        QCOMPARE(v.CaretY(), 5);
        v.ExecuteCommand(SourceView::CmdToggleBookmark);
        QCOMPARE(v.Document().NumBookmarks(), 1);
        v.ExecuteCommand(SourceView::CmdClearBookmarks);
        QCOMPARE(v.Document().NumBookmarks(), 0);
        v.ExecuteCommand(SourceView::CmdNextBookmark); // none: the caret stays
        QCOMPARE(v.CaretY(), 5);
    }

    // Keys reach the handlers with classic codes and run through the command map.
    void keys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("command");
        QTest::newRow("up") << int(Qt::Key_Up) << 0 << 38 << 0 << 9;
        QTest::newRow("down") << int(Qt::Key_Down) << 0 << 40 << 0 << 10;
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << 37 << 0 << 19;
        QTest::newRow("shift right") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << 39 << 1 << 120;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << 8 << 0 << 21;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << 27 << 0 << 34;
        QTest::newRow("ctrl g") << int(Qt::Key_G) << int(Qt::ControlModifier) << 71 << 2 << 39;
        QTest::newRow("shift tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 9 << 1 << 44;
        QTest::newRow("ctrl f2") << int(Qt::Key_F2) << int(Qt::ControlModifier) << 113 << 2 << 6;
        QTest::newRow("ctrl z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << 90 << 2 << 53;
        QTest::newRow("ctrl y") << int(Qt::Key_Y) << int(Qt::ControlModifier) << 89 << 2 << 54;
        const int ctrl = int(Qt::ControlModifier), shiftKey = int(Qt::ShiftModifier);
        QTest::newRow("home") << int(Qt::Key_Home) << 0 << 36 << 0 << 62;
        QTest::newRow("end") << int(Qt::Key_End) << 0 << 35 << 0 << 63;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 0 << 33 << 0 << 60;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 0 << 34 << 0 << 61;
        QTest::newRow("shift page down") << int(Qt::Key_PageDown) << shiftKey << 34 << 1 << 161;
        QTest::newRow("ctrl home") << int(Qt::Key_Home) << ctrl << 36 << 2 << 64;
        QTest::newRow("ctrl end") << int(Qt::Key_End) << ctrl << 35 << 2 << 65;
        QTest::newRow("ctrl left") << int(Qt::Key_Left) << ctrl << 37 << 2 << 66;
        QTest::newRow("ctrl right") << int(Qt::Key_Right) << ctrl << 39 << 2 << 67;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << 46 << 0 << 59;
        QTest::newRow("shift delete cuts") << int(Qt::Key_Delete) << shiftKey << 46 << 1 << 50;
        QTest::newRow("ctrl delete") << int(Qt::Key_Delete) << ctrl << 46 << 2 << 70;
        QTest::newRow("ctrl backspace") << int(Qt::Key_Backspace) << ctrl << 8 << 2 << 69;
        QTest::newRow("ctrl insert copies") << int(Qt::Key_Insert) << ctrl << 45 << 2 << 51;
        QTest::newRow("shift insert pastes") << int(Qt::Key_Insert) << shiftKey << 45 << 1 << 52;
        QTest::newRow("f2") << int(Qt::Key_F2) << 0 << 113 << 0 << 4;
        QTest::newRow("shift f2") << int(Qt::Key_F2) << shiftKey << 113 << 1 << 5;
        QTest::newRow("ctrl shift f2") << int(Qt::Key_F2) << (ctrl | shiftKey) << 113 << 3 << 1;
        QTest::newRow("f3") << int(Qt::Key_F3) << 0 << 114 << 0 << 56;
        QTest::newRow("ctrl x") << int(Qt::Key_X) << ctrl << 88 << 2 << 50;
        QTest::newRow("ctrl c") << int(Qt::Key_C) << ctrl << 67 << 2 << 51;
        QTest::newRow("ctrl v") << int(Qt::Key_V) << ctrl << 86 << 2 << 52;
        QTest::newRow("ctrl f") << int(Qt::Key_F) << ctrl << 70 << 2 << 55;
        QTest::newRow("ctrl h") << int(Qt::Key_H) << ctrl << 72 << 2 << 57;
        QTest::newRow("ctrl a") << int(Qt::Key_A) << ctrl << 65 << 2 << 58;
        QTest::newRow("ctrl shift z") << int(Qt::Key_Z) << (ctrl | shiftKey) << 90 << 3 << 54;
        QTest::newRow("alt backspace") << int(Qt::Key_Backspace) << int(Qt::AltModifier) << 8 << 4 << 53;
        QTest::newRow("typing") << int(Qt::Key_A) << 0 << 65 << 0 << 0;
        QTest::newRow("tab without selection") << int(Qt::Key_Tab) << 0 << 9 << 0 << 0;
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << 13 << 0 << 0;
    }
    void keys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, keyCode);
        QFETCH(int, shift);
        QFETCH(int, command);
        SourceView v;
        showView(v);
        v.SetFocus();
        QList<int> downs, ups, commands;
        connect(&v, &SourceView::KeyDown, this, [&downs, shift](int& k, int s) {
            if (s == shift && k != keys::VK_Shift && k != keys::VK_Control && k != keys::VK_Menu)
                downs << k;
        });
        connect(&v, &SourceView::KeyUp, this, [&ups](int& k, int) { ups << k; });
        // Only the mapping is under test here: the commands are cancelled, so no dialog opens.
        connect(&v, &SourceView::ExecuteCommandEvent, this, [&commands](int& c) {
            commands << c;
            c = 0;
        });
        QWidget* target = v.focusProxy();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(downs, QList<int>({keyCode}));
        QVERIFY(ups.contains(keyCode));
        QCOMPARE(commands, command ? QList<int>({command}) : QList<int>());
    }

    void handlersSwallowKeys() {
        SourceView v;
        showView(v);
        v.SetFocus();
        QWidget* target = v.focusProxy();
        bool swallowDown = true;
        connect(&v, &SourceView::KeyDown, this,
                [&swallowDown](int& k, int) { k = swallowDown && k == 'A' ? 0 : k; });
        QList<int> typed;
        connect(&v, &SourceView::KeyPress, this, [&typed](int& ascii) {
            typed << ascii;
            ascii = ascii == 'b' ? 0 : ascii == 'c' ? 'C' : ascii;
        });
        QSignalSpy changes(&v, &SourceView::LinesChanged);
        QTest::keyClicks(target, QStringLiteral("abcd"));
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("Cd"));
        QCOMPARE(typed, QList<int>({'b', 'c', 'd'}));
        QCOMPARE(changes.size(), 2);
        swallowDown = false;
        QTest::keyClick(target, Qt::Key_Backspace);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("C"));
        QVERIFY(v.Document().CanUndo());
    }

    void mouseEvents() {
        SourceView v;
        showView(v);
        v.Document().InsertImpl(0, 0, QStringLiteral("abc\ndef"));
        int x, y;
        v.PositionToPoint(1, 1, x, y);
        QSignalSpy ups(&v, &SourceView::MouseUp);
        QSignalSpy moves(&v, &SourceView::MouseMove);
        QWidget* vp = v.findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
        QVERIFY(vp);
        const QPoint local = vp->mapFrom(&v, QPoint(x + 1, y + 2));
        QTest::mouseClick(vp, Qt::RightButton, Qt::ShiftModifier, local);
        QCOMPARE(ups.size(), 1);
        QCOMPARE(ups.first().mid(0, 4), QVariantList({2, 1, x + 1, y + 2})); // button, shift, x, y
        QTest::mouseMove(vp, local + QPoint(3, 0));
        QVERIFY(!moves.isEmpty());
        QCOMPARE(moves.last().at(2).toInt(), x + 4);
    }

    void findText_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("found"); // col,line of each match in turn, "-" for not found
        // text: "high x\nHIGHER high\nend high"; the caret starts at (0, 1)
        QTest::newRow("forward wraps") << "high" << false << false << true << "0,1 7,1 4,2 0,0 0,1";
        QTest::newRow("match case") << "HIGH" << true << false << true << "0,1 0,1";
        QTest::newRow("whole word") << "high" << false << true << true << "7,1 4,2 0,0 7,1";
        QTest::newRow("backward wraps") << "high" << false << false << false << "0,0 4,2 7,1 0,1 0,0";
        QTest::newRow("not found") << "xyz" << false << false << true << "-";
    }
    void findText() {
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(bool, forward);
        QFETCH(QString, found);
        SourceView v;
        ScriptedPrompts prompts;
        v.SetPrompts(&prompts);
        v.Document().InsertImpl(0, 0, QStringLiteral("high x\nHIGHER high\nend high"));
        v.MoveCaret(0, 1);
        QStringList got;
        for (qsizetype i = 0; i <= found.count(u' '); ++i) {
            const bool ok = v.FindText(what, matchCase, wholeWord, forward);
            int c1, l1, c2, l2;
            v.GetSel(c1, l1, c2, l2);
            got << (ok ? QStringLiteral("%1,%2").arg(c1).arg(l1) : QStringLiteral("-"));
            QVERIFY(!ok || c2 - c1 == what.size());
        }
        QCOMPARE(got.join(u' '), found);
        const QString cannot = QStringLiteral("Cannot find \"%1\"").arg(what);
        QCOMPARE(prompts.messages(), found == QLatin1String("-") ? QStringList{cannot} : QStringList{});
    }

    void replaceHonoursTheTickedOptions_data() {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QString>("afterAll");
        QTest::addColumn<QString>("afterOne"); // the text, then the column of the next match selected
        QTest::newRow("neither") << false << false << "x x xger"
                                 << "x LED ledger@2";
        QTest::newRow("match case") << true << false << "x LED xger"
                                    << "x LED ledger@6";
        QTest::newRow("whole word") << false << true << "x x ledger"
                                    << "x LED ledger@2";
    }
    void replaceHonoursTheTickedOptions() {
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QString, afterAll);
        QFETCH(QString, afterOne);
        for (const bool all : {true, false}) {
            SourceView v;
            ScriptedPrompts prompts;
            v.SetPrompts(&prompts);
            showView(v);
            v.Document().InsertImpl(0, 0, QStringLiteral("led LED ledger"));
            v.Document().SetModified(false);
            v.MoveCaret(0, 0);
            v.Replace();
            auto* dlg = v.findChild<FindReplaceDialog*>();
            QVERIFY(dlg);
            dlg->findEdit()->setText(QStringLiteral("led"));
            dlg->replaceEdit()->setText(QStringLiteral("x"));
            dlg->matchCaseBox()->setChecked(matchCase);
            dlg->wholeWordBox()->setChecked(wholeWord);
            if (all) {
                QTest::mouseClick(dlg->replaceAllButton(), Qt::LeftButton);
                QCOMPARE(allText(v), afterAll);
                v.Undo(); // Replace All is one undo step
                QCOMPARE(allText(v), QStringLiteral("led LED ledger"));
                QVERIFY(!v.Document().Modified());
            } else {
                QTest::mouseClick(dlg->findNextButton(), Qt::LeftButton);
                QTest::mouseClick(dlg->replaceButton(), Qt::LeftButton);
                QCOMPARE(allText(v) + u'@' + selection(v).section(u',', 0, 0), afterOne);
            }
            QVERIFY(prompts.messages().isEmpty());
        }
    }

    void findReplaceDialog() {
        SourceView v;
        ScriptedPrompts prompts;
        v.SetPrompts(&prompts);
        showView(v);
        v.Document().InsertImpl(0, 0, QStringLiteral("one two\ntwo one"));
        v.MoveCaret(0, 0);
        v.Replace();
        auto* dlg = v.findChild<FindReplaceDialog*>();
        QVERIFY(dlg && dlg->isVisible() && !dlg->isModal() && dlg->replaceMode());
        dlg->findEdit()->setText(QStringLiteral("two"));
        dlg->replaceEdit()->setText(QStringLiteral("2"));
        QTest::mouseClick(dlg->findNextButton(), Qt::LeftButton);
        QCOMPARE(selection(v), QStringLiteral("4,0-7,0"));
        QTest::mouseClick(dlg->replaceButton(), Qt::LeftButton); // replaces, then finds the next
        QCOMPARE(allText(v), QStringLiteral("one 2|two one"));
        QCOMPARE(selection(v), QStringLiteral("0,1-3,1"));
        dlg->upButton()->setChecked(true);
        QTest::mouseClick(dlg->findNextButton(), Qt::LeftButton);
        QCOMPARE(selection(v), QStringLiteral("0,1-3,1")); // only match left, found again by wrapping
        v.Find();
        QVERIFY(!dlg->replaceMode());
        QVERIFY(dlg->replaceButton()->isHidden());
        // F3 repeats the last search.
        v.MoveCaret(0, 0);
        v.FindText(QStringLiteral("one"), false, false, true);
        v.ExecuteCommand(SourceView::CmdFindNext);
        QCOMPARE(selection(v), QStringLiteral("4,1-7,1"));
        QVERIFY(prompts.messages().isEmpty());
    }

    void clipboardCommands() {
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("alpha beta"));
        v.SetSel(0, 0, 5, 0);
        v.Cut();
        QCOMPARE(v.Document().GetLine(0), QStringLiteral(" beta"));
        v.MoveCaret(5, 0);
        v.Paste();
        QCOMPARE(v.Document().GetLine(0), QStringLiteral(" betaalpha"));
        v.Undo();
        v.Undo();
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("alpha beta"));
        v.Redo();
        QCOMPARE(v.Document().GetLine(0), QStringLiteral(" beta"));
    }

    void printKeepsTextAndColours() {
        SourceView v;
        configurePicBasic(v.Document());
        v.PrintTokenInfo().SetForegroundColor(10, colors::rgb(0, 0, 180));
        v.PrintTokenInfo().SetTokenStyle(10, 1);
        v.PrintTokenInfo().SetForegroundColor(6, colors::rgb(0, 150, 0));
        QString text = QStringLiteral("HIGH led ' on\n\tGOTO Main\n");
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("HIGH led %1\n").arg(i);
        v.Document().InsertImpl(0, 0, text);
        const auto doc = v.printDocument();
        QCOMPARE(doc->toPlainText(), text);
        QHash<QString, QTextCharFormat> formats;
        for (const QTextLayout::FormatRange& f : doc->begin().textFormats())
            formats[doc->begin().text().mid(f.start, f.length)] = f.format;
        QCOMPARE(formats[QStringLiteral("HIGH")].foreground().color().rgb(), qRgb(0, 0, 180));
        QCOMPARE(formats[QStringLiteral("HIGH")].fontWeight(), int(QFont::Bold));
        QCOMPARE(formats[QStringLiteral("' on")].foreground().color().rgb(), qRgb(0, 150, 0));
        QCOMPARE(formats[QStringLiteral("led")].foreground().color().rgb(), qRgb(0, 0, 0));
        // The text really goes onto the pages: 200 lines take several.
        const QString pdf = tmp_.filePath(QStringLiteral("long.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(v.PrintTo(printer));
        QVERIFY(testsupport::readFile(pdf).count("/Type /Page\n") >= 3);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (!pdftotext.isEmpty()) {
            QProcess p;
            p.start(pdftotext, {pdf, QStringLiteral("-")});
            QVERIFY(p.waitForFinished());
            const QString printed = QString::fromUtf8(p.readAllStandardOutput());
            QVERIFY2(printed.contains(QLatin1String("HIGH led ' on")), qPrintable(printed.left(200)));
            QVERIFY(printed.contains(QLatin1String("HIGH led 199")));
        }
    }

    void printTextReportsAFailure_data() {
        QTest::addColumn<QString>("target"); // relative to the temporary folder; "" cancels
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << ""
                                   << "";
        QTest::newRow("printed") << QString::fromUtf8("folder/print ü.pdf") << "";
        QTest::newRow("folder missing") << "missing/out.pdf"
                                        << "Unable to print to %1.";
        QTest::newRow("target is a folder") << "folder"
                                            << "Unable to print to %1.";
    }
    void printTextReportsAFailure() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        SourceView v;
        v.Document().InsertImpl(0, 0, QStringLiteral("HIGH 1"));
        ScriptedPrompts prompts;
        v.SetPrompts(&prompts);
        QVERIFY(QDir(tmp_.path()).mkpath(QStringLiteral("folder")));
        const QString path = tmp_.filePath(target);
        if (target.isEmpty())
            prompts.cancel();
        else
            prompts.printToFile(path);
        v.PrintText();
        QCOMPARE(prompts.shown().first().kind, QStringLiteral("print"));
        QCOMPARE(prompts.messages(), message.isEmpty()
                                         ? QStringList{}
                                         : QStringList{message.arg(QDir::toNativeSeparators(path))});
        if (target.endsWith(QLatin1String(".pdf")) && message.isEmpty())
            QCOMPARE(testsupport::readFile(path).count("/Type /Page\n"), 1);
    }
};

QTEST_MAIN(tst_SourceView)
#include "tst_SourceView.moc"
