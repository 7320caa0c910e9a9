#include "shell/LabelCombo.h"

#include "platform/toolbars/ActiveToolBars.h"
#include "common/ToolIds.h"

LabelCombo::LabelCombo(ActiveToolBars& bars) : bars_(bars) {}

bool LabelCombo::inStep() const {
    return bars_.ListCount(ids::ID_GotoLabel) == names_.size();
}

void LabelCombo::reindex() {
    firstByUpper_.clear();
    firstByUpper_.reserve(names_.size());
    for (int i = int(names_.size()) - 1; i >= 0; --i)
        firstByUpper_.insert(names_[i].toUpper(), i);
}

void LabelCombo::setEntries(const QStringList& names) {
    if (names.size() == names_.size() && inStep()) {
        // Typically one label renamed while it is typed: only that entry and its index change.
        for (int i = 0; i < names.size(); ++i) {
            if (names[i] == names_[i])
                continue;
            bars_.ListSetText(ids::ID_GotoLabel, i, names[i]);
            const QString oldKey = names_[i].toUpper();
            names_[i] = names[i];
            if (firstByUpper_.value(oldKey, -1) == i) {
                firstByUpper_.remove(oldKey);
                for (int j = i + 1; j < names_.size(); ++j)
                    if (names_[j].toUpper() == oldKey) {
                        firstByUpper_.insert(oldKey, j);
                        break;
                    }
            }
            const QString newKey = names[i].toUpper();
            if (firstByUpper_.value(newKey, i) >= i)
                firstByUpper_.insert(newKey, i);
        }
        return;
    }
    names_ = names;
    bars_.ListSetAll(ids::ID_GotoLabel, names_);
    reindex();
}

void LabelCombo::select(const QString& name) {
    int index = -1;
    if (!name.isNull() && inStep())
        index = firstByUpper_.value(name.toUpper(), -1);
    if (bars_.ListIndex(ids::ID_GotoLabel) != index)
        bars_.SetListIndex(ids::ID_GotoLabel, index);
}

QStringList LabelCombo::entries() const {
    return names_;
}
