#include "platform/comm/PlotData.h"
#include "platform/comm/PlotView.h"

#include <QImage>
#include <QtTest>

class tst_PlotView : public QObject {
    Q_OBJECT
private slots:
    void ticks_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<double>>("expected");
        QTest::newRow("ones") << 0.0 << 5.0 << 5 << QList<double>{0, 1, 2, 3, 4, 5};
        QTest::newRow("twos from inside") << 0.5 << 9.0 << 4 << QList<double>{2, 4, 6, 8};
        QTest::newRow("twenties") << 0.0 << 100.0 << 4 << QList<double>{0, 20, 40, 60, 80, 100};
        QTest::newRow("fives") << 0.0 << 12.0 << 3 << QList<double>{0, 5, 10};
        QTest::newRow("tenths, through zero") << -0.25 << 0.25 << 5 << QList<double>{-0.2, -0.1, 0, 0.1, 0.2};
        QTest::newRow("empty range") << 3.0 << 3.0 << 5 << QList<double>{};
        QTest::newRow("upside down") << 5.0 << 1.0 << 5 << QList<double>{};
    }
    void ticks() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(int, count);
        QFETCH(QList<double>, expected);
        const QList<double> got = PlotView::ticks(low, high, count);
        QCOMPARE(got.size(), expected.size());
        for (qsizetype i = 0; i < got.size(); ++i)
            QVERIFY2(qAbs(got[i] - expected[i]) < 1e-9, qPrintable(QString::number(got[i])));
    }

    // The scales follow the data with a margin, and each series is drawn in its own colour.
    void drawsTheSeries() {
        PlotData data(50);
        for (int i = 0; i < 20; ++i)
            data.addLine(QByteArray::number(100 + i) + ",0");
        PlotView view;
        view.resize(400, 300);
        view.showData(data);
        QCOMPARE(view.range().left(), 0.0);
        QCOMPARE(view.range().right(), 19.0);
        QVERIFY(view.range().top() < 0 && view.range().bottom() > 119);
        const QImage image = view.grab().toImage();
        int blue = 0;
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y) & 0xffffff;
                blue += c == 0x1f77b4;
                red += c == 0xd62728;
            }
        QVERIFY2(blue > 100 && red > 100, qPrintable(QStringLiteral("%1 %2").arg(blue).arg(red)));
        view.clearPlot();
        QCOMPARE(view.shownSeries(), 0);
        QCOMPARE(view.range(), QRectF(QPointF(0, 0), QPointF(100, 1)));
    }
};

QTEST_MAIN(tst_PlotView)
#include "tst_PlotView.moc"
