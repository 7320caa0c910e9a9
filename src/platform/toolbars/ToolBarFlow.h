#pragma once

#include <QList>

namespace toolbarflow {

// The row, from 0, of each of a line of toolbars of these widths laid out left to right in rows of
// `available` width: a toolbar goes on the row of the one before while it fits there and starts the
// next row otherwise. One wider than a whole row stands alone on its row.
QList<int> rows(const QList<int>& widths, int available, int spacing = 0);

} // namespace toolbarflow
