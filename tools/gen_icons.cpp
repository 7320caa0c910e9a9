// Writes the program's icon into a desktop icon theme tree: <out>/hicolor/NxN/apps/pinwright.png.
#include "platform/toolbars/ToolIcons.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        if (!QDir().mkpath(folder) ||
            !toolicons::applicationPixmap(size).save(folder + QStringLiteral("/pinwright.png"))) {
            std::fprintf(stderr, "gen_icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
