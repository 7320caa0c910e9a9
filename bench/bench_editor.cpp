// Benchmark of the editor's intelligence on a generated program of 100,000 lines with 10,000 labels and
// 10,000 declarations: the open scan, caret moves, typing, the label list and the label combo, inside a
// real frame. Run it by hand (see README.md); it prints the median of several runs per measurement.
#include "editor/frmEditor.h"
#include "platform/AppPaths.h"
#include "platform/ScriptedPrompts.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/CodeExplorer.h"
#include "shell/MDIMain.h"
#include "shell/Settings.h"
#include "shell/ToolIds.h"

#include <QMdiArea>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
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
        QElapsedTimer t;
        t.start();
        step();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

void key(QWidget* target, int qtKey, const QString& text, Qt::KeyboardModifiers mods = {}) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

long peakKbOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
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

    QElapsedTimer openTimer;
    openTimer.start();
    frame.MDIForm_Load(file);
    const double openMs = double(openTimer.nsecsElapsed()) / 1e6;
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
    const double otherLine = measure(runs, [&] { v.MoveCaret(0, at + 5 + (++flip % 2)); });
    const double ontoLabel = measure(
        runs, [&] { v.MoveCaret(++flip % 2, at); }, [&] { v.MoveCaret(0, at + 3); });

    v.MoveCaret(doc.GetLineLength(at + 8), at + 8);
    const double typing = measure(runs, [&] { key(keys, Qt::Key_A, QStringLiteral("a")); });
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

    std::printf("lines %d, labels %d\n", lines, int(frame.toolBars().ListCount(ids::ID_GotoLabel)));
    std::printf("frame start-up with the file (load + scan + first window), once: %.1f ms\n", openMs);
    std::printf("open scan                         median %.2f ms\n", scan);
    std::printf("caret move within a line          median %.3f ms\n", withinLine);
    std::printf("caret move to another line        median %.3f ms\n", otherLine);
    std::printf("caret move onto a label line      median %.3f ms\n", ontoLabel);
    std::printf("typing a character                median %.3f ms\n", typing);
    std::printf("typing a character in a label     median %.3f ms\n", typingLabel);
    std::printf("Alt+F12 label list                median %.2f ms\n", labelList);
    std::printf("label combo drop-down             median %.2f ms\n", dropDown);
    std::printf("code explorer refresh (%d entries) median %.2f ms\n", explorerEntries, explorerRefresh);
    std::printf("zoom in or out, repainted         median %.2f ms\n", zoom);

    // The whole program, started on the file and left to settle, with a settings store of its own.
    const QString exe = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/pinwright");
    if (QFile::exists(exe)) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(exe, {file});
        if (p.waitForStarted()) {
            QThread::sleep(6);
            std::printf("whole program, peak resident       %.1f MB\n",
                        double(peakKbOf(p.processId())) / 1024.0);
            p.kill();
            p.waitForFinished();
        }
    }
    return 0;
}
