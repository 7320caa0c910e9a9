#pragma once

#include "language/LabelCheck.h"
#include "platform/sourceview/LineStore.h"

#include <QObject>
#include <functional>

class SourceDocument;
class QTimer;

// Keeps the label check of one document in step with its text: the lines an edit touched are read
// again, a new text or other comment starters read them all. The labels of the INCLUDEd files, and of
// the files beside the document that INCLUDE it, are read when the list of INCLUDEs or the document's
// path changes and when asked to (the files may have changed). Lines whose problems changed are
// repainted once the edits of an event are over.
class LabelWatch : public QObject {
    Q_OBJECT
public:
    // `compilerPath` gives the compiler's path, whose folder is searched for INCLUDEd files too.
    LabelWatch(SourceDocument& document, std::function<QString()> compilerPath, QObject* parent = nullptr);
    ~LabelWatch() override;

    const QList<labelcheck::Problem>& problems();
    QList<labelcheck::Problem> problemsOn(int line);
    // The problem under a caret column (its end included), or null.
    const labelcheck::Problem* problemAt(int line, int column);
    // Reads the INCLUDEd files again at the next check.
    void rereadIncludes() {
        includesRead_ = false;
        schedule();
    }

private:
    void onReplaced(TextPos from, TextPos oldEnd, TextPos newEnd);
    void schedule();
    // Brings the check up to date with the text and the included files.
    labelcheck::LabelCheck& fresh();
    // Repaints the lines whose problems appeared or went since the last time.
    void settle();

    SourceDocument& doc_;
    std::function<QString()> compilerPath_;
    labelcheck::LabelCheck check_;
    // The comment starters the lines were read with.
    LexerConfig comments_;
    QTimer* settleTimer_;
    bool reload_ = true;
    // The document's revision when its lines were last read whole: a new text that has been read
    // already (a caret move of the view that loads it asks for the problems first) is not read again.
    quint64 loadedRevision_ = 0;
    bool includesRead_ = false;
    QStringList includes_;
    QString includesFrom_;
    // The places (line, column) of the problems painted last.
    QList<std::pair<int, int>> shown_;
};
