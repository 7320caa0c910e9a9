#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <QWheelEvent>

#include "shell/LabelCombo.h"
#include "support/FrameTest.h"

#include <cmath>

class tst_MDIMain : public QObject {
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
    // The window at start-up: {command line, stored last file, caption|first line}, relative to the
    // application folder, where last.pbp holds "LAST" and "my program.pbp" holds "HIGH".
    void startUpFile() {
        const char* rows[][3] = {{"my program.pbp", "last.pbp", "my program.pbp|HIGH"},
                                 {"", "last.pbp", "last.pbp|LAST"},
                                 {"", "gone/a.pbp", "gone/a.pbp|"}}; // missing: empty, named by it
        for (const auto& [commandLine, lastFile, opened] : rows) {
            FrameFixture f;
            f.file(QStringLiteral("last.pbp"), "LAST\n");
            f.file(QStringLiteral("my program.pbp"), "HIGH\r\nLOW\r\n");
            f.store().save(settings::startup::LastFile, f.path(lastFile));
            f.start(*commandLine ? f.path(commandLine) : QString());
            QCOMPARE(f.doc().PathName(), f.active()->caption());
            QCOMPARE(f.active()->caption() + u'|' + f.doc().GetLine(0), f.path(opened));
        }
    }

    // A status panel text that fits is repainted in place: the caret position written with every
    // keystroke costs the frame no new layout. A longer text widens its panel.
    void statusPanelsKeepTheLayout() {
        FrameFixture f;
        MDIMain& m = f.start();
        QStatusBar* bar = m.statusBar();
        QWidget* panel = bar->findChild<QWidget*>(QStringLiteral("Panel1"));
        struct Layouts : QObject {
            int n = 0;
            bool eventFilter(QObject*, QEvent* e) override {
                n += e->type() == QEvent::LayoutRequest;
                return false;
            }
        } layouts;
        m.SetPanelText(1, QStringLiteral("Line: 1 Col:1"));
        QApplication::processEvents();
        bar->installEventFilter(&layouts);
        const int width = panel->width();
        for (const char* text : {"Line: 12 Col:40", "Line: 9 Col:1", "", "Line: 1 Col:1"}) {
            m.SetPanelText(1, QString::fromLatin1(text));
            QApplication::processEvents();
            QCOMPARE(m.PanelText(1), QString::fromLatin1(text));
        }
        QCOMPARE(layouts.n, 0);
        QCOMPARE(panel->width(), width);
        const QString longer = QStringLiteral("Line: 1 Col:1 ").repeated(4);
        m.SetPanelText(1, longer);
        QTRY_VERIFY(panel->width() >= panel->fontMetrics().horizontalAdvance(longer));
        QVERIFY(layouts.n > 0);
    }

    // The stored compiler type counts by its leading digits.
    void compilerType() {
        for (const auto& [stored, pbp] : {std::pair{"PicBasic", true}, {" 1 compiler", false}}) {
            FrameFixture f;
            f.store().save(settings::startup::CompilerType, QString::fromLatin1(stored));
            MDIMain& m = f.start();
            QVERIFY2(m.state().PBPMode == pbp, stored);
            QCOMPARE(m.PanelText(5), pbp ? QStringLiteral("PBP") : QStringLiteral("PBC"));
            QCOMPARE(m.PanelToolTip(5).contains(QLatin1String("Pro")), pbp);
        }
    }

    void shutdownWritesRecentAndDevice() {
        FrameFixture f;
        f.store().save(settings::startup::File2, QStringLiteral("&2 /b"));
        f.store().save(settings::startup::File1, QStringLiteral("stale"));
        f.store().save(settings::startup::DefaultDevice, QStringLiteral("3"));
        MDIMain& m = f.start();
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 3);
        m.toolBars().SetListIndex(ids::ID_Device, 5);
        m.toolBars().SetVisible(ids::ID_File1, false);
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::startup::File2), QStringLiteral("&2 /b"));
        QCOMPARE(f.store().read(settings::startup::File1), QStringLiteral("stale")); // hidden: left as it was
        QCOMPARE(f.store().read(settings::startup::DefaultDevice), QStringLiteral("5"));
    }

    // A stored placement is fitted into the screen's available area; the stored values change only
    // when the user moves or sizes the frame. Rows in pixels, from the available area's right/bottom
    // edge when negative: {left, top, width, height (0: the area's plus 300), moved by the user}.
    void placementFittedToTheScreen() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const int rows[][5] = {{40, 30, 500, 350, 0},  {-100, -50, 500, 350, 0}, {0, 0, 0, 0, 0},
                               {9000, 9000, 500, 350, 0}, {-100, -50, 500, 350, 1}};
        for (const auto& [left, top, width, height, moved] : rows) {
            FrameFixture f;
            const double k = 1440.0 / QWidget().logicalDpiY();
            const QList<int> px{left < 0 ? area.right() + left : left, top < 0 ? area.bottom() + top : top,
                                width ? width : area.width() + 300, height ? height : area.height() + 300};
            const settings::Key* keys[] = {&settings::startup::Left, &settings::startup::Top,
                                           &settings::startup::Width, &settings::startup::Height};
            for (int i = 0; i < 4; ++i)
                f.store().save(*keys[i], QString::number(px[i] * k));
            MDIMain& m = f.start();
            const QString row = QStringLiteral("row %1,%2").arg(left).arg(top);
            QVERIFY2(area.contains(QRect(m.pos(), m.size())), qPrintable(row));
            if (px[0] + px[2] < area.right() && px[1] + px[3] < area.bottom()) // fits: as stored
                QCOMPARE(QRect(m.pos(), m.size()), QRect(px[0], px[1], px[2], px[3]));
            if (moved)
                m.move(area.topLeft() + QPoint(10, 20));
            QVERIFY(f.close());
            QList<int> saved;
            for (const settings::Key* key : keys)
                saved << qRound(f.store().read(*key).toDouble() / k);
            const QList<int> expected{area.left() + 10, area.top() + 20, m.width(), m.height()};
            QCOMPARE(saved, moved ? expected : px);
        }
    }

    // The label combo kept in step with the scanner's names: refills, renames in place, selection by name.
    void labelComboAfterUpdates() {
        FrameFixture f;
        MDIMain& m = f.start();
        LabelCombo& combo = m.labelCombo();
        const QStringList abc{"Main", "Loop", "Loop", "Done"};
        // Each row refills from abc: {row, second list ("" for abc itself), name selected, index it selects}.
        const char* rows[][4] = {
            {"first of duplicates, any case", "", "LOOP", "1"},
            {"unknown clears", "", "Other", "-1"},
            {"null clears", "", nullptr, "-1"},
            {"renamed entry is found", "Main,Loops,Loop,Done", "loops", "1"},
            {"rename passes the name to the duplicate", "Main,Loops,Loop,Done", "Loop", "2"},
            {"rename onto an earlier name", "Main,Loop,Loop,main", "MAIN", "0"},
            {"rename ahead of a later duplicate", "Done,Loop,Loop,Done", "done", "0"},
            {"grown list", "Main,Loop,Loop,Done,End", "End", "4"},
            {"letters beyond ASCII in any case", "Main,Şart,Loop,Done", "şART", "1"},
            {"emptied", ",", "Main", "-1"}};
        for (const auto& r : rows) {
            const QString given = QString::fromUtf8(r[1]);
            const QStringList second = given.isEmpty() ? abc : given.split(u',', Qt::SkipEmptyParts);
            combo.setEntries({});
            combo.setEntries(abc);
            combo.setEntries(second);
            QStringList shown;
            for (int i = 0; i < m.toolBars().ListCount(ids::ID_GotoLabel); ++i)
                shown << m.toolBars().ListText(ids::ID_GotoLabel, i);
            combo.select(QString::fromUtf8(r[2]));
            const QString state =
                shown.join(u',') + u'|' + QString::number(m.toolBars().ListIndex(ids::ID_GotoLabel));
            QCOMPARE(r[0] + (u' ' + state),
                     r[0] + (u' ' + second.join(u',') + u'|' + QString::fromLatin1(r[3])));
        }
    }

    // Zoom of the editors' font by keys, wheel and menu: every window follows, and the size is stored.
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

QTEST_MAIN(tst_MDIMain)
#include "tst_MDIMain.moc"
