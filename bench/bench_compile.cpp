// Benchmark of collecting a compile run: a capture file with 10,000 error lines against a
// 100,000-line document, and the lookup of an error line's message on a caret move.
// Run it by hand (see README.md); it prints one line per measurement, or with --tsv one
// "key<TAB>value" line per figure for bench/run.sh.
#include "StepClock.h"
#include "toolchain/CaptureFile.h"
#include "toolchain/CompileRun.h"
#include "editor/frmEditor.h"
#include "support/ScriptedPrompts.h"
#include "platform/sourceview/SourceView.h"
#include "shell/MDIMain.h"
#include "common/Settings.h"

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    bool tsv = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--tsv")
            tsv = true;
        else
            sizes << std::max(1, atoi(argv[i]));
    }
    const int lines = sizes.value(0, 100000);
    const int errors = sizes.value(1, 10000);

    QTemporaryDir dir;
    const AppPaths paths = AppPaths::forFolder(dir.path());
    Settings settings(paths, dir.filePath(QStringLiteral("settings.ini")));
    ScriptedPrompts prompts;

    QByteArray source;
    for (int i = 0; i < lines; ++i)
        source += "    HIGH PORTB." + QByteArray::number(i % 8) + " : PAUSE 500 ' line " +
                  QByteArray::number(i) + "\r\n";
    const QString doc = dir.filePath(QStringLiteral("big.pbp"));
    write(doc, source);

    QRandomGenerator rng(42);
    QList<int> reported;
    QByteArray capture = "PicBasic Pro Compiler\r\n";
    for (int i = 0; i < errors; ++i) {
        const int line = 1 + int(rng.bounded(lines));
        reported << line;
        capture += "ERROR Line " + QByteArray::number(line) + ": Bad expression number " +
                   QByteArray::number(i) + ".\r\n";
        if (i % 4 == 0)
            capture += "WARNING Line " + QByteArray::number(line) + ": Unused variable.\r\n";
    }

    MDIMain frame(settings, prompts);
    frame.show();
    frame.MDIForm_Load(doc);
    QApplication::processEvents();
    // The window just opened, whether or not the window system has made it the active one yet.
    if (frame.editors().isEmpty())
        return 1;
    frmEditor& w = *frame.editors().first();

    const int runs = 5;
    std::vector<double> collect;
    for (int run = 0; run < runs; ++run) {
        write(compilerun::capturePath(paths.workFolder()), capture);
        w.CheckFile().start();
        StepClock t;
        w.CheckFile_Timer();
        collect.push_back(t.ms());
        QApplication::processEvents();
    }
    std::sort(collect.begin(), collect.end());

    int marked = 0;
    for (int i = 0; i < w.View().Document().NumLines(); ++i)
        marked += w.View().Document().GetLineData(i, 1) == 1;

    StepClock parseTimer;
    const capture::Capture parsed = capture::parse(capture::decode(capture), QStringLiteral("big.pbp"));
    const double parseMs = parseTimer.ms();

    double worst = 0;
    StepClock total;
    const int lookups = 10000;
    for (int i = 0; i < lookups; ++i) {
        StepClock t;
        w.GetErrorDescription(reported[i % reported.size()]);
        worst = std::max(worst, t.ms());
    }
    const double meanUs = total.ms() * 1e3 / lookups;

    // A compiler that prints 10 MB: the window shows the first 2 MB, the errors come from all of it.
    QByteArray flood;
    while (flood.size() < 10 * 1000 * 1000)
        flood += "a line of compiler output that goes on and on\r\n";
    flood += "ERROR Line 8: at the very end\r\n";
    write(compilerun::capturePath(paths.workFolder()), flood);
    w.CheckFile().start();
    StepClock floodTimer;
    w.CheckFile_Timer();
    const double floodMs = floodTimer.ms();

    if (tsv) {
        std::printf("collect_ms\t%.3f\n", collect[runs / 2]);
        std::printf("collect_worst_ms\t%.3f\n", collect.back());
        std::printf("parse_ms\t%.3f\n", parseMs);
        std::printf("collect_flood_ms\t%.3f\n", floodMs);
        std::printf("error_description_worst_ms\t%.3f\n", worst);
        return 0;
    }
    std::printf("document: %d lines; capture: %d error lines, %lld bytes; %d lines marked\n",
                w.View().Document().NumLines(), int(parsed.errors.size()), qlonglong(capture.size()), marked);
    std::printf(
        "collect (CheckFile_Timer, marks and output window): median %.1f ms, best %.1f ms, worst %.1f ms "
        "of %d\n",
        collect[runs / 2], collect.front(), collect.back(), runs);
    std::printf("parse alone: %.1f ms\n", parseMs);
    std::printf("collect a 10 MB capture: %.1f ms\n", floodMs);
    std::printf("GetErrorDescription: mean %.2f us, worst %.3f ms of %d\n", meanUs, worst, lookups);
    return 0;
}
