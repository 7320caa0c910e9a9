// The label and declaration scanner: line kinds in slot 2 of the line data, and the label combo.
#include "editor/frmEditor.h"

#include "dialogs/frmScan.h"
#include "language/SourceScan.h"
#include "platform/sourceview/SourceView.h"

#include <QProgressBar>

#include <algorithm>

using namespace sourcescan;

namespace {

// Lines below this count scan too fast for a progress window to be more than a flicker.
constexpr int ScanWindowLines = 20000;
// The progress bar moves in steps of this many lines.
constexpr int ProgressStep = 4096;

} // namespace

void frmEditor::CheckForLabels(int, int line) {
    SourceDocument& doc = View_->Document();
    const QString s = doc.GetLine(line);
    if (isLabelLine(s, doc.lexerConfig())) {
        doc.SetLineData(line, KindSlot, LabelLine);
        UpdateLabels();
        return;
    }
    if (doc.GetLineData(line, KindSlot) == LabelLine)
        doc.SetLineData(line, KindSlot, NoKind);
}

void frmEditor::UpdateLabels() {
    SourceDocument& doc = View_->Document();
    // Nothing changed since the labels were last read.
    if (labelsKnown_ && doc.revision() == labelsRevision_)
        return;
    QStringList names;
    if (!labelsKnown_ || !updateChangedLabels(names)) {
        labelLines_.clear();
        const QStringList lines = doc.linesWhere(KindSlot, LabelLine, &labelLines_);
        names.clear();
        names.reserve(lines.size());
        for (int i = int(lines.size()) - 1; i >= 0; --i) {
            if (isLabelLine(lines[i], doc.lexerConfig()))
                continue;
            doc.SetLineData(labelLines_[i], KindSlot, NoKind);
            labelLines_.removeAt(i);
        }
        for (const QString& line : lines)
            if (isLabelLine(line, doc.lexerConfig()))
                names.append(labelName(line));
    }
    labelsKnown_ = true;
    labelsRevision_ = doc.revision();
    doc.markChanges();
    if (names != labelNames_) {
        labelNames_ = std::move(names);
        emit labelsChanged();
    }
}

bool frmEditor::updateChangedLabels(QStringList& names) {
    // While a label is typed only its own line changes: rename its entry instead of reading every line.
    SourceDocument& doc = View_->Document();
    int first = 0, last = -1;
    if (!doc.changedLines(first, last))
        return false;
    names = labelNames_;
    for (int line = first; line <= last; ++line) {
        const auto at = std::lower_bound(labelLines_.cbegin(), labelLines_.cend(), line);
        const bool listed = at != labelLines_.cend() && *at == line;
        const bool marked = doc.GetLineData(line, KindSlot) == LabelLine;
        if (listed != marked)
            return false;
        if (!marked)
            continue;
        const QString s = doc.GetLine(line);
        if (!isLabelLine(s, doc.lexerConfig()))
            return false;
        names[at - labelLines_.cbegin()] = labelName(s);
    }
    return true;
}

void frmEditor::CheckForVariables(int, int line) {
    SourceDocument& doc = View_->Document();
    const int kind = doc.GetLineData(line, KindSlot);
    const QString s = doc.GetLine(line);
    int next = kind;
    if (mayDeclare(s)) {
        next = declarationPass(s, kind, classesIn(doc.tokensOfLine(line)));
    } else if (kind != LabelLine) {
        next = NoKind;
    }
    if (next != kind)
        doc.SetLineData(line, KindSlot, next);
    // The INCLUDE mark rides along, for the code explorer and Open Include.
    const int include = includeName(s).isNull() ? 0 : 1;
    if (doc.GetLineData(line, IncludeSlot) != include)
        doc.SetLineData(line, IncludeSlot, include);
    const int symbol = symbolWordAt(s) >= 0 && declaresSymbol(s, classesIn(doc.tokensOfLine(line))) ? 1 : 0;
    if (doc.GetLineData(line, SymbolSlot) != symbol)
        doc.SetLineData(line, SymbolSlot, symbol);
}

void frmEditor::ScanDocument(frmScan* progress) {
    SourceDocument& doc = View_->Document();
    const int lines = doc.NumLines();
    QProgressBar* bar = progress && lines >= ScanWindowLines ? &progress->ProgressBar1() : nullptr;
    if (bar) {
        bar->setVisible(true);
        bar->setMaximum(lines);
        progress->showPainted();
    }
    // Each line as CheckForLabels and then CheckForVariables leave it. The combo is rebuilt once at
    // the end with what the per-line rebuilds would have left: the last one ran while the last label
    // line still carried its label mark, before its own declaration pass could change it.
    QStringList names;
    QList<int> kept;
    QString lastLabel;
    bool lastKept = true;
    doc.rewriteLineData(KindSlot, [&](int line, const QString& s, qint32 kind) -> qint32 {
        if (bar && line % ProgressStep == 0)
            bar->setValue(line);
        kind = labelPass(s, kind, doc.lexerConfig());
        const bool label = kind == LabelLine;
        if (mayDeclare(s)) {
            kind = declarationPass(s, kind, classesIn([&] { return doc.lexText(s); }));
        } else if (kind != LabelLine) {
            kind = NoKind;
        }
        if (!includeName(s).isNull())
            doc.SetLineData(line, IncludeSlot, 1);
        if (symbolWordAt(s) >= 0 && declaresSymbol(s, classesIn(doc.lexText(s))))
            doc.SetLineData(line, SymbolSlot, 1);
        if (label) {
            lastLabel = labelName(s);
            lastKept = kind == LabelLine;
            if (lastKept) {
                names.append(lastLabel);
                kept.append(line);
            }
        }
        return kind;
    });
    if (!lastLabel.isNull() && !lastKept)
        names.append(lastLabel);
    // The list now holds exactly the label lines, as UpdateLabels would read them: the first caret
    // move onto a label need not read the whole document again.
    labelsKnown_ = lastKept;
    // Kept for as long as the document is open (and shared with the label combo): no spare room.
    names.squeeze();
    kept.squeeze();
    if (lastKept) {
        labelLines_ = kept;
        labelsRevision_ = doc.revision();
        doc.markChanges();
    }
    labelNames_ = names;
    emit labelsChanged();
    if (bar)
        bar->setVisible(false);
}
