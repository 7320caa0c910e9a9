#include "shell/LabelCombo.h"

#include "platform/sourceview/SourceLexer.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/ToolIds.h"

#include <algorithm>

LabelCombo::LabelCombo(ActiveToolBars& bars) : bars_(bars) {}

bool LabelCombo::inStep() const {
    return bars_.ListCount(ids::ID_GotoLabel) == names_.size();
}

namespace {

// The order of QString::compare ignoring letter case, the ASCII letters of names compared without
// case folding (the 12,500 names of a large program are sorted when it opens).
int compareNames(const QString& a, const QString& b) {
    using SourceLexer::asciiLower;
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80) {
            // From here on as Qt compares (a surrogate pair taken whole).
            const qsizetype from = i > 0 && a[i - 1].isHighSurrogate() ? i - 1 : i;
            return QStringView(a).mid(from).compare(QStringView(b).mid(from), Qt::CaseInsensitive);
        }
        if (asciiLower(x) != asciiLower(y))
            return asciiLower(x) < asciiLower(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace

void LabelCombo::reindex() {
    byName_.resize(size_t(names_.size()));
    for (int i = 0; i < int(byName_.size()); ++i)
        byName_[size_t(i)] = i;
    std::stable_sort(byName_.begin(), byName_.end(),
                     [this](int a, int b) { return compareNames(names_.at(a), names_.at(b)) < 0; });
    byName_.shrink_to_fit();
}

std::vector<int>::iterator LabelCombo::place(int i) {
    return std::lower_bound(byName_.begin(), byName_.end(), i, [this](int e, int j) {
        const int c = compareNames(names_.at(e), names_.at(j));
        return c < 0 || (c == 0 && e < j);
    });
}

void LabelCombo::setEntries(const QStringList& names) {
    if (names.size() == names_.size() && inStep()) {
        // Typically one label renamed while it is typed: only that entry and its place change. The
        // new list is taken whole (shared, not copied) once the old places are out of the order.
        QList<int> changed;
        for (int i = 0; i < names.size(); ++i)
            if (names.at(i) != names_.at(i)) {
                changed.append(i);
                byName_.erase(place(i));
            }
        names_ = names;
        for (const int i : std::as_const(changed)) {
            bars_.ListSetText(ids::ID_GotoLabel, i, names_.at(i));
            byName_.insert(place(i), i);
        }
        return;
    }
    names_ = names;
    bars_.ListSetAll(ids::ID_GotoLabel, names_);
    reindex();
}

void LabelCombo::select(const QString& name) {
    int index = -1;
    if (!name.isNull() && inStep()) {
        const auto at = std::lower_bound(byName_.begin(), byName_.end(), name, [this](int e, const QString& n) {
            return compareNames(names_.at(e), n) < 0;
        });
        if (at != byName_.end() && compareNames(names_.at(*at), name) == 0)
            index = *at;
    }
    if (bars_.ListIndex(ids::ID_GotoLabel) != index)
        bars_.SetListIndex(ids::ID_GotoLabel, index);
}

QStringList LabelCombo::entries() const {
    return names_;
}
