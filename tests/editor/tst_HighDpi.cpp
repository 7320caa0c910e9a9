#include "support/FrameTest.h"

#include "platform/toolbars/ToolIcons.h"

// The margin, its marks and the line numbers, read back from the painted pixels. CTest runs this
// program at 100%, 150% and 200% scaling (QT_SCALE_FACTOR), where a mark placed with whole logical
// pixels and drawn at fractional device pixels could slip onto its neighbour.
class tst_HighDpi : public QObject {
    Q_OBJECT

    // The device rows of a line.
    static std::pair<qreal, qreal> lineRows(const SourceView& v, qreal dpr, int line) {
        int x = 0, y = 0;
        v.PositionToPoint(0, line, x, y);
        return {y * dpr, (y + v.LineHeight()) * dpr};
    }
    // The first and last device columns of a line's number: the margin's pixels, clear of its edge line,
    // that differ from its background.
    static std::pair<int, int> numberInk(const SourceView& v, const QImage& img, int line) {
        const qreal dpr = img.devicePixelRatio();
        const auto [top, bottom] = lineRows(v, dpr, line);
        const QColor back = img.pixelColor(0, int(top + dpr));
        int left = -1, right = -1;
        for (int py = int(top); py < int(bottom); ++py)
            for (int px = 0; px < int((v.MarginWidth() - 2) * dpr); ++px)
                if (img.pixelColor(px, py) != back) {
                    left = left < 0 ? px : qMin(left, px);
                    right = qMax(right, px);
                }
        return {left, right};
    }

private slots:
    void marksStayOnTheirLine() {
        FrameFixture f;
        QByteArray text;
        for (int i = 0; i < 30; ++i)
            text += "    HIGH PORTB.0 ' line\n";
        f.startWith(QStringLiteral("marks.pbp"), text);
        SourceView& v = f.view();
        v.SetMarginStyle(1);
        v.resize(400, 400);
        v.Document().SetLineData(12, 1, 1);
        v.MoveCaret(0, 5);
        v.ExecuteCommand(SourceView::CmdToggleBookmark);
        v.MoveCaret(0, 0);
        const QImage img = v.grab().toImage();
        const qreal dpr = img.devicePixelRatio();
        QCOMPARE(dpr, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());

        const qreal margin = v.MarginWidth();
        // The error mark on line 12 is red, the bookmark on line 5 blue.
        for (const auto& [line, column, match] :
             {std::tuple{12, margin / 2,
                         +[](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }},
              std::tuple{5, 4.0, +[](const QColor& c) { return c.blue() > 150 && c.red() < 60; }}}) {
            // The device rows of the pixel column where the mark's colour runs.
            int first = -1, last = -1;
            for (int y = 0; y < img.height(); ++y)
                if (match(img.pixelColor(int(column * dpr), y))) {
                    first = first < 0 ? y : first;
                    last = y;
                }
            const auto [top, bottom] = lineRows(v, dpr, line);
            QVERIFY2(first >= 0, "the mark is painted");
            const QString rows =
                QStringLiteral("line %1: rows %2-%3 outside %4-%5").arg(line).arg(first).arg(last);
            QVERIFY2(first >= top && last < bottom, qPrintable(rows.arg(top).arg(bottom)));
            // A box inset from its line's edges and outlined: a third of the rows at the smallest fonts.
            QVERIFY2(last - first + 1 >= (bottom - top) / 3, qPrintable(rows.arg(top).arg(bottom)));
        }
        // The line numbers are right-aligned inside the margin, clear of its edge and of the text.
        const int rightmostInk = numberInk(v, img, 20).second;
        QVERIFY(rightmostInk > int((margin - 2 * v.CellWidth()) * dpr));
        QVERIFY(rightmostInk < int((margin - v.CellWidth() / 2) * dpr));
    }

    // The last line's number is drawn whole, clear of the bookmark cell and of the margin's border, at
    // any zoom: the margin widens with the number's digits and keeps its six cells up to 9999 lines.
    void longLineNumbersFit() {
        const QList<std::tuple<int, int, int>> rows{// lines, zoom, cells at a monospace font
                                                    {9999, 0, 6},
                                                    {10000, 0, 7},
                                                    {100000, -3, 8},
                                                    {100000, 8, 8},
                                                    {880000, 0, 8}};
        for (const auto& [lines, zoom, cells] : rows) {
            SourceView v;
            v.Document().InsertImpl(0, 0, QStringLiteral("x\n").repeated(lines - 1));
            v.SetMarginStyle(1);
            v.SetZoom(zoom);
            v.resize(500, 300);
            const int last = lines - 1;
            v.MoveCaret(0, last); // the caret line's number is bold
            const QImage img = v.grab().toImage();
            const qreal dpr = img.devicePixelRatio();
            const QString row = QStringLiteral("%1 lines, zoom %2").arg(lines).arg(zoom);
            QVERIFY2(v.MarginCells() == cells,
                     qPrintable(row + QStringLiteral(": %1 cells").arg(v.MarginCells())));
            const auto [leftInk, rightInk] = numberInk(v, img, last);
            QVERIFY2(leftInk >= int((v.CellWidth() - 1) * dpr), qPrintable(row));
            QVERIFY2(rightInk < int((v.MarginWidth() - v.CellWidth() / 2) * dpr), qPrintable(row));
        }
    }

    // The window system is sent the program's icon in every size offered, so the list stays short:
    // up to 64 px, and 128 where the screen doubles them for its window list.
    void windowIconSizes() {
        const QList<QSize> sizes = toolicons::application().availableSizes();
        QVERIFY(!sizes.isEmpty());
        QCOMPARE(sizes.last(), qApp->devicePixelRatio() > 1 ? QSize(128, 128) : QSize(64, 64));
    }
};

QTEST_MAIN(tst_HighDpi)
#include "tst_HighDpi.moc"
