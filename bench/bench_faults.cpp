// Benchmark of the work the program does to keep typed text safe and to get through oversized input:
// the autosave copy of a big modified document, restoring it, a device list of 100,000 devices, a
// 50 MB source file loaded and saved, and collecting 100 MB of compiler output. Run it by hand (see
// README.md); it prints the median of several runs per measurement.
#include "toolchain/CaptureFile.h"
#include "editor/frmEditor.h"
#include "platform/AppPaths.h"
#include "support/ScriptedPrompts.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void report(const char* what, double ms) {
    std::printf("%-44s %10.2f ms\n", what, ms);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("app"));
    QDir().mkpath(root);
    const AppPaths paths = AppPaths::forFolder(root);

    QByteArray devices;
    for (int i = 0; i < 100000; ++i)
        devices += "PIC" + QByteArray::number(i) + ":PORTA=6,PORTB=8,PBC\r\n";
    write(root + QStringLiteral("/devicedata.ide"), devices);

    const QByteArray line = "    HIGH PORTB.0 : PAUSE 500 : LOW PORTB.0 ' blink the LED once more\r\n";
    const QString doc = root + QStringLiteral("/big.pbp");
    write(doc, line.repeated(100000));

    ScriptedPrompts prompts;
    {
        Settings settings(paths, dir.filePath(QStringLiteral("settings.ini")));
        MDIMain frame(settings, prompts);
        QElapsedTimer t;
        t.start();
        frame.MDIForm_Load(doc);
        report("start-up: 100,000 devices, 100,000 lines", double(t.nsecsElapsed()) / 1e6);
        report("device list of 100,000 devices", medianMs(5, [&] { frame.GetDevices(); }));
        SourceDocument& d = frame.activeEditor()->View().Document();
        int n = 0;
        report("autosave copy of 100,000 modified lines", medianMs(9, [&] {
                   d.InsertImpl(0, 0, QString::number(++n));
                   frame.autosaveNow();
               }));
        report("autosave turn with nothing changed", medianMs(9, [&] { frame.autosaveNow(); }));
        // Ends without closing, as a crash would: the copy stays.
    }
    {
        Settings settings(paths, dir.filePath(QStringLiteral("settings.ini")));
        MDIMain frame(settings, prompts);
        prompts.answer(Prompts::Answer::Yes);
        QElapsedTimer t;
        t.start();
        frame.MDIForm_Load(doc);
        report("start-up restoring 100,000 lines", double(t.nsecsElapsed()) / 1e6);
    }

    const QString fifty = dir.filePath(QStringLiteral("fifty.pbp"));
    write(fifty, line.repeated(50 * 1024 * 1024 / line.size()));
    SourceDocument big;
    report("load 50 MB", medianMs(3, [&] { big.LoadFile(fifty); }));
    report("save 50 MB", medianMs(3, [&] { big.SaveFile(fifty); }));

    const QByteArray output =
        QByteArray("a line of compiler output that goes on and on\n").repeated(100 * 1024 * 1024 / 46) +
        "ERROR Line 2: at the very end\n";
    report("collect 100 MB of compiler output", medianMs(3, [&] {
               const capture::Capture c = capture::parse(capture::decode(output), QStringLiteral("big.pbp"));
               if (c.errors.size() != 1)
                   std::printf("unexpected errors: %lld\n", static_cast<long long>(c.errors.size()));
           }));
    return 0;
}
