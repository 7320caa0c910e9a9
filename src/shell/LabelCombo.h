#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class ActiveToolBars;

// The frame's label combo as the scanner fills it: the names in document order, duplicates kept.
// It keeps the names (shared with the combo's list) so that refilling it with an unchanged list, or
// with one label renamed, touches only what differs, and an order of the entries by name, letter case
// ignored, so that selecting a name needs no walk over them.
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
    // Where entry `i` stands (or would stand, with its current name) in the order by name.
    std::vector<int>::iterator place(int i);

    ActiveToolBars& bars_;
    QStringList names_;
    std::vector<int> byName_; // entry numbers by name (letter case ignored), then by number
};
