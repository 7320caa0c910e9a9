// A status bar panel: its frame, its text, and a new text painted over the old one.
#include "shell/StatusPanel.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTest>
#include <QTextLayout>

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
        QTest::addColumn<bool>("partly"); // the start of the text is left as it was
        // clang-format off
        QTest::newRow("end") << "Line:  1 Col: 9" << "Line:  1 Col: 10" << true;
        QTest::newRow("middle") << "Line:  9 Col: 1" << "Line:  10 Col: 1" << true;
        QTest::newRow("ligature") << "Line: of" << "Line: ofi" << false;
        QTest::newRow("from nothing") << "" << "Line:  1 Col: 1" << false;
        QTest::newRow("to nothing") << "Line:  1 Col: 1" << "" << false;
        QTest::newRow("too long") << "Line:  1 Col: 1" << "Line:  1 Col: 1 and more than the panel holds" << false;
        QTest::newRow("fits again") << "Line:  1 Col: 1 and more than the panel holds" << "Line:  1 Col: 1" << false;
        // clang-format on
    }
    void newTextIsPaintedOverTheOld() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, partly);
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
        QVERIFY(panel.contentsRect().contains(painted.boundingRect()));
        QCOMPARE(painted.boundingRect().left() > panel.contentsRect().left() + 8, partly);
    }

    // A status text placed glyph by glyph looks as the font's shaping lays it out.
    void placedTextLooksLaidOut() {
        for (const char* text : {"Line:  12 Col: 345", "PBP", "UTF-8", "AVTWYaeo (x) [y] 'z'", "fifty"}) {
            QWidget bar;
            StatusPanel panel(&bar);
            panel.setText(QString::fromLatin1(text));
            panel.setFixedSize(panel.sizeHint() + QSize(20, 6));
            bar.show();
            QVERIFY(QTest::qWaitForWindowExposed(&bar));
            const QColor window = panel.palette().color(QPalette::Window);
            QImage shown = blank(panel.size());
            paint(panel, shown);
            QImage laidOut(panel.size(), QImage::Format_ARGB32_Premultiplied);
            laidOut.fill(window);
            QPainter p(&laidOut);
            p.setPen(panel.palette().color(QPalette::WindowText));
            QTextLayout layout(QString::fromLatin1(text), QFont(panel.font(), &panel));
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();
            // Three pixels in from the left, the line centred.
            const QRect inside = panel.contentsRect();
            layout.draw(&p, QPointF(inside.left() + 3, inside.top() + (inside.height() - line.height()) / 2));
            p.end();
            QCOMPARE(shown.copy(inside), laidOut.copy(inside));
        }
    }
};

QTEST_MAIN(tst_StatusPanel)
#include "tst_StatusPanel.moc"
