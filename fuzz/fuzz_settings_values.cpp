// Values from the settings store as a user may have edited them by hand: the number conversions give a
// finite result in range for any text, and any text saved to the store reads back unchanged.
#include "platform/TextHelpers.h"
#include "common/Settings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const double v = text::Val(value);
    if (!std::isfinite(v))
        std::abort();
    (void)text::ValInt(value);
    double n = 0;
    if (text::ToNumber(value, n) && value.trimmed().isEmpty())
        std::abort();
    (void)text::Str(static_cast<long long>(text::ValInt(value)));

    static QTemporaryDir dir;
    static const AppPaths paths = AppPaths::forFolder(dir.path());
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    {
        Settings store(paths, ini);
        store.Save(QStringLiteral("Pinwright"), QStringLiteral("Startup"), QStringLiteral("DefaultDevice"), value);
        store.sync();
    }
    const Settings reread(paths, ini);
    if (reread.Read(QStringLiteral("Pinwright"), QStringLiteral("Startup"), QStringLiteral("DefaultDevice")) != value)
        std::abort();
    return 0;
}
