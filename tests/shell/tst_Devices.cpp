#include <QComboBox>
#include <QListWidget>

#include "support/FrameTest.h"

// The device combo and the device's ports as the frame and its editor windows use them.
class tst_Devices : public QObject {
    Q_OBJECT
private:
    static int tokenClassOf(SourceView& v, const QString& line, const QString& word) {
        v.Document().InsertOverwrite(0, 0, v.Document().GetLineLength(0), 0, line);
        int cls = -1, start = 0, length = 0;
        v.GetTokenAt(int(line.indexOf(word)) + 1, 0, cls, start, length);
        return cls;
    }

private slots:
    void regainingFocusRepeatsNoActivation() {
        FrameFixture f;
        QVERIFY(QFile::remove(f.path(QStringLiteral("devicedata.ide"))));
        MDIMain& m = f.start();
        const QString list = u'\n' + QDir::toNativeSeparators(f.path(QStringLiteral("devicedata.ide")));
        QCOMPARE(f.prompts.messages().mid(0, 2),
                 (QStringList{"Get Micro Listing Error: File not found" + list,
                              "Get Device Data Error: File not found" + list}));
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), 0);
        f.prompts.clearShown();
        // Switching to another application and back, three times: under a window manager the MDI
        // area reports no active window, then its current one again. The device list fails differently
        // each time (a folder in its place, then gone), so an activation would read it and say so.
        const QString file = f.path(QStringLiteral("devicedata.ide"));
        for (int i = 1; i <= 3; ++i) {
            QVERIFY(i % 2 ? QDir().mkdir(file) : QDir().rmdir(file));
            emit m.mdiArea().subWindowActivated(nullptr);
            emit m.mdiArea().subWindowActivated(m.mdiArea().activeSubWindow());
        }
        QVERIFY(f.prompts.messages().isEmpty());
        // Changing to another editor window is an activation; the same failure is said once.
        m.SSActiveToolBars1_ToolClick(ids::ID_New);
        m.mdiArea().setActiveSubWindow(m.editors().first());
        QCOMPARE(f.prompts.messages().size(), 1);
        m.mdiArea().setActiveSubWindow(m.editors().last());
        m.mdiArea().setActiveSubWindow(m.editors().first());
        QCOMPARE(f.prompts.messages().size(), 1);
        m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device); // picking a device says it again
        QCOMPARE(f.prompts.messages().size(), 2);
    }

    // Start-up lists the shipped devices and selects the default; a chosen device colours its ports.
    void choosingADeviceColoursItsPorts() {
        FrameFixture f;
        MDIMain& m = f.start();
        SourceView& v = f.active()->View();
        const int all = m.toolBars().ListCount(ids::ID_Device);
        QVERIFY(all > 71);
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 71);
        QCOMPARE(m.toolBars().Text(ids::ID_Device), QStringLiteral("PIC16F877A"));
        QCOMPARE(m.state().DevicePorts, (DevicePortTable{0, 6, 8, 8, 8, 3, 0, 0, 0, 0}));
        // PIC16F877A has PORTD; PIC16F84A does not.
        QCOMPARE(tokenClassOf(v, QStringLiteral("TRISD = 0"), QStringLiteral("TRISD")), 10);
        const int f84 = m.toolBars().combo(ids::ID_Device)->findText(QStringLiteral("PIC16F84A"));
        QVERIFY(f84 >= 0);
        QCOMPARE(f.active()->List1().count(), 79);
        f.active()->List1().show();
        m.toolBars().SetListIndex(ids::ID_Device, f84);
        m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device);
        // The statement list is hidden, and grows on every rebuild as it always has.
        QVERIFY(!f.active()->List1().isVisible());
        QCOMPARE(f.active()->List1().count(), 2 * 79);
        QCOMPARE(m.state().DevicePorts, (DevicePortTable{0, 5, 8, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(f.active()->DeviceIndex, qint16(f84));
        QVERIFY(tokenClassOf(v, QStringLiteral("TRISD = 0"), QStringLiteral("TRISD")) != 10);
        QCOMPARE(tokenClassOf(v, QStringLiteral("TRISB = 0"), QStringLiteral("TRISB")), 10);
        // Each window keeps its device.
        frmEditor* first = f.active();
        m.SSActiveToolBars1_ToolClick(ids::ID_New);
        m.toolBars().SetListIndex(ids::ID_Device, 71);
        m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device);
        m.mdiArea().setActiveSubWindow(first);
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), f84);
        QCOMPARE(m.state().DevicePorts[4], 0);
        // PicBasic lists fewer devices.
        f.store().save(settings::startup::CompilerType, QStringLiteral("1"));
        MDIMain& pbc = f.restart();
        QVERIFY(pbc.toolBars().ListCount(ids::ID_Device) > 0);
        QVERIFY(pbc.toolBars().ListCount(ids::ID_Device) < all);
    }

    // One word of each compiler's tables shows they reach the control (the lists are the pure builder's).
    // Class 1 stands for any class below the keyword lists'.
    void keywordsByCompiler() {
        const struct {
            const char *compiler, *line, *word;
            int cls;
        } rows[] = {{"0", "gosub Start", "gosub", 10}, {"0", "DEFINE OSC 4", "OSC", 11},
                    {"0", "x = 1 ; set x", "set", 6},  {"1", "Symbol x = B0", "Symbol", 10},
                    {"1", "x VAR WORD", "WORD", 1},    {"1", "WHILE x", "WHILE", 1},
                    {"1", "x = 1 ; set x", "set", 1}};
        for (const auto& [compiler, line, word, cls] : rows) {
            FrameFixture f;
            f.store().save(settings::startup::CompilerType, QString::fromLatin1(compiler));
            f.start();
            const int got = tokenClassOf(f.view(), QString::fromLatin1(line), QString::fromLatin1(word));
            QVERIFY2(cls == 1 ? got < 10 && got != 6 : got == cls,
                     qPrintable(QStringLiteral("%1 %2: %3").arg(compiler, line).arg(got)));
        }
    }
};

QTEST_MAIN(tst_Devices)
#include "tst_Devices.moc"
