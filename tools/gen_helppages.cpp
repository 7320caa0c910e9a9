// Writes the statement help pages into data/help/statements (or the folder given as argument).
// Usage: gen_helppages [OUTPUT_FOLDER]; run it after any change to the statement tables or the page
// layout and commit the result. tst_HelpPages fails while the shipped pages are out of date.

#include "language/HelpPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder =
        args.size() > 1 ? args.at(1) : QStringLiteral(PINWRIGHT_SOURCE_DIR "/data/help/statements");
    if (!QDir().mkpath(folder)) {
        QTextStream(stderr) << "cannot create " << folder << '\n';
        return 1;
    }
    const QMap<QString, QString> pages = HelpPages::statementPages();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        QFile file(QDir(folder).filePath(it.key()));
        const QByteArray bytes = it.value().toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            QTextStream(stderr) << "cannot write " << file.fileName() << '\n';
            return 1;
        }
    }
    QTextStream(stdout) << pages.size() << " pages written to " << QDir::toNativeSeparators(folder) << '\n';
    return 0;
}
