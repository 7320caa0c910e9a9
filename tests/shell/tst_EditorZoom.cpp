#include <QTextDocument>
#include <QWheelEvent>

#include "support/FrameTest.h"

#include <cmath>

// Zoom of the editors' font by keys, wheel and menu: every window follows, and the size is stored.
class tst_EditorZoom : public QObject {
    Q_OBJECT

    // "=", "+", "-", "0" with Ctrl; "wheel N" (with Ctrl) or "wheel N plain"; a View menu tool id.
    static void act(SourceView& v, MDIMain& m, const QString& step) {
        QWidget* keys = v.focusProxy();
        if (step.startsWith(QLatin1String("ID_"))) {
            m.toolBars().Click(step);
        } else if (step.startsWith(QLatin1String("wheel"))) {
            QWidget* viewport = keys->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            QWheelEvent e(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, step.section(u' ', 1, 1).toInt()), Qt::NoButton,
                          step.endsWith(QLatin1String("plain")) ? Qt::NoModifier : Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &e);
        } else {
            const QHash<QString, Qt::Key> key{
                {"=", Qt::Key_Equal}, {"+", Qt::Key_Plus}, {"-", Qt::Key_Minus}, {"0", Qt::Key_0}};
            QTest::keyClick(keys, key.value(step),
                            Qt::ControlModifier | (step == u"+" ? Qt::ShiftModifier : Qt::NoModifier));
        }
    }

private slots:
    void zooms_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("zoom"); // 99: as large as it goes
        QTest::newRow("Ctrl+= and Ctrl+Plus") << QStringList{"=", "+"} << 2;
        QTest::newRow("Ctrl+Minus") << QStringList{"-"} << -1;
        QTest::newRow("Ctrl+0 back to normal") << QStringList{"=", "=", "0"} << 0;
        QTest::newRow("Ctrl+wheel up a notch") << QStringList{"wheel 120"} << 1;
        QTest::newRow("half notches add up") << QStringList{"wheel -60", "wheel -60", "wheel -60"} << -1;
        QTest::newRow("a plain wheel scrolls") << QStringList{"wheel 120 plain"} << 0;
        QTest::newRow("View menu") << QStringList{"ID_ZoomIn", "ID_ZoomIn", "ID_ZoomOut"} << 1;
        QTest::newRow("the size stops at the largest") << QStringList(60, QStringLiteral("=")) << 99;
    }
    void zooms() {
        QFETCH(QStringList, steps);
        QFETCH(int, zoom);
        FrameFixture f;
        const QString doc = f.file(QStringLiteral("prog.pbp"), "Main:\r\n  GOTO Main\r\n");
        MDIMain& m = f.start(doc);
        m.show();
        SourceView& other = f.view();
        m.toolBars().Click(ids::ID_New);
        SourceView& v = f.view();
        const qreal normal = v.font().pointSizeF();
        const int normalMargin = v.MarginWidth();
        v.SetFocus();
        for (const QString& step : steps)
            act(v, m, step);

        const qreal expected =
            zoom == 99 ? normal + std::floor(SourceView::MaxPointSize - normal) : normal + zoom;
        QCOMPARE(v.font().pointSizeF(), expected);
        QCOMPARE(v.focusProxy()->font().pointSizeF(), expected);
        // Every open window follows; paper keeps its size.
        QCOMPARE(other.font().pointSizeF(), expected);
        QCOMPARE(other.printDocument()->defaultFont().pointSizeF(), normal);
        // The margin (line numbers, marks) follows the font.
        QCOMPARE(v.MarginWidth() > normalMargin, expected > normal);
        QCOMPARE(f.store().read(settings::view::EditorZoom), QString::number(qRound(expected - normal)));

        // A new window and the next start take the stored size.
        m.toolBars().Click(ids::ID_New);
        QCOMPARE(m.editors().size(), 3);
        QCOMPARE(f.view().font().pointSizeF(), expected);
        QCOMPARE(f.restart(doc).activeEditor()->View().font().pointSizeF(), expected);
    }
};

QTEST_MAIN(tst_EditorZoom)
#include "tst_EditorZoom.moc"
