// Benchmark of the editor's intelligence on a generated program of 100,000 lines with 10,000 labels and
// 10,000 declarations: the open scan, caret moves, typing, the label list and the label combo, inside a
// real frame; then the whole program started on the file and on nothing. Run it by hand (see
// README.md); it prints the median of several runs per measurement, or with --tsv one
// "key<TAB>value" line per figure for bench/run.sh.
#include "StepClock.h"
#include "editor/frmEditor.h"
#include "platform/AppPaths.h"
#include "support/ScriptedPrompts.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/CodeExplorer.h"
#include "shell/MDIMain.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QMdiArea>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMap>
#include <QPaintEvent>
#include <QProcess>
#include <QTest>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Every tenth line a label, every tenth a VAR declaration; the rest ordinary statements and comments.
QByteArray program(int lines) {
    QByteArray out;
    out.reserve(lines * 34);
    for (int i = 0; i < lines; ++i) {
        const QByteArray n = QByteArray::number(i / 10);
        switch (i % 10) {
        case 0:
            out += "Label" + n + ":\r\n";
            break;
        case 1:
            out += "count" + n + " VAR BYTE ' counter\r\n";
            break;
        case 2:
            out += "    FOR count" + n + " = 1 TO 10\r\n";
            break;
        case 3:
            out += "        LCDOUT $FE,1,\"Count \",DEC count" + n + "\r\n";
            break;
        case 4:
            out += "    NEXT count" + n + "\r\n";
            break;
        case 5:
            out += "    IF count" + n + " > 5 THEN GOSUB Label" + n + "\r\n";
            break;
        case 6:
            out += "    HIGH PORTB.1 : PAUSE 100 ; wait\r\n";
            break;
        case 7:
            out += "REM a remark about the next part\r\n";
            break;
        case 8:
            out += "    x = x + 1 ' step\r\n";
            break;
        default:
            out += "    GOTO Label" + n + "\r\n";
            break;
        }
    }
    return out;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Median milliseconds of `runs` calls of `step`, each preceded by `prepare` (not timed).
double measure(int runs, const std::function<void()>& step, const std::function<void()>& prepare = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        StepClock t;
        step();
        ms.push_back(t.ms());
    }
    return median(ms);
}

void key(QWidget* target, int qtKey, const QString& text, Qt::KeyboardModifiers mods = {}) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Counts what typing costs outside the editor's own work: the paint events of every widget with the
// area they cover, the window's flushes (one per update request of the frame) and its layouts.
struct PaintCounts {
    int paints = 0, flushes = 0, layouts = 0;
    qint64 pixels = 0;
    QMap<QString, qint64> byWidget; // painted area by widget (object name, or class)
};

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    PaintCounts counts;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType()) {
            qint64 area = 0;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                area += qint64(r.width()) * r.height();
            ++counts.paints;
            counts.pixels += area;
            const QString name = o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                                           : o->objectName();
            counts.byWidget[name] += area;
        } else if (o == window_ && e->type() == QEvent::UpdateRequest) {
            ++counts.flushes;
        } else if (e->type() == QEvent::LayoutRequest) {
            ++counts.layouts;
        }
        return false;
    }

private:
    QWidget* window_;
};

struct Probe {
    double shownMs = -1, readyMs = -1, shownCpuMs = -1, cpuMs = -1, peakKb = -1, heapKb = -1;
    // From the window's appearance to idle: CPU time unless the wall clock was asked for (see StepClock).
    double afterShownMs() const {
        return qEnvironmentVariableIntValue("PINWRIGHT_BENCH_WALL") ? readyMs - shownMs : cpuMs - shownCpuMs;
    }
};

// The whole program started with the start-up probe on, in a settings store of its own, until it is
// idle with its window painted and quits; medians of `runs` starts.
Probe runProgram(const QString& exe, const QStringList& args, const QString& scratch, int runs) {
    std::vector<double> shown, ready, shownCpu, cpu, peak, heap;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir config(scratch + QStringLiteral("/config-XXXXXX"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("PINWRIGHT_STARTUP_PROBE"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.start(exe, args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            continue;
        }
        for (const QByteArray& line : p.readAllStandardError().split('\n')) {
            if (!line.startsWith("pinwright-probe "))
                continue;
            for (const QByteArray& field : line.mid(16).split(' ')) {
                const QList<QByteArray> kv = field.split('=');
                const double value = kv.value(1).toDouble();
                if (kv[0] == "shown_ms")
                    shown.push_back(value);
                else if (kv[0] == "ready_ms")
                    ready.push_back(value);
                else if (kv[0] == "shown_cpu_ms")
                    shownCpu.push_back(value);
                else if (kv[0] == "cpu_ms")
                    cpu.push_back(value);
                else if (kv[0] == "peak_kb")
                    peak.push_back(value);
                else if (kv[0] == "heap_kb")
                    heap.push_back(value);
            }
        }
    }
    if (ready.empty())
        return {};
    return {median(shown), median(ready), median(shownCpu), median(cpu), median(peak),
            heap.empty() ? -1.0 : median(heap)};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int lines = 100000;
    bool tsv = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--tsv")
            tsv = true;
        else
            lines = std::max(10, QByteArray(argv[i]).toInt());
    }
    const int runs = 9;

    QTemporaryDir dir;
    const QString appFolder = dir.filePath(QStringLiteral("app"));
    QDir().mkpath(appFolder);
    const QString file = dir.filePath(QStringLiteral("big.pbp"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(program(lines));
    }
    const AppPaths paths = AppPaths::forFolder(appFolder);
    Settings settings(paths, dir.filePath(QStringLiteral("settings.ini")));
    ScriptedPrompts prompts;
    MDIMain frame(settings, prompts);
    frame.resize(1000, 800);
    frame.show();

    StepClock openTimer;
    frame.MDIForm_Load(file);
    const double openMs = openTimer.ms();
    QApplication::processEvents();

    frmEditor& w = *frame.editors().first();
    frame.activateWindow();
    QApplication::processEvents();
    frame.mdiArea().setActiveSubWindow(&w);
    if (frame.activeEditor() != &w)
        std::printf("(the editor window is not active: the drop-down figure is not meaningful)\n");
    SourceView& v = w.View();
    SourceDocument& doc = v.Document();
    QWidget* keys = v.focusProxy();
    v.SetFocus();

    const double scan = measure(
        runs, [&] { w.ScanDocument(nullptr); },
        [&] { doc.rewriteLineData(2, [](int, const QString&, qint32) { return 0; }); });

    const int at = lines * 9 / 10; // a label line
    v.MoveCaret(0, at + 5);
    QApplication::processEvents();
    int col = 4;
    const double withinLine = measure(runs, [&] { v.MoveCaret(++col, at + 5); });
    int flip = 0;
    // What the user waits for: the step and the repaint it asks for.
    const double otherLine = measure(runs, [&] {
        v.MoveCaret(0, at + 5 + (++flip % 2));
        QApplication::processEvents();
    });
    const double ontoLabel = measure(
        runs, [&] { v.MoveCaret(++flip % 2, at); }, [&] { v.MoveCaret(0, at + 3); });

    v.MoveCaret(doc.GetLineLength(at + 8), at + 8);
    const double typing = measure(runs, [&] {
        key(keys, Qt::Key_A, QStringLiteral("a"));
        QApplication::processEvents();
    });
    // Typing through the platform into the focused widget, 100 characters at the start of the
    // second-last line, each key followed by the repaint and flush it asks for, as a user types.
    v.MoveCaret(0, doc.NumLines() - 2);
    QApplication::processEvents();
    PaintCounts typedCounts;
    const int typed = 100;
    StepClock typedClock;
    {
        PaintCounter counter(&frame);
        for (int i = 0; i < typed; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
            QApplication::processEvents();
        }
        typedCounts = counter.counts;
    }
    const double typedMs = typedClock.ms() / typed;
    v.MoveCaret(5, at);
    const double typingLabel = measure(runs, [&] { key(keys, Qt::Key_A, QStringLiteral("a")); });
    v.MoveCaret(0, at + 8);

    const double labelList = measure(
        runs, [&] { w.ShowQuickList(492); }, [&] { key(keys, Qt::Key_Escape, QString()); });
    // A line added since the last rebuild: the drop-down reads every line again.
    const double dropDown = measure(
        runs, [&] { frame.SSActiveToolBars1_ComboDropDown(ids::ID_GotoLabel); },
        [&] { doc.InsertImpl(0, at + 8, QStringLiteral("\n")); });

    // The code explorer, shown, after a line was added: every marked line is read and listed again.
    frame.setCodeExplorerShown(true);
    QApplication::processEvents();
    CodeExplorer& explorer = frame.codeExplorer();
    const double explorerRefresh = measure(
        runs,
        [&] {
            explorer.refresh();
            QApplication::processEvents();
        },
        [&] { doc.InsertImpl(0, at + 8, QStringLiteral("\n")); });
    const int explorerEntries = int(explorer.entries().size());
    int zoomStep = 0;
    const double zoom = measure(runs, [&] {
        v.ExecuteCommand(++zoomStep % 2 ? SourceView::CmdZoomIn : SourceView::CmdZoomOut);
        QApplication::processEvents();
    });

    const int labels = int(frame.toolBars().ListCount(ids::ID_GotoLabel));

    // The whole program: on the file, and on nothing (a new, empty document).
    const QString exe = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/pinwright");
    const bool haveExe = QFile::exists(exe);
    const Probe withFile = haveExe ? runProgram(exe, {file}, dir.path(), 3) : Probe{};
    const Probe empty = haveExe ? runProgram(exe, {}, dir.path(), 3) : Probe{};

    if (tsv) {
        const auto row = [](const char* key, double value) { std::printf("%s\t%.3f\n", key, value); };
        row("lines", lines);
        row("labels", labels);
        row("open_scan_ms", scan);
        row("caret_other_line_ms", otherLine);
        row("caret_onto_label_ms", ontoLabel);
        row("keystroke_ms", typing);
        row("keystroke_label_ms", typingLabel);
        row("typed_key_ms", typedMs);
        row("typed_painted_px", double(typedCounts.pixels) / typed);
        row("typed_paints", double(typedCounts.paints) / typed);
        row("typed_flushes", double(typedCounts.flushes) / typed);
        row("typed_layouts", double(typedCounts.layouts) / typed);
        row("label_list_ms", labelList);
        row("label_dropdown_ms", dropDown);
        row("explorer_refresh_ms", explorerRefresh);
        row("zoom_ms", zoom);
        row("startup_ready_ms", withFile.readyMs);
        row("ready_after_shown_ms", withFile.afterShownMs());
        row("startup_cpu_ms", withFile.cpuMs);
        row("peak_file_mb", withFile.peakKb / 1024.0);
        row("peak_empty_mb", empty.peakKb / 1024.0);
        // The program's own heap per line of the file, idle with it open, against the empty window.
        row("heap_per_line_b", withFile.heapKb >= 0 && empty.heapKb >= 0
                                   ? (withFile.heapKb - empty.heapKb) * 1024.0 / lines
                                   : -1.0);
        row("startup_empty_cpu_ms", empty.cpuMs);
        return haveExe && withFile.readyMs >= 0 && empty.readyMs >= 0 ? 0 : 1;
    }
    std::printf("lines %d, labels %d\n", lines, labels);
    std::printf("frame start-up with the file (load + scan + first window), once: %.1f ms\n", openMs);
    std::printf("open scan                         median %.2f ms\n", scan);
    std::printf("caret move within a line          median %.3f ms\n", withinLine);
    std::printf("caret move to another line        median %.3f ms (with its repaint)\n", otherLine);
    std::printf("caret move onto a label line      median %.3f ms\n", ontoLabel);
    std::printf("typing a character                median %.3f ms (with its repaint)\n", typing);
    std::printf("typing a character in a label     median %.3f ms\n", typingLabel);
    std::printf("typed through the platform        %.3f ms a key; per key %.1f paints, %.0f px painted, "
                "%.2f flushes, %.2f layouts\n",
                typedMs, double(typedCounts.paints) / typed, double(typedCounts.pixels) / typed,
                double(typedCounts.flushes) / typed, double(typedCounts.layouts) / typed);
    for (auto it = typedCounts.byWidget.cbegin(); it != typedCounts.byWidget.cend(); ++it)
        std::printf("    %-30s %8.0f px a key\n", qPrintable(it.key()), double(it.value()) / typed);
    std::printf("Alt+F12 label list                median %.2f ms\n", labelList);
    std::printf("label combo drop-down             median %.2f ms\n", dropDown);
    std::printf("code explorer refresh (%d entries) median %.2f ms\n", explorerEntries, explorerRefresh);
    std::printf("zoom in or out, repainted         median %.2f ms\n", zoom);

    if (!haveExe) {
        std::printf("(no %s: the whole program was not measured)\n", qPrintable(exe));
        return 0;
    }
    std::printf("whole program with the file: shown at %.0f ms, idle at %.0f ms, %.0f ms CPU (%.0f ms after "
                "the window appeared), peak %.1f MB\n",
                withFile.shownMs, withFile.readyMs, withFile.cpuMs, withFile.cpuMs - withFile.shownCpuMs,
                withFile.peakKb / 1024.0);
    std::printf("whole program, empty window: idle at %.0f ms, %.0f ms CPU, peak %.1f MB\n", empty.readyMs,
                empty.cpuMs, empty.peakKb / 1024.0);
    if (withFile.heapKb >= 0 && empty.heapKb >= 0)
        std::printf("whole program, heap per line of the file: %.0f bytes (%.1f MB with the file, %.1f MB empty)\n",
                    (withFile.heapKb - empty.heapKb) * 1024.0 / lines, withFile.heapKb / 1024.0,
                    empty.heapKb / 1024.0);
    return 0;
}
