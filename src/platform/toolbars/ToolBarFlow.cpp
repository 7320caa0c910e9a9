#include "platform/toolbars/ToolBarFlow.h"

namespace toolbarflow {

QList<int> rows(const QList<int>& widths, int available, int spacing) {
    QList<int> out;
    out.reserve(widths.size());
    int row = 0;
    int used = 0;
    for (const int w : widths) {
        if (!out.isEmpty() && used + spacing + w > available) {
            ++row;
            used = 0;
        }
        used += (used > 0 ? spacing : 0) + w;
        out << row;
    }
    return out;
}

} // namespace toolbarflow
