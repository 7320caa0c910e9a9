#include <QTest>

#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

#include <QWheelEvent>

#include <cmath>

// Zoom of the editors' font by keys, wheel and menu: every window follows, and the size is stored.
class tst_EditorZoom : public QObject {
    Q_OBJECT

    // A key ("=", "+", "-", "0" with Ctrl), a wheel turn ("wheel 120") or a View menu entry ("ID_...").
    static void act(SourceView& v, MDIMain& m, const QString& what) {
        QWidget* keys = v.focusProxy();
        if (what.startsWith(QLatin1String("wheel"))) {
            const int angle = what.split(u' ').at(1).toInt();
            const bool ctrl = !what.endsWith(QLatin1String("plain"));
            QWidget* viewport = keys->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
            QWheelEvent e(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &e);
        } else if (what.startsWith(QLatin1String("ID_"))) {
            m.toolBars().Click(what);
        } else {
            const QChar c = what.at(0);
            const Qt::Key key = c == u'+' ? Qt::Key_Plus : c == u'-' ? Qt::Key_Minus : c == u'0' ? Qt::Key_0 : Qt::Key_Equal;
            const Qt::KeyboardModifiers mods = c == u'+' ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
            QTest::keyClick(keys, key, mods);
        }
    }

private slots:
    void zooms_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("zoom");
        QTest::newRow("Ctrl+=") << QStringList{"="} << 1;
        QTest::newRow("Ctrl+Plus twice") << QStringList{"+", "+"} << 2;
        QTest::newRow("Ctrl+Minus") << QStringList{"-"} << -1;
        QTest::newRow("Ctrl+0 back to normal") << QStringList{"=", "=", "0"} << 0;
        QTest::newRow("Ctrl+wheel up a notch") << QStringList{"wheel 120"} << 1;
        QTest::newRow("half notches add up") << QStringList{"wheel -60", "wheel -60", "wheel -60"} << -1;
        QTest::newRow("a plain wheel scrolls") << QStringList{"wheel 120 plain"} << 0;
        QTest::newRow("View menu") << QStringList{"ID_ZoomIn", "ID_ZoomIn", "ID_ZoomOut"} << 1;
        QTest::newRow("the size stops at the largest") << QStringList(60, QStringLiteral("=")) << 99;
        QTest::newRow("and at the smallest") << QStringList(60, QStringLiteral("-")) << -99;
    }
    void zooms() {
        QFETCH(QStringList, steps);
        QFETCH(int, zoom);
        FrameFixture f;
        const QString doc = f.path(QStringLiteral("prog.pbp"));
        testsupport::writeFile(doc, "Main:\r\n  GOTO Main\r\n");
        MDIMain& m = f.start(doc);
        m.show();
        SourceView& v = f.active()->View();
        const qreal normal = v.font().pointSizeF();
        const int normalMargin = v.MarginWidth();
        v.SetFocus();
        for (const QString& step : steps)
            act(v, m, step);

        // Whole points from the normal size, as far as the limits allow.
        const qreal expected = zoom == 99    ? normal + std::floor(SourceView::MaxPointSize - normal)
                               : zoom == -99 ? normal + std::ceil(SourceView::MinPointSize - normal)
                                             : normal + zoom;
        QCOMPARE(v.font().pointSizeF(), expected);
        QCOMPARE(v.focusProxy()->font().pointSizeF(), expected);
        // The margin (line numbers, marks) follows the font.
        if (expected != normal)
            QCOMPARE(v.MarginWidth() > normalMargin, expected > normal);
        QCOMPARE(f.store().read(settings::view::EditorZoom), QString::number(qRound(expected - normal)));

        // A new window and the next start take the stored size.
        m.toolBars().Click(ids::ID_New);
        QCOMPARE(m.editors().size(), 2);
        QCOMPARE(f.active()->View().font().pointSizeF(), expected);
        QCOMPARE(f.restart(doc).activeEditor()->View().font().pointSizeF(), expected);
    }

    void everyOpenWindowFollows() {
        FrameFixture f;
        MDIMain& m = f.start();
        m.toolBars().Click(ids::ID_New);
        QCOMPARE(m.editors().size(), 2);
        f.active()->View().ExecuteCommand(SourceView::CmdZoomIn);
        const qreal size = f.active()->View().font().pointSizeF();
        for (frmEditor* w : m.editors())
            QCOMPARE(w->View().font().pointSizeF(), size);
    }
};

QTEST_MAIN(tst_EditorZoom)
#include "tst_EditorZoom.moc"
