#include "toolchain/OptionRules.h"

#include "platform/TextHelpers.h"

namespace optionrules {

QString mpasmOptions(const QString& options) {
    if (options.contains(QStringLiteral("-ampasm"), Qt::CaseInsensitive) &&
        !options.contains(QStringLiteral("-oq"), Qt::CaseInsensitive))
        return text::Trim(options) + QStringLiteral(" -oq");
    return options;
}

QString sourceFolder(const QString& typed) {
    const QString trimmed = text::Trim(typed);
    if (trimmed.endsWith(u'\\'))
        return trimmed.chopped(1);
#ifndef Q_OS_WIN
    if (trimmed.endsWith(u'/') && trimmed.size() > 1)
        return trimmed.chopped(1);
#endif
    return typed;
}

} // namespace optionrules
