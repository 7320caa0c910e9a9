#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/AppPaths.h"
#include "support/TestSupport.h"

class tst_AppPaths : public QObject {
    Q_OBJECT
private slots:
    // Read-only data, files and folders alike, is found beside the executable first (a build tree, a
    // portable folder), then in the share folder beside its prefix, wherever that prefix was moved.
    void dataFileLookup() {
        struct Row {
            QStringList files; // relative to the prefix
            QString name;
            QString found;
        };
        const Row rows[] = {
            {{"share/pinwright/devicedata.ide"}, "devicedata.ide", "share/pinwright/devicedata.ide"},
            {{"bin/devicedata.ide", "share/pinwright/devicedata.ide"},
             "devicedata.ide",
             "bin/devicedata.ide"},
            {{"share/pinwright/help/contents.html"}, "help", "share/pinwright/help"},
            {{"share/pinwright/examples/blink.pbp", "bin/help/contents.html"},
             "examples",
             "share/pinwright/examples"},
            {{"share/other/devicedata.ide"}, "devicedata.ide", "bin/devicedata.ide"},
            {{}, "devicedata.ide", "bin/devicedata.ide"},
        };
        for (const Row& row : rows) {
            QTemporaryDir prefix;
            const QDir root(prefix.path());
            QVERIFY(root.mkpath(QStringLiteral("bin")));
            for (const QString& f : row.files)
                QVERIFY(testsupport::writeFile(root.filePath(f), "x"));
            const AppPaths paths = AppPaths::forExecutable(root.filePath(QStringLiteral("bin")));
            QCOMPARE(root.relativeFilePath(QDir::fromNativeSeparators(paths.dataFile(row.name))), row.found);
            // The last resort is the prefix the program was built for.
            QCOMPARE(QDir::fromNativeSeparators(paths.dataFolders().constLast()),
                     QDir::cleanPath(QStringLiteral(PINWRIGHT_SHARE_DIR)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_AppPaths)
#include "tst_AppPaths.moc"
