#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "platform/toolbars/ActiveToolBars.h"
#include "shell/FrameLayout.h"
#include "shell/ToolIds.h"

// The tool layer over the frame's own menus and toolbars.
class tst_ActiveToolBars : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QMainWindow> window_;
    std::unique_ptr<ActiveToolBars> bars_;

private slots:
    void init() {
        window_ = std::make_unique<QMainWindow>();
        bars_ = std::make_unique<ActiveToolBars>(window_.get());
        buildFrameTools(*bars_);
    }
    void cleanup() {
        bars_.reset();
        window_.reset();
    }

    void lookupIgnoresCase() {
        ActiveToolBars& bars = *bars_;
        for (const char* id : {"ID_CUT", "ID_PASTE", "ID_REDO", "ID_NBOOK", "ID_CBOOK"}) {
            QVERIFY2(bars.Exists(QString::fromLatin1(id)), id);
            bars.SetEnabled(QString::fromLatin1(id), false);
        }
        QVERIFY(!bars.Enabled(ids::ID_Cut));
        QVERIFY(!bars.action(ids::ID_NBook)->isEnabled());
        QCOMPARE(bars.Id(QStringLiteral("id_paste")), ids::ID_Paste);
        // A caption set through a toolbar the tool does not stand on changes nothing.
        bars.SetCaption(ids::ListBar, ids::ID_OpenDocs, QStringLiteral("x"));
        QCOMPARE(bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 0"));
        bars.SetCaption(ids::Standard, ids::ID_OpenDocs, QStringLiteral("Files: 1"));
        QCOMPARE(bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 1"));
    }

    void menuToolListEditing() {
        ActiveToolBars& bars = *bars_;
        QCOMPARE(bars.Count(ids::ID_Window), 4);
        bars.Insert(ids::ID_Window, 5, QStringLiteral("&1. /tmp/a.pbp"), QStringLiteral("&1. /tmp/a.pbp"));
        bars.Insert(ids::ID_Window, 5, QStringLiteral("separator"));
        bars.Insert(ids::ID_Window, 99, QStringLiteral("&2. /tmp/b.pbp"), QStringLiteral("&2. /tmp/b.pbp"));
        QCOMPARE(bars.ToolIds(ids::ID_Window).mid(4),
                 (QStringList{"separator", "&1. /tmp/a.pbp", "&2. /tmp/b.pbp"}));
        QVERIFY(bars.menu(ids::ID_Window)->actions().at(4)->isSeparator());
        QVERIFY(bars.Remove(ids::ID_Window, QStringLiteral("&1. /tmp/a.pbp")));
        QVERIFY(!bars.Exists(QStringLiteral("&1. /tmp/a.pbp")));
        QVERIFY(!bars.Remove(ids::ID_Window, QStringLiteral("&1. /tmp/a.pbp")));
        QCOMPARE(bars.Count(ids::ID_Window), 6);
        // Removing a shared tool from one menu keeps it where else it stands.
        QVERIFY(bars.Remove(ids::ID_Edit, ids::ID_Cut));
        QVERIFY(bars.Exists(ids::ID_Cut));
    }

    void clicksCarryTheDefinedId() {
        ActiveToolBars& bars = *bars_;
        QSignalSpy clicks(&bars, &ActiveToolBars::ToolClick);
        bars.action(QStringLiteral("id_compile"))->trigger();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), ids::ID_Compile);
        bars.SetRedraw(false);
        QVERIFY(!bars.toolBar(ids::Standard)->updatesEnabled());
        bars.SetRedraw(true);
        QVERIFY(bars.toolBar(ids::Standard)->updatesEnabled());
    }

    void comboEvents() {
        ActiveToolBars& bars = *bars_;
        window_->show();
        QSignalSpy drops(&bars, &ActiveToolBars::ComboDropDown);
        QSignalSpy closes(&bars, &ActiveToolBars::ComboCloseUp);
        bars.ListAdd(ids::ID_Device, QStringLiteral("PIC16F84A"));
        bars.ListAdd(ids::ID_Device, QStringLiteral("PIC16F877A"));
        QCOMPARE(bars.ListIndex(ids::ID_Device), -1);
        QCOMPARE(bars.ListCount(ids::ID_Device), 2);
        bars.combo(ids::ID_Device)->showPopup();
        QCOMPARE(drops.size(), 1);
        QCOMPARE(drops.at(0).at(0).toString(), ids::ID_Device);
        bars.SetListIndex(ids::ID_Device, 1);
        bars.combo(ids::ID_Device)->hidePopup();
        QTRY_COMPARE(closes.size(), 1);
        QCOMPARE(closes.at(0).at(0).toString(), ids::ID_Device);
        QCOMPARE(bars.Text(ids::ID_Device), QStringLiteral("PIC16F877A"));
        bars.SetListIndex(ids::ID_Device, 7);
        QCOMPARE(bars.ListIndex(ids::ID_Device), -1);
        QCOMPARE(bars.ListText(ids::ID_Device, 0), QStringLiteral("PIC16F84A"));
    }
};

QTEST_MAIN(tst_ActiveToolBars)
#include "tst_ActiveToolBars.moc"
