// The frame and the Debug window on small screens and at large scaling: the toolbars wrap, the
// Debug window's settings flow onto a second row, and nothing hides behind an overflow button.
#include "support/FrameTest.h"

#include "platform/toolbars/ToolBarFlow.h"
#include "terminal/frmComm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

namespace {

// Why a widget a user needs is out of sight or cut ("" when it shows whole inside `within`).
QString hidden(const QWidget* w, const QWidget* within) {
    const QString name =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    if (!w->isVisible())
        return name + QStringLiteral(" hidden");
    const QRect r(w->mapTo(within, QPoint(0, 0)), w->size());
    if (!within->rect().contains(r))
        return name + QStringLiteral(" outside");
    if (w->visibleRegion().boundingRect() != w->rect())
        return name + QStringLiteral(" clipped");
    return QString();
}

// Every toolbar below `root` that hides tools behind its overflow button.
QStringList overflowing(const QWidget* root) {
    QStringList out;
    for (const QToolBar* bar : root->findChildren<QToolBar*>())
        if (const auto* ext = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            ext && ext->isVisible())
            out << bar->objectName();
    return out;
}

} // namespace

class tst_SmallScreens : public QObject {
    Q_OBJECT
private slots:
    void flow_data() {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("available");
        QTest::addColumn<QList<int>>("rows");
        // clang-format off
        QTest::newRow("all on one row") << QList<int>{100, 200, 300} << 610 << QList<int>{0, 0, 0};
        QTest::newRow("spacing pushes the last on") << QList<int>{100, 200, 300} << 609 << QList<int>{0, 0, 1};
        QTest::newRow("wraps again and again") << QList<int>{400, 400, 95, 400} << 500 << QList<int>{0, 1, 1, 2};
        QTest::newRow("too wide alone") << QList<int>{50, 900, 50} << 500 << QList<int>{0, 1, 2};
        QTest::newRow("none") << QList<int>{} << 500 << QList<int>{};
        // clang-format on
    }
    void flow() {
        QFETCH(QList<int>, widths);
        QFETCH(int, available);
        QFETCH(QList<int>, rows);
        QCOMPARE(toolbarflow::rows(widths, available, 5), rows);
    }

    // The first start opens at the design size (9000 x 6000 twips; as wide as the screen allows),
    // narrower than any row of the toolbars: they wrap, and none hides a tool.
    void firstStart() {
        FrameFixture f;
        MDIMain& m = f.start();
        QCoreApplication::processEvents();
        QCOMPARE(m.size(), QSize(std::min(600, m.screen()->availableGeometry().width() - 8), 400));
        QCOMPARE(overflowing(&m), QStringList());
    }

    // A long path is shortened in the middle in the File and Window menus, which stay within the
    // screen; the entry still opens the whole path, which its status tip shows.
    void longPathsInMenus() {
        FrameFixture f;
        const QString deep =
            QStringLiteral("a rather long folder name/projects for the board/firmware/release two/"
                           "with a further sub folder/and one more level of folders");
        const QString path = f.file(deep + QStringLiteral("/main_program_one.pbp"));
        f.store().save(settings::startup::File1, QStringLiteral("&1 ") + path);
        MDIMain& m = f.start(f.file(QStringLiteral("short.pbp")));
        const int screenWidth = m.screen()->availableGeometry().width();
        QAction* recent = m.toolBars().action(ids::ID_File1);
        QCOMPARE(m.toolBars().Caption(ids::ID_File1), QStringLiteral("&1 ") + path);
        QCOMPARE(recent->statusTip(), QStringLiteral("1 ") + path);

        m.SSActiveToolBars1_ToolClick(ids::ID_File1);
        QCOMPARE(m.activeEditor()->caption(), path);
        QAction* entry = m.toolBars().action(m.activeEditor()->Tag);
        QVERIFY(entry);
        for (const QAction* a : {recent, entry})
            QVERIFY2(a->text().contains(QChar(0x2026)) && a->text().endsWith(u'p'), qPrintable(a->text()));
        for (const QString& menu : {ids::ID_File, ids::ID_Window})
            QVERIFY2(m.toolBars().menu(menu)->sizeHint().width() < screenWidth * 3 / 4,
                     qPrintable(QString::number(m.toolBars().menu(menu)->sizeHint().width())));
    }

    // The frame maximised on the screen (its title bar and a desktop panel taken off) shows the Micro
    // combo and the whole Debug window.
    void fits_data() {
        QTest::addColumn<QSize>("screen");
        const int scale = qRound(qApp->devicePixelRatio() * 100);
        for (const auto& [width, height, percent] :
             {std::tuple{1024, 768, 100}, {1280, 800, 100}, {1280, 800, 150}})
            if (percent == scale)
                QTest::addRow("%dx%d at %d%%", width, height, percent) << QSize(width, height);
    }
    void fits() {
        QFETCH(QSize, screen);
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("a.pbp"), "x\n");
        const qreal scale = qApp->devicePixelRatio();
        m.resize(int(screen.width() / scale), int((screen.height() - 60) / scale));
        QCoreApplication::processEvents();

        QCOMPARE(overflowing(&m), QStringList());
        for (const QString& id : {ids::ID_Device, ids::ID_GotoLabel})
            QCOMPARE(hidden(m.toolBars().combo(id), &m), QString());

        m.SSActiveToolBars1_ToolClick(ids::ID_Debug);
        frmComm* w = m.terminalWindow();
        QVERIFY(w);
        w->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(overflowing(w), QStringList());
        QWidget* area = m.mdiArea().viewport();
        QVERIFY(area->rect().contains(QRect(w->mapTo(area, QPoint(0, 0)), w->size())));
        QStringList problems;
        for (QWidget* control : w->widget()->findChildren<QWidget*>())
            if ((qobject_cast<QToolButton*>(control) || qobject_cast<QComboBox*>(control) ||
                 qobject_cast<QLineEdit*>(control) || qobject_cast<QPushButton*>(control)) &&
                control->isVisibleTo(w) && !qobject_cast<QComboBox*>(control->parentWidget()))
                problems << hidden(control, w);
        problems.removeAll(QString());
        QCOMPARE(problems, QStringList());
    }
};

QTEST_MAIN(tst_SmallScreens)
#include "tst_SmallScreens.moc"
