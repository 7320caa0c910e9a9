// The label and declaration scanner: line kinds in slot 2 of the line data, and the label combo.
#include "editor/frmEditor.h"

#include "dialogs/frmScan.h"
#include "language/SourceScan.h"
#include "platform/sourceview/SourceView.h"
#include "shell/LabelCombo.h"
#include "shell/MDIMain.h"

#include <QProgressBar>

using namespace sourcescan;

namespace {

// The class the control gives a column of a line's tokens.
int classIn(const QList<SourceToken>& tokens, int col) {
    for (const SourceToken& t : tokens)
        if (col >= t.start && col < t.start + t.length)
            return t.cls;
    return 0;
}

// Lines below this count scan too fast for a progress window to be more than a flicker.
constexpr int ScanWindowLines = 20000;
// The progress bar moves in steps of this many lines.
constexpr int ProgressStep = 4096;

} // namespace

void frmEditor::CheckForLabels(int, int line) {
    SourceDocument& doc = View_->Document();
    const QString s = doc.GetLine(line);
    if (isLabelLine(s)) {
        doc.SetLineData(line, KindSlot, LabelLine);
        UpdateLabels();
        return;
    }
    if (doc.GetLineData(line, KindSlot) == LabelLine)
        doc.SetLineData(line, KindSlot, NoKind);
}

void frmEditor::UpdateLabels() {
    SourceDocument& doc = View_->Document();
    // Nothing changed since this window last filled the combo: it already shows these labels.
    if (doc.revision() == labelsRevision_ && frame_.labelCombo().entries() == labelNames_)
        return;
    QList<int> numbers;
    const QStringList lines = doc.linesWhere(KindSlot, LabelLine, &numbers);
    QStringList names;
    names.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        if (isLabelLine(lines[i]))
            names.append(labelName(lines[i]));
        else
            doc.SetLineData(numbers[i], KindSlot, NoKind);
    }
    frame_.labelCombo().setEntries(names);
    labelNames_ = frame_.labelCombo().entries();
    labelsRevision_ = doc.revision();
}

void frmEditor::CheckForVariables(int, int line) {
    SourceDocument& doc = View_->Document();
    const int kind = doc.GetLineData(line, KindSlot);
    const QString s = doc.GetLine(line);
    int next = kind;
    if (mayDeclare(s)) {
        const QList<SourceToken> tokens = doc.tokensOfLine(line);
        next = declarationPass(s, kind, [&tokens](int col) { return classIn(tokens, col); });
    } else if (kind != LabelLine) {
        next = NoKind;
    }
    if (next != kind)
        doc.SetLineData(line, KindSlot, next);
}

void frmEditor::ScanDocument(frmScan* progress) {
    SourceDocument& doc = View_->Document();
    const int lines = doc.NumLines();
    QProgressBar* bar = progress && lines >= ScanWindowLines ? &progress->ProgressBar1() : nullptr;
    if (bar) {
        progress->show();
        bar->setVisible(true);
        bar->setMaximum(lines);
        progress->repaint();
    }
    // Each line as CheckForLabels and then CheckForVariables leave it. The combo is rebuilt once at
    // the end with what the per-line rebuilds would have left: the last one ran while the last label
    // line still carried its label mark, before its own declaration pass could change it.
    QStringList names;
    QString lastLabel;
    bool lastKept = true;
    doc.rewriteLineData(KindSlot, [&](int line, const QString& s, qint32 kind) -> qint32 {
        if (bar && line % ProgressStep == 0)
            bar->setValue(line);
        kind = labelPass(s, kind);
        const bool label = kind == LabelLine;
        if (mayDeclare(s)) {
            const QList<SourceToken> tokens = doc.lexText(s);
            kind = declarationPass(s, kind, [&tokens](int col) { return classIn(tokens, col); });
        } else if (kind != LabelLine) {
            kind = NoKind;
        }
        if (label) {
            lastLabel = labelName(s);
            lastKept = kind == LabelLine;
            if (lastKept)
                names.append(lastLabel);
        }
        return kind;
    });
    if (!lastLabel.isNull()) {
        if (!lastKept)
            names.append(lastLabel);
        frame_.labelCombo().setEntries(names);
    }
    if (bar)
        bar->setVisible(false);
}
