#include "support/FrameTest.h"

#include "platform/toolbars/ToolIcons.h"

// The margin, its marks and the line numbers, read back from the painted pixels. CTest runs this
// program at 100%, 150% and 200% scaling (QT_SCALE_FACTOR), where a mark placed with whole logical
// pixels and drawn at fractional device pixels could slip onto its neighbour.
class tst_HighDpi : public QObject {
    Q_OBJECT
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

        const auto lineRows = [&](int line) {
            int x = 0, y = 0;
            v.PositionToPoint(0, line, x, y);
            return std::pair{y * dpr, (y + v.LineHeight()) * dpr};
        };
        const qreal margin = v.MarginCells() * v.CellWidth();
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
            const auto [top, bottom] = lineRows(line);
            QVERIFY2(first >= 0, "the mark is painted");
            const QString rows =
                QStringLiteral("line %1: rows %2-%3 outside %4-%5").arg(line).arg(first).arg(last);
            QVERIFY2(first >= top && last < bottom, qPrintable(rows.arg(top).arg(bottom)));
            // A box inset from its line's edges and outlined: a third of the rows at the smallest fonts.
            QVERIFY2(last - first + 1 >= (bottom - top) / 3, qPrintable(rows.arg(top).arg(bottom)));
        }
        // The line numbers are right-aligned inside the margin, clear of its edge and of the text.
        const QColor back = img.pixelColor(int(2 * dpr), int(lineRows(20).first + 1));
        int rightmostInk = -1;
        const auto [top20, bottom20] = lineRows(20);
        for (int y = int(top20); y < int(bottom20); ++y)
            for (int x = 0; x < int((margin - 2) * dpr); ++x) // clear of the margin's edge line
                if (img.pixelColor(x, y) != back && x > rightmostInk)
                    rightmostInk = x;
        QVERIFY(rightmostInk > int((margin - 2 * v.CellWidth()) * dpr));
        QVERIFY(rightmostInk < int((margin - v.CellWidth() / 2) * dpr));
    }

    // The last line's number is drawn whole, clear of the bookmark cell and of the margin's border, at
    // any zoom: the margin widens with the number's digits and keeps its six cells up to 9999 lines.
    void longLineNumbersFit() {
        const QList<std::tuple<int, int, int>> rows{// lines, zoom, cells at a monospace font
                                                    {9999, 0, 6},    {10000, 0, 7},  {100000, -3, 8},
                                                    {100000, 8, 8},  {880000, 0, 8}};
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
            int x = 0, y = 0;
            v.PositionToPoint(0, last, x, y);
            const qreal margin = v.MarginWidth();
            const QColor back = img.pixelColor(0, int((y + 1) * dpr));
            int leftInk = -1, rightInk = -1;
            for (int py = int(y * dpr); py < int((y + v.LineHeight()) * dpr); ++py)
                for (int px = 0; px < int((margin - 2) * dpr); ++px)
                    if (img.pixelColor(px, py) != back) {
                        leftInk = leftInk < 0 ? px : qMin(leftInk, px);
                        rightInk = qMax(rightInk, px);
                    }
            QVERIFY2(leftInk >= int((v.CellWidth() - 1) * dpr), qPrintable(row));
            QVERIFY2(rightInk < int((margin - v.CellWidth() / 2) * dpr), qPrintable(row));
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
