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

class tst_ActiveToolBars : public QObject {
    Q_OBJECT
private slots:
    void lookupIgnoresCase() {
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
        for (const char* id :
             {"ID_CUT", "ID_COPY", "ID_PASTE", "ID_UNDO", "ID_REDO", "ID_NBOOK", "ID_PBOOK", "ID_CBOOK"}) {
            QVERIFY2(bars.Exists(QString::fromLatin1(id)), id);
            bars.SetEnabled(QString::fromLatin1(id), false);
        }
        QVERIFY(!bars.Enabled(ids::ID_Cut));
        QVERIFY(!bars.action(ids::ID_NBook)->isEnabled());
        QCOMPARE(bars.Id(QStringLiteral("id_paste")), ids::ID_Paste);
    }

    void menuBarAndToolbars() {
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
        QCOMPARE(bars.ToolBarToolIds(ids::MenuBar),
                 (QStringList{"ID_File", "ID_Edit", "ID_View", "ID_CMenu", "ID_Programmer", "ID_Debug",
                              "ID_Options", "ID_Window", "ID_Help"}));
        QStringList standard = bars.ToolBarToolIds(ids::Standard);
        QCOMPARE(standard.first(), ids::ID_New);
        QCOMPARE(standard.last(), ids::ID_OpenDocs);
        QCOMPARE(standard.count(QStringLiteral("separator")), 8);
        QCOMPARE(bars.ToolBarToolIds(ids::ListBar),
                 (QStringList{"ID_GotoLabel", "separator", "ID_Indent", "ID_Outdent"}));
        for (const QString* id : {&ids::ID_File1, &ids::ID_File2, &ids::ID_File3, &ids::ID_File4})
            QVERIFY(!bars.Visible(*id));
        // A caption set through a toolbar the tool does not stand on changes nothing.
        bars.SetCaption(ids::ListBar, ids::ID_OpenDocs, QStringLiteral("x"));
        QCOMPARE(bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 0"));
        bars.SetCaption(ids::Standard, ids::ID_OpenDocs, QStringLiteral("Files: 1"));
        QCOMPARE(bars.Caption(ids::ID_OpenDocs), QStringLiteral("Files: 1"));
    }

    void menuToolListEditing() {
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
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
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
        QSignalSpy clicks(&bars, &ActiveToolBars::ToolClick);
        bars.action(QStringLiteral("id_compile"))->trigger();
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), ids::ID_Compile);
        bars.SetEnabled(ids::ID_Save, false);
        bars.Click(ids::ID_Save);
        QCOMPARE(clicks.size(), 1); // a disabled tool cannot be clicked
    }

    void comboEvents() {
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
        w.show();
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

    void redrawSwitch() {
        QMainWindow w;
        ActiveToolBars bars(&w);
        buildFrameTools(bars);
        bars.SetRedraw(false);
        QVERIFY(!bars.toolBar(ids::Standard)->updatesEnabled());
        bars.SetRedraw(true);
        QVERIFY(bars.toolBar(ids::Standard)->updatesEnabled());
    }
};

QTEST_MAIN(tst_ActiveToolBars)
#include "tst_ActiveToolBars.moc"
