#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "platform/FrameStyle.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/toolbars/ToolIcons.h"
#include "shell/FrameLayout.h"
#include "common/ToolIds.h"

namespace {

// The tool layer over the frame's own menus and toolbars.
struct Frame {
    QMainWindow window;
    ActiveToolBars bars{&window};
    Frame() { buildFrameTools(bars); }
};

} // namespace

class tst_ActiveToolBars : public QObject {
    Q_OBJECT
private slots:
    // Ids in any letter case reach the tool; clicks report the id as defined.
    void toolsAddressedById() {
        Frame f;
        QSignalSpy clicks(&f.bars, &ActiveToolBars::ToolClick);
        f.bars.action(QStringLiteral("id_compile"))->trigger();
        QCOMPARE(clicks, (QList<QVariantList>{{ids::ID_Compile}}));
        QVERIFY(f.bars.Exists(QStringLiteral("ID_NBOOK")));
        QVERIFY(toolicons::forTool(QStringLiteral("no such tool")).isNull());
        f.bars.SetEnabled(QStringLiteral("ID_CUT"), false);
        QVERIFY(!f.bars.Enabled(ids::ID_Cut) && !f.bars.action(ids::ID_Cut)->isEnabled());
        QCOMPARE(f.bars.Id(QStringLiteral("id_paste")), ids::ID_Paste);
        // A caption set through a toolbar the tool does not stand on changes nothing.
        f.bars.SetCaption(ids::ListBar, ids::ID_OpenDocs, QStringLiteral("x"));
        QCOMPARE(f.bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 0"));
        f.bars.SetCaption(ids::Standard, ids::ID_OpenDocs, QStringLiteral("Files: 1"));
        QCOMPARE(f.bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 1"));
    }

    void menuToolListEditing() {
        Frame f;
        ActiveToolBars& bars = f.bars;
        bars.Insert(ids::ID_Window, 5, QStringLiteral("&1. /tmp/a.pbp"), QStringLiteral("&1. /tmp/a.pbp"));
        bars.Insert(ids::ID_Window, 5, QStringLiteral("separator"));
        bars.Insert(ids::ID_Window, 99, QStringLiteral("&2. /tmp/b.pbp"), QStringLiteral("&2. /tmp/b.pbp"));
        QCOMPARE(bars.ToolIds(ids::ID_Window).mid(4),
                 (QStringList{"separator", "&1. /tmp/a.pbp", "&2. /tmp/b.pbp"}));
        QVERIFY(bars.menu(ids::ID_Window)->actions().at(4)->isSeparator());
        QVERIFY(bars.Remove(ids::ID_Window, QStringLiteral("&1. /tmp/a.pbp")));
        QVERIFY(!bars.Exists(QStringLiteral("&1. /tmp/a.pbp")));
        QVERIFY(!bars.Remove(ids::ID_Window, QStringLiteral("&1. /tmp/a.pbp")));
        // Removing a shared tool from one menu keeps it where else it stands.
        QVERIFY(bars.Remove(ids::ID_Edit, ids::ID_Cut));
        QVERIFY(bars.Exists(ids::ID_Cut));
    }

    void comboEvents() {
        Frame f;
        ActiveToolBars& bars = f.bars;
        f.window.show();
        QSignalSpy drops(&bars, &ActiveToolBars::ComboDropDown);
        QSignalSpy closes(&bars, &ActiveToolBars::ComboCloseUp);
        bars.ListAdd(ids::ID_Device, QStringLiteral("PIC16F84A"));
        bars.ListAdd(ids::ID_Device, QStringLiteral("PIC16F877A"));
        QCOMPARE(bars.ListIndex(ids::ID_Device), -1); // filled by the program: nothing chosen yet
        bars.combo(ids::ID_Device)->showPopup();
        QCOMPARE(drops, (QList<QVariantList>{{ids::ID_Device}}));
        bars.SetListIndex(ids::ID_Device, 1);
        bars.combo(ids::ID_Device)->hidePopup();
        QTRY_COMPARE(closes, (QList<QVariantList>{{ids::ID_Device}}));
        QCOMPARE(bars.Text(ids::ID_Device), QStringLiteral("PIC16F877A"));
    }

    // A tool's icon is drawn for the size asked, never above its own 20 units (a bigger button
    // centres it), in device pixels on a dense screen; disabled, it looks otherwise.
    void toolIconSizes_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("pixels");
        QTest::newRow("toolbar button") << 24 << 1.0 << 20;
        QTest::newRow("smaller than drawn") << 16 << 1.0 << 16;
        QTest::newRow("dense screen") << 24 << 2.0 << 40;
        QTest::newRow("one and a half") << 16 << 1.5 << 24;
    }
    void toolIconSizes() {
        QFETCH(int, asked);
        QFETCH(qreal, ratio);
        QFETCH(int, pixels);
        const QIcon icon = toolicons::forTool(ids::ID_Save);
        QCOMPARE(icon.actualSize(QSize(asked, asked)), QSize(qMin(asked, 20), qMin(asked, 20)));
        const QImage normal = icon.pixmap(QSize(asked, asked), ratio).toImage();
        QCOMPARE(normal.size(), QSize(pixels, pixels));
        QVERIFY(normal.pixelColor(pixels / 2, pixels / 2).alpha() > 0); // something is drawn
        const QImage disabled = icon.pixmap(QSize(asked, asked), ratio, QIcon::Disabled).toImage();
        QCOMPARE(disabled.size(), normal.size());
        QVERIFY(disabled.convertToFormat(normal.format()) != normal);
    }

    // The frame's standard icons are drawn, at the one size of the drawings (the system menu shows
    // the program's icon); any other comes from the style underneath.
    void frameStyleIcons() {
        FrameStyle style(QStringLiteral("Fusion"));
        QCOMPARE(FrameStyle::baseName(&style), QStringLiteral("fusion"));
        QCOMPARE(FrameStyle::baseName(style.baseStyle()), QStringLiteral("fusion"));
        using S = QStyle;
        QList<std::pair<S::StandardPixmap, QList<QSize>>> rows{
            {S::SP_TitleBarMenuButton, toolicons::application().availableSizes()},
            {S::SP_MessageBoxWarning,
             style.baseStyle()->standardIcon(S::SP_MessageBoxWarning).availableSizes()}};
        for (S::StandardPixmap drawn :
             {S::SP_ToolBarHorizontalExtensionButton, S::SP_ToolBarVerticalExtensionButton,
              S::SP_TitleBarCloseButton, S::SP_DockWidgetCloseButton, S::SP_TitleBarNormalButton,
              S::SP_TitleBarMinButton, S::SP_TitleBarMaxButton})
            rows.append({drawn, {QSize(20, 20)}});
        for (const auto& [which, sizes] : rows) {
            const QIcon icon = style.standardIcon(which);
            QCOMPARE(icon.availableSizes(), sizes);
            const QImage image = icon.pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
            QImage blank(image.size(), image.format());
            blank.fill(Qt::transparent);
            QVERIFY2(image != blank, qPrintable(QString::number(which))); // something is drawn
        }
    }
};

QTEST_MAIN(tst_ActiveToolBars)
#include "tst_ActiveToolBars.moc"
