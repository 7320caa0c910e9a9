#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QBackingStore>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/Colors.h"
#include "platform/KeyCodes.h"
#include "support/ScriptedPrompts.h"
#include "platform/sourceview/FindReplaceDialog.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceView.h"
#include "support/TestSupport.h"

namespace {

// A drawing hook that records its calls and the line records it saw.
class RecordingHook : public ISourceDraw2 {
public:
    QString calls;
    QList<DrawLineRecord> records;

    void PreDraw(QPainter*) override { calls += u'D'; }
    void PreDrawPage(QPainter*) override { calls += u'P'; }
    void PreDrawLine(DrawLineRecord& r) override {
        calls += u'L';
        records << r;
    }
    void PostDrawPage(QPainter*) override { calls += u'p'; }
    void PostDraw(QPainter*) override { calls += u'd'; }
};

// The lines (from the top of the view) that paint events of a widget covered, as "1,2"; "all" when
// every line in view was painted.
class PaintedLines : public QObject {
public:
    PaintedLines(QWidget* w, int lineHeight) : w_(w), h_(lineHeight) { w->installEventFilter(this); }
    QRegion region() const { return region_; }
    int paints() const { return paints_; }
    QString lines() const {
        QStringList out;
        const int rows = w_->height() / h_;
        for (int i = 0; i < rows; ++i)
            if (region_.intersects(QRect(0, i * h_, w_->width(), h_)))
                out << QString::number(i);
        return out.size() == rows ? QStringLiteral("all") : out.join(u',');
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            region_ += static_cast<QPaintEvent*>(e)->region();
            ++paints_;
        }
        return false;
    }

private:
    QWidget* w_;
    int h_;
    QRegion region_;
    int paints_ = 0;
};

// Pixels within a small distance of a colour (text edges are blended with the background).
int countColor(const QImage& img, const QRect& area, const QColor& c, int tolerance) {
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

QString allText(SourceView& v) {
    QStringList l;
    for (int i = 0; i < v.Document().NumLines(); ++i)
        l << v.Document().GetLine(i);
    return l.join(u'|');
}
QString selectionOf(SourceView& v) {
    int c1, l1, c2, l2;
    v.GetSel(c1, l1, c2, l2);
    return QStringLiteral("%1,%2-%3,%4").arg(c1).arg(l1).arg(c2).arg(l2);
}
QPoint caret(SourceView& v) {
    return QPoint(v.CaretX(), v.CaretY());
}
QPoint point(SourceView& v, int col, int line) {
    int x, y;
    v.PositionToPoint(col, line, x, y);
    return QPoint(x, y);
}
QPoint scrollPos(SourceView& v) {
    int col, line;
    v.GetScrollPos(col, line);
    return QPoint(col, line);
}

} // namespace

class tst_SourceView : public QObject {
    Q_OBJECT
private:
    QTemporaryDir tmp_;
    std::unique_ptr<SourceView> view_;
    std::unique_ptr<ScriptedPrompts> prompts_;

    // A fresh control holding the text, answering through scripted prompts; shown when given a size.
    SourceView& view(const QString& text, QSize size = QSize()) {
        view_ = std::make_unique<SourceView>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        view_->SetPrompts(prompts_.get());
        view_->Document().InsertImpl(0, 0, text);
        if (size.isValid()) {
            view_->resize(size);
            view_->show();
            if (!QTest::qWaitForWindowExposed(view_.get()))
                qWarning("the view was not exposed");
        }
        return *view_;
    }

    QWidget* viewport() const { return view_->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport")); }
    // Where a press in the viewport hits a character cell.
    QPoint at(int col, int line) const {
        return viewport()->mapFrom(view_.get(), point(*view_, col, line) + QPoint(1, 2));
    }

private slots:
    void initTestCase() { QApplication::setCursorFlashTime(0); } // the caret stays on, for the pictures

    // The caret is kept inside the text and every move is announced; a backwards selection leaves it
    // at its start.
    void caretAndSelection() {
        SourceView& v = view(QStringLiteral("first\nsecond\nthird"));
        QSignalSpy moves(&v, &SourceView::CaretMove);
        const QList<QPair<QPoint, QPoint>> rows{
            {{2, 1}, {2, 1}}, {{50, 0}, {5, 0}}, {{1, 9}, {1, 2}}, {{-3, -1}, {0, 0}}};
        for (const auto& [to, at] : rows) {
            v.MoveCaret(to.x(), to.y());
            QCOMPARE(moves, QList<QVariantList>({{at.x(), at.y()}}));
            QCOMPARE(caret(v), at);
            moves.clear();
        }
        QVERIFY(!v.TextSelected());
        v.SetSel(3, 1, 2, 0);
        QVERIFY(v.TextSelected());
        QCOMPARE(selectionOf(v), QStringLiteral("2,0-3,1"));
        QCOMPARE(caret(v), QPoint(2, 0));
    }

    // A key repaints the lines it changed and the caret's cells; the margin only where a line number
    // moved or the caret's line (its number in bold) changed.
    void repaints_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("margin");
        // clang-format off
        QTest::newRow("a character") << int(Qt::Key_X) << "3" << "";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "3" << "";
        QTest::newRow("caret right") << int(Qt::Key_Right) << "3" << "";
        QTest::newRow("caret down") << int(Qt::Key_Down) << "3,4" << "3,4";
        QTest::newRow("line break") << int(Qt::Key_Return) << "all" << "all";
        // clang-format on
    }
    void repaints() {
        QFETCH(int, key);
        QStringList lines;
        for (int i = 0; i < 30; ++i)
            lines << QStringLiteral("line %1").arg(i);
        SourceView& v = view(lines.join(u'\n'), QSize(300, 200));
        v.MoveCaret(2, 3);
        v.SetFocus();
        QApplication::processEvents();
        v.grab();
        QApplication::processEvents();
        PaintedLines text(viewport(), v.LineHeight());
        PaintedLines margin(v.findChild<SourceMargin*>(), v.LineHeight());
        QTest::keyClick(v.focusProxy(), Qt::Key(key));
        QApplication::processEvents();
        QTEST(text.lines(), "text");
        QTEST(margin.lines(), "margin");
    }

    // What a key asks to paint again, painted over the picture before it, is what a fresh paint
    // shows: a word whose class changed with the key is painted again from its start. Typing at the end
    // of a line paints the cells after the change alone.
    void repaintMatchesAFreshPaint_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>(
            "keys"); // characters typed; < > for the arrows, ! for backspace, { for shift+left
        QTest::addColumn<bool>("partly"); // the start of the line is left as it was
        // clang-format off
        QTest::newRow("end of a line") << "HIGH 1 ' on" << 11 << "x" << true;
        QTest::newRow("word becomes a keyword") << "GOT" << 3 << "O" << false;
        QTest::newRow("two-word keyword") << "ON INTERRUP" << 11 << "T" << false;
        QTest::newRow("keyword loses a letter") << "x = 1: GOTO" << 11 << "!" << true;
        QTest::newRow("inside a comment") << "HIGH 1 ' a comment" << 10 << "!x" << true;
        QTest::newRow("before a tab") << "HIGH 1 \t' on" << 7 << "x" << true;
        QTest::newRow("scrolled sideways") << "HIGH 1 ' a comment that runs on past the right edge of the view" << 65 << "xx!" << true;
        QTest::newRow("laid-out line") << "HIGH 1 ' \u03a9 on" << 13 << "x" << false;
        QTest::newRow("caret moves") << "HIGH 1 ' on" << 6 << "><<" << true;
        QTest::newRow("selection") << "HIGH 1 ' on" << 6 << "{{" << false;
        // clang-format on
    }
    void repaintMatchesAFreshPaint() {
        QFETCH(QString, text);
        QFETCH(int, col);
        QFETCH(QString, keys);
        QFETCH(bool, partly);
        SourceView& v = view(QStringLiteral("LOW 2\n%1\nLOW 2").arg(text), QSize(400, 120));
        configurePicBasic(v.Document());
        v.MoveCaret(col, 1);
        v.SetFocus();
        QApplication::processEvents();
        const QImage before = viewport()->grab().toImage();
        PaintedLines spy(viewport(), v.LineHeight());
        const QHash<QChar, QKeyCombination> named{{u'<', Qt::Key_Left},
                                                  {u'>', Qt::Key_Right},
                                                  {u'!', Qt::Key_Backspace},
                                                  {u'{', Qt::ShiftModifier | Qt::Key_Left}};
        for (QChar k : keys) {
            if (named.contains(k))
                QTest::keyClick(v.focusProxy(), named[k].key(), named[k].keyboardModifiers());
            else
                QTest::sendKeyEvent(QTest::KeyAction::Click, v.focusProxy(), Qt::Key_unknown, QString(k), {});
        }
        QApplication::processEvents();
        const QRegion painted = spy.region();
        QVERIFY(!painted.isEmpty());
        QImage over = before;
        viewport()->render(&over, painted.boundingRect().topLeft(), painted, QWidget::RenderFlags());
        QCOMPARE(over, viewport()->grab().toImage());
        QCOMPARE(painted.boundingRect().left() > viewport()->mapFrom(&v, point(v, 2, 1)).x(), partly);
    }

    // A scroll moves what stays in view and paints only what comes into it: what the window then
    // holds, text and margin, is what a fresh paint shows.
    void scrollMovesWhatStaysInView_data() {
        QTest::addColumn<int>("marginStyle");
        QTest::addColumn<int>("right");   // pixels
        QTest::addColumn<int>("down");    // lines
        QTest::addColumn<bool>("partly"); // the text area was not painted whole
        // clang-format off
        QTest::newRow("down") << 1 << 0 << 3 << true;
        QTest::newRow("up") << 1 << 0 << -2 << true;
        QTest::newRow("right") << 1 << 37 << 0 << true;
        QTest::newRow("left") << 1 << -25 << 0 << true;
        QTest::newRow("both ways") << 1 << 17 << 1 << true;
        QTest::newRow("more than a page") << 1 << 0 << 30 << false;
        QTest::newRow("margin moving with the text") << 2 << 37 << 2 << true;
        // clang-format on
    }
    void scrollMovesWhatStaysInView() {
        QFETCH(int, marginStyle);
        QFETCH(int, right);
        QFETCH(int, down);
        QFETCH(bool, partly);
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QStringLiteral("label%1: HIGH PORTB.%2 ' on, and a comment past the edge")
                         .arg(i)
                         .arg(i % 8);
        lines[12] = QStringLiteral("  x = 1 ' \u03a9\u0301 laid out");
        lines[14] = QStringLiteral("\tGOTO label3");
        SourceView& v = view(lines.join(u'\n'), QSize(300, 200));
        configurePicBasic(v.Document());
        v.SetMarginStyle(marginStyle);
        v.SetSel(5, 13, 9, 11);
        v.SetFocus();
        auto* area = static_cast<QAbstractScrollArea*>(v.focusProxy());
        area->verticalScrollBar()->setValue(10);
        area->horizontalScrollBar()->setValue(30);
        QApplication::processEvents();
        PaintedLines text(viewport(), v.LineHeight());
        auto* margin = v.findChild<SourceMargin*>();
        PaintedLines marginSpy(margin, v.LineHeight());
        area->horizontalScrollBar()->setValue(30 + right);
        area->verticalScrollBar()->setValue(10 + down);
        QApplication::processEvents();
        const QRegion textPainted = text.region();
        const QRegion marginPainted = marginSpy.region();
        const auto* store = dynamic_cast<QImage*>(v.backingStore()->paintDevice());
        QVERIFY(store);
        for (QWidget* w : {viewport(), static_cast<QWidget*>(margin)}) {
            const QImage held = store->copy(QRect(w->mapTo(&v, QPoint(0, 0)), w->size()));
            QCOMPARE(held.convertToFormat(QImage::Format_RGB32),
                     w->grab().toImage().convertToFormat(QImage::Format_RGB32));
        }
        QCOMPARE(textPainted != QRegion(viewport()->rect()), partly);
        QCOMPARE(marginPainted.isEmpty(), down == 0 && marginStyle != 2);
    }

    // Typing past the right edge scrolls a step at a time, the caret always in view.
    // The horizontal bar appears when the line outgrows the view and goes with a shorter text; the
    // steps of its range in between leave the vertical bar unpainted.
    void typingPastTheRightEdge() {
        SourceView& v =
            view(QStringLiteral("start") + QStringLiteral("\nline").repeated(40), QSize(300, 200));
        v.MoveCaret(5, 0);
        v.SetFocus();
        QApplication::processEvents();
        auto* area = static_cast<QAbstractScrollArea*>(v.focusProxy());
        QScrollBar* h = area->horizontalScrollBar();
        QVERIFY(!h->isVisible());
        PaintedLines vertical(area->verticalScrollBar(), 1);
        QSet<int> values, ranges;
        for (int i = 0; i < 120; ++i) {
            QTest::keyClick(v.focusProxy(), Qt::Key_X);
            QApplication::processEvents();
            values << h->value();
            ranges << h->maximum();
            const int x = point(v, v.CaretX(), 0).x() - viewport()->mapTo(&v, QPoint(0, 0)).x();
            QVERIFY2(x >= 0 && x < viewport()->width(), qPrintable(QString::number(i)));
        }
        QVERIFY2(values.size() < 20, qPrintable(QString::number(values.size())));
        QVERIFY2(ranges.size() > 2 && ranges.size() < 20, qPrintable(QString::number(ranges.size())));
        QVERIFY(h->isVisible());
        // Painted as the horizontal bar came (laid out, and a row shorter), never for a step of it.
        QVERIFY2(vertical.paints() <= 2, qPrintable(QString::number(vertical.paints())));
        const QString path = tmp_.filePath(QStringLiteral("short.pbp"));
        QVERIFY(testsupport::writeFile(path, "short\n"));
        QVERIFY(v.Document().LoadFile(path));
        QApplication::processEvents();
        QVERIFY(!h->isVisible());
    }

    void scrolling() {
        QStringList lines(200, QStringLiteral("short"));
        lines[3] = QStringLiteral("long ").repeated(60);
        SourceView& v = view(lines.join(u'\n'), QSize(300, 200));
        QApplication::processEvents();
        v.grab();
        v.SetScrollPos(200, 0); // a long line widens the range
        QVERIFY2(scrollPos(v).x() > 200 - 300 / v.CellWidth(), qPrintable(QString::number(scrollPos(v).x())));
        v.SetScrollPos(5, 40);
        QCOMPARE(scrollPos(v), QPoint(5, 40));
        // Points of lines out of view follow from the line height.
        QCOMPARE(point(v, 0, 190).y() - point(v, 0, 40).y(), 150 * v.LineHeight());
        // A caret move shows the caret with the least scrolling: a line in view stays put, one
        // below lands on the bottom row, one above on the top row.
        const int rows = v.LinesInView();
        const QList<QPoint> moves{
            {41, 40}, {150, 151 - rows}, {100, 100}, {100 + rows - 1, 100}, {100 + rows, 101}};
        for (const QPoint& move : moves) {
            v.MoveCaret(0, move.x());
            QCOMPARE(scrollPos(v).y(), move.y());
        }
        // A page down moves the caret by a screen in its column and the view with it; up comes back.
        v.MoveCaret(3, 0);
        v.ExecuteCommand(SourceView::CmdPageDown);
        QVERIFY(qAbs(v.CaretY() - (v.height() / v.LineHeight() - 1)) <= 2);
        QCOMPARE(QPoint(v.CaretX(), scrollPos(v).y()), QPoint(3, v.CaretY()));
        v.ExecuteCommand(SourceView::CmdPageUp);
        QCOMPARE(caret(v), QPoint(3, 0));
        v.ExecuteCommand(SourceView::CmdPageUp); // stays at the top
        QCOMPARE(v.CaretY(), 0);
        // Lines deleted below a view scrolled to the end: the view follows the shorter range and
        // says so (the bar's value signal, which scrolls the picture).
        v.SetScrollPos(0, 200);
        QSignalSpy moved(static_cast<QAbstractScrollArea*>(v.focusProxy())->verticalScrollBar(),
                         &QScrollBar::valueChanged);
        v.Document().DeleteImpl(0, 150, 0, 199);
        QCOMPARE(scrollPos(v).y(), v.Document().NumLines() - rows);
        QCOMPARE(moved.size(), 1);
    }

    void metricsAndPoints() {
        SourceView& v = view(QStringLiteral("ab\n\tx\ny"), QSize(400, 240));
        v.SetMarginStyle(1);
        const QPoint p0 = point(v, 0, 0), p12 = point(v, 1, 2);
        QVERIFY(p0.x() >= v.MarginWidth());
        QCOMPARE(point(v, 2, 0) - p0, QPoint(2 * v.CellWidth(), 0));
        QCOMPARE(p12.y() - p0.y(), 2 * v.LineHeight());
        // HitTest inverts PositionToPoint, from anywhere inside the cell.
        int col = -1, line = -1;
        v.HitTest(p12.x() - 2, p12.y() + v.LineHeight() - 1, col, line);
        QCOMPARE(QPoint(col, line), QPoint(1, 2));
        // The text after a TAB starts at the next tab stop.
        const qreal space = QFontMetricsF(v.font()).horizontalAdvance(u' ');
        QCOMPARE(point(v, 1, 1).x() - p0.x(), qRound(SourceView::TabWidth * space));
        v.SetMarginStyle(0);
        QCOMPARE(v.MarginWidth(), 0);
    }

    void tokenAt() {
        SourceView& v = view(QStringLiteral("  high PORTB ' note"));
        configurePicBasic(v.Document());
        QList<int> got; // class, start, length at a blank, a keyword, a name, a comment, past the end, before
        for (int col : {0, 4, 7, 16, 40, -1}) {
            int c = -9, s = -9, l = -9;
            v.GetTokenAt(col, 0, c, s, l);
            got << c << s << l;
        }
        QCOMPARE(got, QList<int>({0, 0, 2, 10, 2, 4, 1, 7, 5, 6, 13, 6, 0, 40, 0, 0, -1, 0}));
        v.Document().AddKeyword(0, QStringLiteral("portb")); // a line already lexed learns a new keyword
        int c = -9, s = -9, l = -9;
        v.GetTokenAt(7, 0, c, s, l);
        QCOMPARE(c, 10);
    }

    // A line of plain characters is drawn from glyphs looked up once; it looks exactly as the same
    // characters shaped on a line that needs shaping for a character further on. Bold keywords too.
    void plainLinesLookShaped() {
        const QString same = QStringLiteral("HIGH PORTB.1 ' on");
        SourceView& v = view(same + u'\n' + same + QStringLiteral(" \u4E2D\n"), QSize(400, 120));
        configurePicBasic(v.Document());
        v.TokenInfo().SetTokenStyle(10, TokenStyles::Bold);
        v.SetSel(0, 2, 0, 2); // the caret out of the way
        const QImage img = v.grab().toImage();
        const QRect plain(point(v, 0, 0), QSize(int(same.size()) * v.CellWidth(), v.LineHeight()));
        const QRect shaped = plain.translated(0, v.LineHeight());
        QVERIFY(countColor(img, plain, v.palette().color(QPalette::Base), 0) < plain.width() * plain.height());
        QCOMPARE(img.copy(plain), img.copy(shaped));
    }

    // Token colours, both backgrounds and the drawing hook's calls.
    void painting() {
        SourceView& v = view(QStringLiteral("HIGH x\n' note\nc"), QSize(400, 240));
        v.SetMarginStyle(1);
        v.SetTextBackColor(colors::rgb(255, 255, 200));
        v.SetBackColor(colors::rgb(200, 255, 255));
        configurePicBasic(v.Document());
        v.TokenInfo().SetForegroundColor(10, colors::rgb(0, 0, 255));
        v.TokenInfo().SetForegroundColor(6, colors::rgb(0, 150, 0));
        const QImage img = v.grab().toImage();
        const auto cells = [&v](int col, int line, int n) {
            return QRect(point(v, col, line), QSize(n * v.CellWidth(), v.LineHeight()));
        };
        QVERIFY(countColor(img, cells(0, 0, 4), QColor(0, 0, 255), 60) > 5);
        QCOMPARE(countColor(img, cells(5, 0, 1), QColor(0, 0, 255), 60), 0);
        QVERIFY(countColor(img, cells(0, 1, 6), QColor(0, 150, 0), 40) > 5);
        QCOMPARE(QColor(img.pixel(v.width() - 30, v.height() / 2)), QColor(255, 255, 200));
        QCOMPARE(QColor(img.pixel(1, v.height() - 5)), QColor(200, 255, 255));

        RecordingHook hook;
        v.SetDrawHook(&hook);
        v.Refresh();
        QTRY_VERIFY(!hook.calls.isEmpty());
        QApplication::processEvents();
        const QString& seq = hook.calls;
        QVERIFY2(QRegularExpression(QStringLiteral("^(DPL*pd)+$")).match(seq).hasMatch(), qPrintable(seq));
        QVERIFY(seq.contains(QStringLiteral("DPLLLpd")));
        QList<int> lines;
        for (const DrawLineRecord& r : hook.records) {
            if (!lines.contains(r.line))
                lines << r.line;
            if (r.line == 1)
                QCOMPARE(QPoint(r.xOrigin, r.y), point(v, 0, 1));
        }
        QCOMPARE(lines, QList<int>({0, 1, 2}));
        v.SetDrawHook(nullptr);
    }

    // Command scripts, each run with the handler letting the commands through, then cancelling them.
    void commands_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("from"); // the selection's anchor, then the caret: col, line, col, line
        QTest::addColumn<QList<int>>("codes");
        // The caret after each command; then the text, the selection and #bookmarks if any.
        QTest::addColumn<QString>("after");
        using L = QList<int>;
        const QString tabbed = QStringLiteral("ab\n\tcd\nef");
        const QString words = QStringLiteral("HIGH PORTB.0  ' led_1\nx");
        const QString ragged = QStringLiteral("abcdefgh\nab\n\tcdefg\nabcdefgh");
        const L inTab{1, 1, 1, 1};
        const L top{0, 0, 0, 0};
        const QString four = QStringLiteral("a\n\tb\nc\nd");
        const L all{0, 0, 0, 3};
        const L alpha{0, 0, 5, 0};
        // clang-format off
        // Up and down keep the screen column: column 1 of "\tcd" lies behind a TAB.
        QTest::newRow("caret up") << tabbed << inTab << L{9} << "2,0 ab|\tcd|ef";
        QTest::newRow("caret down") << tabbed << inTab << L{10} << "2,2 ab|\tcd|ef";
        QTest::newRow("caret left") << tabbed << inTab << L{19} << "0,1 ab|\tcd|ef";
        QTest::newRow("caret right") << tabbed << inTab << L{20} << "2,1 ab|\tcd|ef";
        QTest::newRow("backspace") << tabbed << inTab << L{21} << "0,1 ab|cd|ef";
        QTest::newRow("delete") << tabbed << inTab << L{59} << "1,1 ab|\td|ef";
        QTest::newRow("indent") << tabbed << inTab << L{43} << "4,1 ab|\t\tcd|ef 0,1-4,1";
        QTest::newRow("outdent") << tabbed << inTab << L{44} << "2,1 ab|cd|ef 0,1-2,1";
        QTest::newRow("line start") << tabbed << inTab << L{62} << "0,1 ab|\tcd|ef";
        QTest::newRow("line end") << tabbed << inTab << L{63} << "3,1 ab|\tcd|ef";
        QTest::newRow("document start") << tabbed << inTab << L{64} << "0,0 ab|\tcd|ef";
        QTest::newRow("document end") << tabbed << inTab << L{65} << "2,2 ab|\tcd|ef";
        QTest::newRow("delete word after") << tabbed << inTab << L{70} << "1,1 ab|\t|ef";
        QTest::newRow("extend right") << tabbed << inTab << L{120} << "2,1 ab|\tcd|ef 1,1-2,1";
        QTest::newRow("delete word before") << tabbed << inTab << L{69} << "0,1 ab|cd|ef";
        QTest::newRow("select word") << tabbed << inTab << L{68} << "3,1 ab|\tcd|ef 1,1-3,1";
        QTest::newRow("select all") << tabbed << inTab << L{58} << "2,2 ab|\tcd|ef 0,0-2,2";
        // With the caret just after a word, that word; the marks on its last letter are part of it.
        QTest::newRow("select word ending in a mark")
            << QString::fromUtf8("cafe\u0301 x") << L{5, 0, 5, 0} << L{68} << QString::fromUtf8("5,0 cafe\u0301 x 0,0-5,0");
        // A surrogate pair, and a letter with its combining mark, go as one character.
        const QString emoji = QString::fromUtf8("a\U0001F600b");
        QTest::newRow("backspace after a pair") << emoji << L{3, 0, 3, 0} << L{21} << "1,0 ab";
        QTest::newRow("delete before a pair") << emoji << L{1, 0, 1, 0} << L{59} << "1,0 ab";
        const QString marked = QString::fromUtf8("xe\u0301\u0302y");
        QTest::newRow("backspace after a mark") << marked << L{4, 0, 4, 0} << L{21} << "1,0 xy";
        QTest::newRow("delete before a marked letter") << marked << L{1, 0, 1, 0} << L{59} << "1,0 xy";
        QTest::newRow("right over a pair, left back") << emoji << L{1, 0, 1, 0} << L{20, 19} << QString::fromUtf8("3,0 1,0 a\U0001F600b");
        // An arrow on a selection puts the caret at that end of it, whichever end the caret was at.
        const QString two = QStringLiteral("abc\ndef");
        QTest::newRow("left on a selection") << two << L{2, 0, 1, 1} << L{19} << "2,0 abc|def";
        QTest::newRow("right on a backward selection") << two << L{1, 1, 2, 0} << L{20} << "1,1 abc|def";
        // Ctrl+Right stops after each run of letters or of other signs and the blanks behind it, and goes
        // on at the next line; Ctrl+Left comes back over the same stops.
        QTest::newRow("word steps") << words << top << L(7, 67) + L(7, 66)
            << "5,0 10,0 11,0 14,0 16,0 21,0 0,1 21,0 16,0 14,0 11,0 10,0 5,0 0,0 HIGH PORTB.0  ' led_1|x";
        // Short line: the end; TAB line: display column 6 is text column 3; back at the long line: 6.
        QTest::newRow("column kept") << ragged << L{6, 0, 6, 0} << L{10, 10, 10, 9, 109}
            << "2,1 3,2 6,3 3,2 2,1 abcdefgh|ab|\tcdefg|abcdefgh 2,1-3,2";
        QTest::newRow("any other move forgets it") << ragged << L{6, 0, 6, 0} << L{10, 62, 10}
            << "2,1 0,1 0,2 abcdefgh|ab|\tcdefg|abcdefgh";
        // A selection ending at column 0 does not take that line in; the lines indent in one undo step.
        QTest::newRow("indent to column 0") << four << all << L{43} << "2,2 \ta|\t\tb|\tc|d 0,0-2,2";
        QTest::newRow("indent undone") << four << all << L{43, 53} << "2,2 0,0 a|\tb|c|d";
        // Toggle on lines 1 and 3; Next wraps from 3 to 1, Previous from 1 to 3.
        QTest::newRow("bookmarks wrap") << "0\n1\n2\n3" << top << L{10, 6, 10, 10, 6, 4, 5}
            << "0,1 0,1 0,2 0,3 0,3 0,1 0,3 0|1|2|3 #2";
        QTest::newRow("bookmark toggled off") << "0\n1" << top << L{6, 6} << "0,0 0,0 0|1";
        // Cut, go to the end, paste, then undo and redo.
        QTest::newRow("cut and paste") << "alpha beta" << alpha << L{50, 63, 52} << "0,0 5,0 10,0  betaalpha";
        QTest::newRow("undo twice") << "alpha beta" << alpha << L{50, 63, 52, 53, 53}
            << "0,0 5,0 10,0 5,0 5,0 alpha beta";
        QTest::newRow("redo") << "alpha beta" << alpha << L{50, 63, 52, 53, 53, 54}
            << "0,0 5,0 10,0 5,0 5,0 0,0  beta";
        // clang-format on
    }
    void commands() {
        QFETCH(QString, text);
        QFETCH(QList<int>, from);
        QFETCH(QList<int>, codes);
        QFETCH(QString, after);
        for (const bool cancel : {false, true}) {
            SourceView& v = view(text);
            v.SetSel(from[0], from[1], from[2], from[3]);
            const auto whole = [&v] {
                return QStringLiteral("%1 %2 %3 %4")
                    .arg(allText(v), selectionOf(v))
                    .arg(v.CaretX() * 100 + v.CaretY())
                    .arg(v.Document().NumBookmarks());
            };
            const QString before = whole();
            QList<int> announced;
            connect(&v, &SourceView::ExecuteCommandEvent, this, [&announced, cancel](int& c) {
                announced << c;
                c = cancel ? 0 : c;
            });
            QStringList state;
            for (int code : codes) {
                v.ExecuteCommand(code);
                state << QStringLiteral("%1,%2").arg(v.CaretX()).arg(v.CaretY());
            }
            QCOMPARE(announced, codes);
            state << allText(v);
            if (v.TextSelected())
                state << selectionOf(v);
            if (const int n = v.Document().NumBookmarks())
                state << QStringLiteral("#%1").arg(n);
            QCOMPARE(cancel ? whole() : state.join(u' '), cancel ? before : after);
        }
    }

    // Keys reach the handlers with classic codes and run through the command map.
    void keys() {
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        // clang-format off
        const QList<std::array<int, 4>> rows{ // key, modifiers, key code, command
            {Qt::Key_Up, 0, 38, 9},
            {Qt::Key_Left, 0, 37, 19},
            {Qt::Key_Right, shift, 39, 120},
            {Qt::Key_Backspace, 0, 8, 21},
            {Qt::Key_Escape, 0, 27, 34},
            {Qt::Key_Backtab, shift, 9, 44},
            {Qt::Key_F2, ctrl, 113, 6},
            {Qt::Key_Z, ctrl, 90, 53},
            {Qt::Key_Y, ctrl, 89, 54},
            {Qt::Key_Home, 0, 36, 62},
            {Qt::Key_End, 0, 35, 63},
            {Qt::Key_PageDown, 0, 34, 61},
            {Qt::Key_PageDown, shift, 34, 161},
            {Qt::Key_End, ctrl, 35, 65},
            {Qt::Key_Left, ctrl, 37, 66},
            {Qt::Key_Delete, 0, 46, 59},
            {Qt::Key_Delete, shift, 46, 50}, // shift delete cuts
            {Qt::Key_Delete, ctrl, 46, 70},
            {Qt::Key_Insert, ctrl, 45, 51}, // ctrl insert copies
            {Qt::Key_Insert, shift, 45, 52}, // shift insert pastes
            {Qt::Key_F2, shift, 113, 5},
            {Qt::Key_F2, ctrl | shift, 113, 1},
            {Qt::Key_F3, 0, 114, 56},
            {Qt::Key_X, ctrl, 88, 50},
            {Qt::Key_Z, ctrl | shift, 90, 54},
            {Qt::Key_Backspace, alt, 8, 53},
            {Qt::Key_A, 0, 65, 0}, // typing
            {Qt::Key_Tab, 0, 9, 0}, // tab without selection
            {Qt::Key_Return, 0, 13, 0},
        };
        // clang-format on
        SourceView& v = view(QString(), QSize(400, 240));
        v.SetFocus();
        QList<int> downs, ups, commands;
        int mask = 0;
        connect(&v, &SourceView::KeyDown, this, [&downs, &mask](int& k, int s) {
            if (s == mask && k != keys::VK_Shift && k != keys::VK_Control && k != keys::VK_Menu)
                downs << k;
        });
        connect(&v, &SourceView::KeyUp, this, [&ups](int& k, int) { ups << k; });
        // Only the mapping is under test here: the commands are cancelled, so no dialog opens.
        connect(&v, &SourceView::ExecuteCommandEvent, this, [&commands](int& c) {
            commands << c;
            c = 0;
        });
        for (const auto& [key, modifiers, code, command] : rows) {
            downs = ups = commands = {};
            mask = keys::shiftMask(Qt::KeyboardModifiers(modifiers));
            QTest::keyClick(v.focusProxy(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            const QByteArray row = QKeySequence(key | modifiers).toString().toUtf8();
            QVERIFY2(downs == QList<int>({code}) && ups.contains(code), row);
            QVERIFY2(commands == (command ? QList<int>({command}) : QList<int>()), row);
        }
        v.Document().InsertImpl(0, 0, QStringLiteral("a\nb"));
        v.SetSel(0, 0, 0, 1);
        commands = {};
        QTest::keyClick(v.focusProxy(), Qt::Key_Tab); // with a selection over lines: indent
        QCOMPARE(commands, QList<int>({SourceView::CmdIndent}));
    }

    void handlersSwallowKeys() {
        SourceView& v = view(QString(), QSize(400, 240));
        v.SetFocus();
        bool swallowDown = true;
        connect(&v, &SourceView::KeyDown, this,
                [&swallowDown](int& k, int) { k = swallowDown && k == 'A' ? 0 : k; });
        QList<int> typed;
        connect(&v, &SourceView::KeyPress, this, [&typed](int& ascii) {
            typed << ascii;
            ascii = ascii == 'b' ? 0 : ascii == 'c' ? 'C' : ascii;
        });
        QSignalSpy changes(&v, &SourceView::LinesChanged);
        QTest::keyClicks(v.focusProxy(), QStringLiteral("abcd"));
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("Cd"));
        QCOMPARE(typed, QList<int>({'b', 'c', 'd'}));
        QCOMPARE(changes.size(), 2);
        swallowDown = false;
        QTest::keyClick(v.focusProxy(), Qt::Key_Backspace);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("C"));
        QVERIFY(v.Document().CanUndo());
        // A character typed with AltGr, which Windows reports as Ctrl+Alt, is typing like any other.
        typed.clear();
        QKeyEvent at(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("@"));
        QApplication::sendEvent(v.focusProxy(), &at);
        QKeyEvent none(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, QString());
        QApplication::sendEvent(v.focusProxy(), &none);
        QCOMPARE(v.Document().GetLine(0), QStringLiteral("C@"));
        QCOMPARE(typed, QList<int>({'@'}));
    }

    // Handlers hear the buttons; a drag selects, Shift+click moves the selection's end, a double click
    // takes the word and a third the line. Text dragged in from elsewhere is put where it is dropped;
    // files (which come with their names as text) are left to the window around.
    void mouse() {
        SourceView& v = view(QStringLiteral("alpha beta\ngamma_1 delta"), QSize(400, 240));
        QWidget* vp = viewport();
        const QPoint p = point(v, 1, 1) + QPoint(1, 2);
        QSignalSpy ups(&v, &SourceView::MouseUp);
        QSignalSpy moves(&v, &SourceView::MouseMove);
        QTest::mouseClick(vp, Qt::RightButton, Qt::ShiftModifier, at(1, 1));
        QCOMPARE(ups, QList<QVariantList>({{2, 1, p.x(), p.y()}})); // button, shift, x, y
        QTest::mouseMove(vp, at(1, 1) + QPoint(3, 0));
        QVERIFY(!moves.isEmpty());
        QCOMPARE(moves.last().at(2).toInt(), p.x() + 3);
        QTest::mousePress(vp, Qt::LeftButton, {}, at(2, 0));
        QMouseEvent move(QEvent::MouseMove, at(3, 1), vp->mapToGlobal(at(3, 1)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, at(3, 1));
        QCOMPARE(selectionOf(v), QStringLiteral("2,0-3,1"));
        QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, at(9, 1));
        QCOMPARE(selectionOf(v), QStringLiteral("2,0-9,1"));
        QTest::mouseDClick(vp, Qt::LeftButton, {}, at(5, 0)); // just after a word
        QCOMPARE(selectionOf(v), QStringLiteral("0,0-5,0"));
        QTest::mouseDClick(vp, Qt::LeftButton, {}, at(3, 1));
        QCOMPARE(selectionOf(v), QStringLiteral("0,1-7,1"));
        QTest::keyClicks(v.focusProxy(), QStringLiteral("g"));
        QCOMPARE(v.Document().GetLine(1), QStringLiteral("g delta"));
        QTest::mouseDClick(vp, Qt::LeftButton, {}, at(1, 0));
        QTest::mousePress(vp, Qt::LeftButton, {}, at(1, 0)); // a third click: the line with its break
        QCOMPARE(selectionOf(v), QStringLiteral("0,0-0,1"));
        QMimeData files, text;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/x.pbp"))});
        files.setText(QStringLiteral("/tmp/x.pbp"));
        text.setText(QStringLiteral("X\nY"));
        for (QMimeData* data : {&files, &text}) {
            QDragEnterEvent enter(at(1, 1), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(vp, &enter);
            QDropEvent drop(at(1, 1), Qt::CopyAction, data, Qt::LeftButton, {});
            QApplication::sendEvent(vp, &drop);
            QCOMPARE(int(enter.isAccepted()) + int(drop.isAccepted()), data == &text ? 2 : 0);
        }
        QCOMPARE(allText(v) + u' ' + selectionOf(v), QStringLiteral("alpha beta|gX|Y delta 1,1-1,2"));
    }

    // Selected text dragged elsewhere in the view moves there in one undo step and stays selected.
    void moveSelection() {
        // The selection, where it goes; the text and the selection after.
        const QList<std::tuple<QList<int>, QPoint, QString>> rows{
            {{3, 0, 5, 0}, {0, 0}, "cdab |ef gh|ij 0,0-2,0"},  // before it
            {{0, 0, 2, 0}, {5, 0}, " cdab|ef gh|ij 3,0-5,0"},  // after it, same line
            {{0, 0, 3, 0}, {2, 1}, "cd|efab  gh|ij 2,1-5,1"},  // after it, a later line
            {{3, 0, 2, 1}, {2, 2}, "ab  gh|ijcd|ef 2,1-2,2"},  // lines, after them
            {{0, 0, 5, 0}, {2, 0}, "ab cd|ef gh|ij 0,0-5,0"}}; // inside it
        for (const auto& [from, to, after] : rows) {
            SourceView& v = view(QStringLiteral("ab cd\nef gh\nij"));
            v.SetSel(from[0], from[1], from[2], from[3]);
            v.MoveSelectionTo(to.x(), to.y());
            QCOMPARE(allText(v) + u' ' + selectionOf(v), after);
            if (allText(v) != QStringLiteral("ab cd|ef gh|ij")) {
                v.Undo();
                QCOMPARE(allText(v), QStringLiteral("ab cd|ef gh|ij"));
            }
        }
    }

    // Assistive technology reads the text, the caret and the selection through one offset over all
    // lines, and may move them.
    void accessibleText() {
        SourceView& v = view(QStringLiteral("ab\n\tcd\nef"), QSize(400, 240));
        v.SetSel(1, 0, 2, 1);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(v.focusProxy());
        QVERIFY(a && a->textInterface());
        QAccessibleTextInterface* t = a->textInterface();
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("ab\n\tcd\nef"));
        int start = 0;
        int end = 0;
        t->selection(0, &start, &end);
        QCOMPARE(QList<int>({t->characterCount(), t->selectionCount(), start, end, t->cursorPosition()}),
                 QList<int>({9, 1, 1, 5, 5}));
        QCOMPARE(t->text(2, 8), QStringLiteral("\n\tcd\ne"));
        t->setSelection(0, 8, 6);
        QCOMPARE(selectionOf(v), QStringLiteral("3,1-1,2"));
        t->setCursorPosition(4);
        QCOMPARE(caret(v), QPoint(1, 1));
        const QRect r = t->characterRect(7);
        QCOMPARE(t->offsetAtPoint(r.topLeft() + QPoint(1, 2)), 7);
    }

    // From line 1: FindText (f) with the row's options, F3 (F) and Shift+F3 (S) in turn; each match as
    // col,line, "-" for none, with "t" or "b" where the search wrapped to the top or the bottom.
    void findText_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("options"); // 1: match case, 2: whole word, 4: backwards
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("found");
        // clang-format off
        QTest::newRow("forward wraps") << "high" << 0 << "f f f f f" << "0,1 7,1 4,2 0,0t 0,1";
        QTest::newRow("match case") << "HIGH" << 1 << "f f" << "0,1 0,1t";
        QTest::newRow("whole word") << "high" << 2 << "f f f f" << "7,1 4,2 0,0t 7,1";
        QTest::newRow("backward wraps") << "high" << 4 << "f f f f f" << "0,0 4,2b 7,1 0,1 0,0";
        QTest::newRow("not found") << "xyz" << 0 << "f" << "-";
        QTest::newRow("F3 repeats") << "high" << 0 << "f F F F" << "0,1 7,1 4,2 0,0t";
        QTest::newRow("Shift+F3 goes back") << "high" << 0 << "f F S S S F" << "0,1 7,1 0,1 0,0 4,2b 0,0t";
        QTest::newRow("F3 searching up") << "high" << 4 << "f F S" << "0,0 4,2b 0,0t";
        // clang-format on
    }
    void findText() {
        QFETCH(QString, what);
        QFETCH(int, options);
        QFETCH(QString, steps);
        QFETCH(QString, found);
        SourceView& v = view(QStringLiteral("high x\nHIGHER high\nend high"));
        v.MoveCaret(0, 1);
        QSignalSpy remarks(&v, &SourceView::StatusMessage);
        QStringList got;
        for (const QString& step : steps.split(u' ')) {
            const qsizetype before = remarks.size();
            bool ok = true;
            if (step == u"f")
                ok = v.FindText(what, options & 1, options & 2, !(options & 4));
            else
                QTest::keyClick(v.focusProxy(), Qt::Key_F3,
                                step == u"S" ? Qt::ShiftModifier : Qt::NoModifier);
            int c1, l1, c2, l2;
            v.GetSel(c1, l1, c2, l2);
            QString match = ok ? QStringLiteral("%1,%2").arg(c1).arg(l1) : QStringLiteral("-");
            if (remarks.size() > before)
                match += remarks.last().at(0).toString().endsWith(u"top") ? u't' : u'b';
            got << match;
            QVERIFY(!ok || c2 - c1 == what.size());
        }
        QCOMPARE(got.join(u' '), found);
        const QString cannot = QStringLiteral("Cannot find \"%1\"").arg(what);
        QCOMPARE(prompts_->messages(), found == u"-" ? QStringList{cannot} : QStringList{});
    }

    void replaceHonoursTheTickedOptions_data() {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        // After Replace All; after Find Next and Replace; after Replace with "LED" selected by hand. The
        // last two with the column of the match Replace goes on to.
        QTest::addColumn<QString>("after");
        QTest::newRow("neither") << false << false << "x x xger; x LED ledger@2; led x ledger@6";
        QTest::newRow("match case") << true << false << "x LED xger; x LED ledger@6; led LED ledger@8";
        QTest::newRow("whole word") << false << true << "x x ledger; x LED ledger@2; led x ledger@0";
    }
    void replaceHonoursTheTickedOptions() {
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QString, after);
        QStringList got;
        enum { All, FoundFirst, OtherCaseSelected };
        for (const int how : {All, FoundFirst, OtherCaseSelected}) {
            SourceView& v = view(QStringLiteral("led LED ledger"), QSize(400, 240));
            v.Document().SetModified(false);
            v.MoveCaret(0, 0);
            v.Replace();
            auto* dlg = v.findChild<FindReplaceDialog*>();
            QVERIFY(dlg);
            dlg->findEdit()->setText(QStringLiteral("led"));
            dlg->replaceEdit()->setText(QStringLiteral("x"));
            dlg->matchCaseBox()->setChecked(matchCase);
            dlg->wholeWordBox()->setChecked(wholeWord);
            if (how == FoundFirst)
                QTest::mouseClick(dlg->findNextButton(), Qt::LeftButton);
            if (how == OtherCaseSelected)
                v.SetSel(4, 0, 7, 0);
            QTest::mouseClick(how == All ? dlg->replaceAllButton() : dlg->replaceButton(), Qt::LeftButton);
            got << (how == All ? allText(v) : allText(v) + u'@' + selectionOf(v).section(u',', 0, 0));
            // Replace All says how many it replaced.
            QCOMPARE(prompts_->messages(), how != All         ? QStringList()
                                           : wholeWord || matchCase ? QStringList{"Replaced 2 occurrences."}
                                                                    : QStringList{"Replaced 3 occurrences."});
            if (how == All) {
                // Replace All is one undo step, back to the saved state.
                v.Undo();
                QVERIFY(allText(v) == QStringLiteral("led LED ledger") && !v.Document().Modified());
            }
        }
        QCOMPARE(got.join(QStringLiteral("; ")), after);
    }

    // The dialog stays beside the text; Up searches backwards and wraps, Find hides the replace part.
    void findReplaceDialog() {
        SourceView& v = view(QStringLiteral("one two\ntwo one"), QSize(400, 240));
        v.MoveCaret(0, 1);
        v.Replace();
        auto* dlg = v.findChild<FindReplaceDialog*>();
        QVERIFY(dlg && dlg->isVisible() && !dlg->isModal() && dlg->replaceMode());
        dlg->findEdit()->setText(QStringLiteral("two"));
        dlg->upButton()->setChecked(true);
        QStringList found;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(dlg->findNextButton(), Qt::LeftButton);
            found << selectionOf(v);
        }
        QCOMPARE(found, QStringList({"4,0-7,0", "0,1-3,1", "4,0-7,0"}));
        v.Find();
        QVERIFY(!dlg->replaceMode() && dlg->replaceButton()->isHidden());
        QVERIFY(prompts_->messages().isEmpty());
    }

    void placedClearOf_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("top"); // the window's top afterwards
        // clang-format off
        QTest::newRow("clear") << QRect(100, 100, 300, 150) << QRect(100, 300, 50, 15) << 100;
        QTest::newRow("nearer above") << QRect(100, 100, 300, 150) << QRect(100, 240, 50, 15) << 90;
        QTest::newRow("nearer below") << QRect(100, 100, 300, 150) << QRect(100, 110, 50, 15) << 125;
        QTest::newRow("no room above") << QRect(100, 20, 300, 150) << QRect(100, 100, 50, 15) << 115;
        QTest::newRow("no room below") << QRect(100, 440, 300, 150) << QRect(100, 500, 50, 15) << 350;
        QTest::newRow("no room at all") << QRect(0, 0, 300, 590) << QRect(0, 400, 50, 15) << 0;
        // clang-format on
    }
    void placedClearOf() {
        QFETCH(QRect, window);
        QFETCH(QRect, area);
        QFETCH(int, top);
        const QRect to = FindReplaceDialog::placedClearOf(window, area, QRect(0, 0, 800, 600));
        QCOMPARE(to, window.translated(0, top - window.top()));
    }

    // A match found stands on a whole row with a row of context either side, and the dialog clears it.
    void findShowsTheMatch_data() {
        QTest::addColumn<int>("from"); // the caret's line
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("target"); // the line of the only match
        // clang-format off
        QTest::newRow("below the view") << 0 << true << 150;
        QTest::newRow("above the view") << 299 << false << 40;
        QTest::newRow("in view, under the dialog") << 0 << true << 6;
        QTest::newRow("last line") << 0 << true << 299;
        QTest::newRow("first line") << 299 << false << 0;
        // clang-format on
    }
    void findShowsTheMatch() {
        QFETCH(int, from);
        QFETCH(bool, forward);
        QFETCH(int, target);
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << (i == target ? QStringLiteral("    GOSUB target") : QStringLiteral("line %1").arg(i));
        SourceView& v = view(lines.join(u'\n'), QSize(400, 240));
        v.MoveCaret(0, from);
        v.Find();
        auto* dlg = v.findChild<FindReplaceDialog*>();
        QVERIFY(dlg && dlg->isVisible());
        // The dialog stands over the middle of the view.
        const QPoint middle = v.mapToGlobal(QPoint(0, v.height() / 2));
        dlg->move(middle.x(), middle.y() - dlg->frameGeometry().height() / 2);
        QVERIFY(v.FindText(QStringLiteral("target"), false, false, forward));
        const QRect shown(viewport()->mapTo(&v, QPoint(0, 0)), viewport()->size());
        const QPoint p = point(v, 4, target);
        const int h = v.LineHeight();
        const int above = target > 0 ? h : 0;
        const int below = target < 299 ? h : 0;
        QVERIFY2(shown.contains(QRect(p.x(), p.y() - above, 1, above + h + below)),
                 qPrintable(QStringLiteral("row at %1 of %2").arg(p.y()).arg(shown.height())));
        const QRect match(v.mapToGlobal(p), v.mapToGlobal(point(v, 10, target) + QPoint(0, h - 1)));
        QVERIFY(!dlg->frameGeometry().intersects(match));
    }

    // The real box over the real dialog: the box belongs to the dialog, and once it is dismissed the
    // next term is typed over the last one, never into the text; Escape still closes the dialog.
    void boxesLeaveTheFocusInTheDialog_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Find Next") << "find";
        QTest::newRow("Replace") << "replace";
        QTest::newRow("Replace All") << "all";
    }
    void boxesLeaveTheFocusInTheDialog() {
        QFETCH(QString, button);
        SourceView& v = view(QStringLiteral("one two"), QSize(400, 240));
        v.SetPrompts(nullptr); // the real boxes
        QVERIFY(QTest::qWaitForWindowActive(&v));
        button == u"find" ? v.Find() : v.Replace();
        auto* dlg = v.findChild<FindReplaceDialog*>();
        QVERIFY(dlg && QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; }));
        QTest::keyClicks(dlg->findEdit(), QStringLiteral("zzz"));
        QWidget* boxParent = nullptr;
        testsupport::onNextModal([&boxParent](QWidget& box) {
            boxParent = box.parentWidget();
            QTest::keyClick(&box, Qt::Key_Return);
        });
        if (button == u"find")
            QTest::keyClick(dlg->findEdit(), Qt::Key_Return);
        else
            QTest::mouseClick(button == u"all" ? dlg->replaceAllButton() : dlg->replaceButton(), Qt::LeftButton);
        QCOMPARE(boxParent, dlg);
        QVERIFY(QTest::qWaitFor([dlg] { return QApplication::activeWindow() == dlg; }));
        QCOMPARE(QApplication::focusWidget(), dlg->findEdit());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
        QCOMPARE(dlg->findText(), QStringLiteral("abc"));
        QCOMPARE(allText(v), QStringLiteral("one two"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
    }

    void printKeepsTextAndColours() {
        SourceView& v = view(QStringLiteral("HIGH led ' on\n\tGOTO Main\n"));
        configurePicBasic(v.Document());
        v.PrintTokenInfo().SetForegroundColor(10, colors::rgb(0, 0, 180));
        v.PrintTokenInfo().SetTokenStyle(10, 1);
        v.PrintTokenInfo().SetForegroundColor(6, colors::rgb(0, 150, 0));
        const auto doc = v.printDocument();
        QCOMPARE(doc->toPlainText(), QStringLiteral("HIGH led ' on\n    GOTO Main\n"));
        QHash<QString, QTextCharFormat> formats;
        for (const QTextLayout::FormatRange& f : doc->begin().textFormats())
            formats[doc->begin().text().mid(f.start, f.length)] = f.format;
        const auto fg = [&formats](const char* w) {
            return formats[QLatin1String(w)].foreground().color().rgb();
        };
        QCOMPARE(QList<QRgb>({fg("HIGH"), fg("' on"), fg("led")}),
                 QList<QRgb>({qRgb(0, 0, 180), qRgb(0, 150, 0), qRgb(0, 0, 0)}));
        QCOMPARE(formats[QStringLiteral("HIGH")].fontWeight(), int(QFont::Bold));
    }

    void printTextReportsAFailure_data() {
        QTest::addColumn<QString>("target"); // relative to the temporary folder; "" cancels
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("cancelled") << "" << "";
        QTest::newRow("printed") << QString::fromUtf8("folder/print ü.pdf") << "";
        QTest::newRow("folder missing") << "missing/out.pdf" << "Unable to print to %1.";
        QTest::newRow("target is a folder") << "folder" << "Unable to print to %1.";
        // clang-format on
    }
    void printTextReportsAFailure() {
        QFETCH(QString, target);
        QFETCH(QString, message);
        SourceView& v = view(QStringLiteral("HIGH led ' on\n"));
        QVERIFY(QDir(tmp_.path()).mkpath(QStringLiteral("folder")));
        const QString path = tmp_.filePath(target);
        if (target.isEmpty())
            prompts_->cancel();
        else
            prompts_->printToFile(path);
        v.PrintText();
        QCOMPARE(prompts_->shown().first().kind, QStringLiteral("print"));
        const QStringList messages{message.arg(QDir::toNativeSeparators(path))};
        QCOMPARE(prompts_->messages(), message.isEmpty() ? QStringList{} : messages);
        QCOMPARE(QFileInfo(path).isFile(), message.isEmpty() && !target.isEmpty());
    }

    // The real printout, read back as text: headers, numbers, wrapped lines and the Selection range.
    void printedPages_data() {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("selection"); // lines 10 to 12
        QTest::addColumn<int>("pages");      // 0: more than one
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        // clang-format off
        QTest::newRow("whole, no numbers") << false << false << 0
            << QStringList{"prog 1.pbp", "Page 1 of", "GOSUB step_119"} << QStringList{"1 GOSUB step_0"};
        QTest::newRow("whole, numbered") << true << false << 0
            << QStringList{"1 GOSUB step_0", "120 GOSUB step_119", "7 GOSUB step_6"} << QStringList{};
        QTest::newRow("selection") << true << true << 1
            << QStringList{"Page 1 of 1", "11 GOSUB step_10", "13 GOSUB step_12"}
            << QStringList{"step_9", "step_13"};
        // clang-format on
    }
    void printedPages() {
        QFETCH(bool, numbers);
        QFETCH(bool, selection);
        QFETCH(int, pages);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QStringList lines;
        for (int i = 0; i < 120; ++i)
            lines << QStringLiteral("GOSUB step_%1").arg(i);
        QStringList words; // one long line, to be wrapped between the names
        for (int i = 0; i < 40; ++i)
            words << QStringLiteral("alpha_%1.bit%1").arg(i);
        lines[5] = words.join(u' ');
        SourceView& v = view(lines.join(u'\n'));
        v.Document().SetPathName(tmp_.filePath(QStringLiteral("prog 1.pbp")));
        v.SetPrintLineNumbers(numbers);
        const QString pdf = tmp_.filePath(QStringLiteral("out.pdf"));
        if (selection) {
            v.SetSel(0, 10, 0, 13);
            prompts_->printSelectionToFile(pdf);
        } else {
            prompts_->printToFile(pdf);
        }
        v.PrintText();
        QCOMPARE(prompts_->last().text, selection ? QStringLiteral("selection") : QString());
        QVERIFY(prompts_->messages().isEmpty());
#ifdef Q_OS_WIN
        QVERIFY(QFileInfo(pdf).size() > 0);
        QSKIP("the printed text is read back with pdftotext, a tool of the Linux build");
#endif
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is installed by scripts/deps.sh");
        QProcess p;
        p.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QString printed = QString::fromUtf8(p.readAllStandardOutput()).simplified();
        const int count = int(testsupport::readFile(pdf).count("/Type /Page\n"));
        QVERIFY2(printed.contains(QStringLiteral("Page %1 of %1").arg(count)), qPrintable(printed.left(300)));
        QVERIFY(pages == 0 ? count > 1 : count == pages);
        for (const QString& s : present)
            QVERIFY2(printed.contains(s), qPrintable(s));
        for (const QString& s : absent)
            QVERIFY2(!printed.contains(s), qPrintable(s));
        if (selection)
            return;
        // The long line wraps between names, each part after the first marked.
        for (const QString& w : words)
            QVERIFY2(printed.contains(w), qPrintable(w));
        QVERIFY(printed.count(QChar(0x2192)) >= 2);
    }
};

QTEST_MAIN(tst_SourceView)
#include "tst_SourceView.moc"
