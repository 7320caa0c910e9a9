// The argument counter of the quick lists with any line and keyword column, and the statement rules it
// feeds: the count never exceeds the line's commas, and any row and argument give a known action.
#include "language/QuickLists.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9)
        return 0;
    int column = 0;
    int row = 0;
    std::memcpy(&column, data, sizeof column);
    std::memcpy(&row, data + 4, sizeof row);
    const bool pbpMode = data[8] & 1;
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data + 9), qsizetype(size - 9));

    const int argument = quicklists::argumentNumber(line, column);
    if (argument < 0 || argument > line.count(u','))
        std::abort();
    for (const int arg : {argument, column, row}) {
        const quicklists::StatementList list = quicklists::statementList(pbpMode, row, arg);
        if (int(list.action) < int(quicklists::Action::Show) || int(list.action) > int(quicklists::Action::Branch))
            std::abort();
    }
    (void)quicklists::defineValues(row);
    // Every match coloured as a statement, then none: a name or a null, never a crash.
    for (const int cls : {sourcescan::StatementClass, 0})
        (void)quicklists::declaredName(line, [cls](int) { return cls; });
    (void)quicklists::insertedText(line, column);
    return 0;
}
