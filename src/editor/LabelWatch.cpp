#include "editor/LabelWatch.h"

#include "toolchain/IncludeFiles.h"
#include "platform/sourceview/SourceDocument.h"

#include <QTimer>

#include <algorithm>
#include <iterator>

LabelWatch::LabelWatch(SourceDocument& document, std::function<QString()> compilerPath, QObject* parent)
    : QObject(parent), doc_(document), compilerPath_(std::move(compilerPath)),
      check_([this](int line, QString& scratch) { return doc_.lineText(line, scratch); }), settleTimer_(new QTimer(this)) {
    settleTimer_->setSingleShot(true);
    settleTimer_->setInterval(0);
    connect(settleTimer_, &QTimer::timeout, this, &LabelWatch::settle);
    connect(&doc_, &SourceDocument::textReplaced, this,
            [this](TextPos from, TextPos oldEnd, TextPos newEnd) { onReplaced(from, oldEnd, newEnd); });
    connect(&doc_, &SourceDocument::contentsReset, this, [this] {
        if (loadedRevision_ != doc_.revision())
            reload_ = true;
        schedule();
    });
    // The comment starters are set with the keyword lists: a change of the starters reads every line.
    connect(&doc_, &SourceDocument::keywordsChanged, this, [this] {
        const LexerConfig& now = doc_.lexerConfig();
        if (now.commentStart == comments_.commentStart && now.commentStart2 == comments_.commentStart2 &&
            now.commentStart3 == comments_.commentStart3 && now.stringDelimiter == comments_.stringDelimiter)
            return;
        reload_ = true;
        schedule();
    });
}

LabelWatch::~LabelWatch() = default;

void LabelWatch::schedule() {
    if (!settleTimer_->isActive())
        settleTimer_->start();
}

void LabelWatch::onReplaced(TextPos from, TextPos oldEnd, TextPos newEnd) {
    if (!reload_) {
        check_.replaceLines(from.line, oldEnd.line - from.line + 1, newEnd.line - from.line + 1);
        // A text that got out of step (it should not) is read again whole.
        if (check_.lineCount() != doc_.NumLines())
            reload_ = true;
    }
    schedule();
}

labelcheck::LabelCheck& LabelWatch::fresh() {
    if (reload_) {
        reload_ = false;
        comments_ = doc_.lexerConfig();
        check_.load(doc_.NumLines(), comments_);
        loadedRevision_ = doc_.revision();
    }
    // A document saved under another name looks for its INCLUDEs from its new folder.
    const QString document = doc_.PathName();
    if (!includesRead_ || check_.includes() != includes_ || document != includesFrom_) {
        includesRead_ = true;
        includes_ = check_.includes();
        includesFrom_ = document;
        const QString compiler = compilerPath_ ? compilerPath_() : QString();
        // A nested INCLUDE is looked for beside the file that names it, then where the document's are.
        const auto find = [&](const QString& name, const QString& includer) {
            QStringList folders = includefiles::searchFolders(includer, compiler);
            for (const QString& folder : includefiles::searchFolders(document, compiler))
                if (!folders.contains(folder))
                    folders.append(folder);
            return includefiles::find(name, folders);
        };
        // An unsaved document has no folder to look in.
        labelcheck::Outside outside;
        if (document.isEmpty())
            outside.unread = includes_;
        else
            outside = labelcheck::readIncludes(includes_, document, find, doc_.lexerConfig(),
                                               labelcheck::includersOf(document, find));
        check_.setOutside(std::move(outside.keys), std::move(outside.unread));
    }
    return check_;
}

const QList<labelcheck::Problem>& LabelWatch::problems() {
    return fresh().problems();
}

QList<labelcheck::Problem> LabelWatch::problemsOn(int line) {
    return fresh().problemsOn(line);
}

const labelcheck::Problem* LabelWatch::problemAt(int line, int column) {
    return fresh().problemAt(line, column);
}

void LabelWatch::settle() {
    // Where each problem is: a line keeps its place in the list when one of its two jumps is fixed.
    QList<std::pair<int, int>> places;
    for (const labelcheck::Problem& p : problems())
        places.append({p.line, p.column});
    if (places == shown_)
        return;
    // Both lists are sorted: repaint the lines of what is in one and not in the other.
    QList<std::pair<int, int>> changed;
    std::set_symmetric_difference(places.cbegin(), places.cend(), shown_.cbegin(), shown_.cend(),
                                  std::back_inserter(changed));
    shown_ = places;
    for (const auto& [line, column] : std::as_const(changed))
        if (line < doc_.NumLines())
            doc_.UpdateViews(0, 0, line, 0, line);
}
