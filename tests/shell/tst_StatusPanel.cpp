// A status bar panel: its frame, its text, and a new text painted over the old one.
#include "shell/StatusPanel.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPalette>
#include <QTest>

namespace {

QImage blank(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    return image;
}

// Paints the panel's `region` (all of it when empty) into `into`, in place.
void paint(StatusPanel& panel, QImage& into, const QRegion& region = QRegion()) {
    panel.render(&into, region.boundingRect().topLeft(), region, QWidget::RenderFlags());
}

// Pixels of the column x, top to bottom, that differ from `color`.
int columnOff(const QImage& image, int x, QColor color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += image.pixelColor(x, y) != color;
    return n;
}

// The region of each paint event a widget gets.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

} // namespace

class tst_StatusPanel : public QObject {
    Q_OBJECT
private slots:
    void newTextIsPaintedOverTheOld_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("end") << "Line:  1 Col: 9" << "Line:  1 Col: 10";
        QTest::newRow("middle") << "Line:  9 Col: 1" << "Line:  10 Col: 1";
        QTest::newRow("ligature") << "Line: of" << "Line: ofi";
        QTest::newRow("from nothing") << "" << "Line:  1 Col: 1";
        QTest::newRow("to nothing") << "Line:  1 Col: 1" << "";
        QTest::newRow("too long") << "Line:  1 Col: 1" << "Line:  1 Col: 1 and more than the panel holds";
        QTest::newRow("fits again") << "Line:  1 Col: 1 and more than the panel holds" << "Line:  1 Col: 1";
    }
    void newTextIsPaintedOverTheOld() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QWidget bar;
        StatusPanel panel(&bar);
        panel.setText(QStringLiteral("Line:  1 Col: 1"));
        panel.setFixedSize(panel.sizeHint() + QSize(40, 0));
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        panel.setText(before);
        panel.update();
        const QColor window = panel.palette().color(QPalette::Window);

        QImage first = blank(panel.size());
        paint(panel, first);
        QVERIFY2(columnOff(first, 0, window) > panel.height() / 2, "no frame on the left");
        QCOMPARE(columnOff(first, 0, Qt::magenta), panel.height());

        // What the panel asks to paint again for the new text, painted over the old picture, is
        // the new text as a fresh paint shows it.
        PaintSpy spy(&panel);
        QTRY_VERIFY(!spy.painted.isEmpty()); // the paint of the text before
        spy.painted = QRegion();
        panel.setText(after);
        QTRY_VERIFY(!spy.painted.isEmpty());
        const QRegion painted = spy.painted;
        QImage over = first;
        paint(panel, over, painted);
        QImage fresh = blank(panel.size());
        paint(panel, fresh);
        QCOMPARE(over, fresh);
        QVERIFY(over != first);
        QCOMPARE(painted, QRegion(panel.contentsRect()));
    }
};

QTEST_MAIN(tst_StatusPanel)
#include "tst_StatusPanel.moc"
