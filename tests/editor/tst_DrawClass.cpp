#include "platform/Colors.h"
#include "support/FrameTest.h"

// The error mark as the editor window paints it, read back from the painted pixels.
class tst_DrawClass : public QObject {
    Q_OBJECT
private:
    static bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
    static bool isWhite(QRgb c) { return c == qRgb(255, 255, 255); }
    // Whether a pixel of columns x0 to x1 within a third of a line of row y matches.
    static bool anyNear(const QImage& img, const SourceView& v, int x0, int x1, int y, bool (*match)(QRgb)) {
        for (int x = x0; x < x1; ++x)
            for (int dy = -v.LineHeight() / 3; dy <= v.LineHeight() / 3; ++dy)
                if (match(img.pixel(x, y + dy)))
                    return true;
        return false;
    }

    static SourceView& openMarked(FrameFixture& f, int markStyle) {
        QByteArray text;
        for (int i = 0; i < 20; ++i)
            text += "        HIGH PORTB.0 ' a line long enough to scroll sideways when the view is narrow "
                    "enough\n";
        f.startWith(QStringLiteral("marks.pbp"), text);
        SourceView& v = f.view();
        v.SetMarginStyle(markStyle);
        v.Document().SetLineData(2, 1, 1);
        v.Document().SetLineData(4, 2, 1); // a line kind never paints
        v.resize(400, 300);
        v.Refresh();
        return v;
    }

    static int lineMiddle(SourceView& v, int line) {
        int x = 0, y = 0;
        v.PositionToPoint(0, line, x, y);
        return y + v.LineHeight() / 2;
    }

private slots:
    // Without a margin (0) the line is painted white on red across the view; in a fixed margin (1) and
    // in a scrolling one (2) a box goes inside the margin cell.
    void errorMark() {
        for (const int style : {0, 1, 2}) {
            FrameFixture f;
            SourceView& v = openMarked(f, style);
            const QImage img = v.grab().toImage();
            const int width = v.MarginCells() * v.CellWidth();
            const int y = lineMiddle(v, 2);
            if (style == 0) {
                // Red at the line's start and near the view's end, with white text; the text drawn over
                // the bar may cover any single pixel there, depending on the font's width.
                QVERIFY(isRed(img.pixel(2, y)) && anyNear(img, v, v.width() - 40, v.width() - 20, y, isRed));
                QVERIFY(anyNear(img, v, 0, v.width() - 20, y, isWhite));
                QVERIFY(!isRed(img.pixel(2, lineMiddle(v, 3))) && !isRed(img.pixel(2, lineMiddle(v, 4))));
                continue;
            }
            QVERIFY(isRed(img.pixel(width / 2, y)) && isRed(img.pixel(5, y)));
            // Outlined 3 pixels inside, the edges clear; the text keeps its colours; line 4 has no box.
            QVERIFY(!isRed(img.pixel(3, y)) && !isRed(img.pixel(width - 3, y)) &&
                    !isRed(img.pixel(width + 20, y)));
            QVERIFY(!isRed(img.pixel(width / 2, lineMiddle(v, 4))));
            if (style == 2) {
                // The box moves left by exactly the scrolled columns.
                v.SetScrollPos(2, 0);
                v.Refresh();
                const QImage scrolled = v.grab().toImage();
                const int shift = 2 * v.CellWidth();
                QVERIFY(isRed(scrolled.pixel(width - 5 - shift, y)));
                QVERIFY(!isRed(scrolled.pixel(width - 2 - shift, y)));
                QVERIFY(!isRed(scrolled.pixel(width - 5, y)));
            }
            v.Document().SetLineData(2, 1, 0);
            v.Refresh();
            QVERIFY(!isRed(v.grab().toImage().pixel(width / 2 - (style == 2 ? 2 * v.CellWidth() : 0), y)));
        }
    }

    // A jump to a missing label gets a red underline that reads on a light and on a dark background;
    // the same word naming a label that exists gets none.
    void missingLabelUnderlined() {
        for (const qint32 back : {colors::rgb(255, 255, 255), colors::rgb(30, 30, 30)}) {
            FrameFixture f;
            f.startWith(QStringLiteral("u.pbp"), "Main:\nGOTO Mian\nGOTO Main\n");
            SourceView& v = f.view();
            // As the background colour command sets it.
            v.SetTextBackColor(back);
            for (int cls = 0; cls <= 15; ++cls)
                v.TokenInfo().SetBackgroundColor(cls, back, true);
            f.active()->followBackground();
            v.resize(400, 300);
            v.Refresh();
            const QImage img = v.grab().toImage();
            // Red pixels in the lowest quarter of the line, under the name after "GOTO ".
            const auto redUnder = [&](int line) {
                int x1 = 0, x2 = 0, y = 0;
                v.PositionToPoint(5, line, x1, y);
                v.PositionToPoint(9, line, x2, y);
                int red = 0;
                for (int x = x1; x < x2; ++x)
                    for (int dy = v.LineHeight() * 3 / 4; dy < v.LineHeight(); ++dy) {
                        const QRgb c = img.pixel(x, y + dy);
                        red += qRed(c) > qGreen(c) + 60 && qRed(c) > qBlue(c) + 60 ? 1 : 0;
                    }
                return red;
            };
            QVERIFY(redUnder(1) > v.CellWidth() * 2);
            QCOMPARE(redUnder(2), 0);
        }
    }
};

QTEST_MAIN(tst_DrawClass)
#include "tst_DrawClass.moc"
