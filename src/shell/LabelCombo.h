#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class ActiveToolBars;

// The frame's label combo as the scanner fills it: the names in document order, duplicates kept.
// It keeps its own copy of the names so that refilling it with an unchanged list, or with one label
// renamed, touches only what differs, and selecting a name needs no walk over the entries.
class LabelCombo {
public:
    explicit LabelCombo(ActiveToolBars& bars);

    // The combo's entries become `names`.
    void setEntries(const QStringList& names);
    // Selects the first entry equal to `name`, ignoring letter case; no match (or a null name)
    // clears the selection.
    void select(const QString& name);
    QStringList entries() const;

private:
    bool inStep() const;
    void reindex();

    ActiveToolBars& bars_;
    QStringList names_;
    QHash<QString, int> firstByUpper_;
};
