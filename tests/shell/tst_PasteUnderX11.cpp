// The Paste tool on an X11 display, where the clipboard is whatever the program that last copied
// offers, and is empty when that program ends. Runs on the xcb platform (the test command starts a
// virtual display); the other program is this one, started to hold the clipboard.
#include "platform/FrameStyle.h"
#include "support/FrameTest.h"

#include <QApplication>
#include <QClipboard>
#include <QProcess>

#include <cstdio>

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

} // namespace

class tst_PasteUnderX11 : public QObject {
    Q_OBJECT
private slots:
    void pasteFollowsTheClipboard() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QApplication::setStyle(new FrameStyle(QApplication::style()->name()));
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("a.pbp"), "HIGH 1\r\n");
        // A fresh display: no program owns the clipboard, and finding that out loads nothing.
        QVERIFY(!m.toolBars().Enabled(ids::ID_Paste));
        QVERIFY2(!imagePluginLoaded(), "an image format plugin was loaded");

        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--hold-clipboard"), QStringLiteral("LOW 2")});
        QVERIFY(holder.waitForReadyRead(20000));
        QTRY_VERIFY(m.toolBars().Enabled(ids::ID_Paste));
        m.SSActiveToolBars1_ToolClick(ids::ID_Paste);
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("LOW 2HIGH 1"));

        holder.kill();
        QVERIFY(holder.waitForFinished());
        QTRY_VERIFY(!m.toolBars().Enabled(ids::ID_Paste));

        // Copied here: the frame owns the clipboard.
        f.view().SetSel(5, 0, 9, 0);
        m.SSActiveToolBars1_ToolClick(ids::ID_Copy);
        QTRY_VERIFY(m.toolBars().Enabled(ids::ID_Paste));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("HIGH"));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--hold-clipboard") == 0) {
        QGuiApplication app(argc, argv);
        QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(argv[2]));
        std::puts("holding");
        std::fflush(stdout);
        return QGuiApplication::exec();
    }
    QApplication app(argc, argv);
    tst_PasteUnderX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PasteUnderX11.moc"
