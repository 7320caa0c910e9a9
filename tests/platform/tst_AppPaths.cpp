#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/AppPaths.h"
#include "support/TestSupport.h"

class tst_AppPaths : public QObject {
    Q_OBJECT
private slots:
    // Read-only data is found beside the executable first, then in the install's share folder.
    void dataFileLookup_data() {
        QTest::addColumn<QStringList>("files"); // relative to the prefix
        QTest::addColumn<QString>("found");
        QTest::newRow("installed") << QStringList{"share/pinwright/devicedata.ide"}
                                   << "share/pinwright/devicedata.ide";
        QTest::newRow("beside the executable wins")
            << QStringList{"bin/devicedata.ide", "share/pinwright/devicedata.ide"} << "bin/devicedata.ide";
        QTest::newRow("nowhere: the place beside the executable") << QStringList{} << "bin/devicedata.ide";
    }
    void dataFileLookup() {
        QFETCH(QStringList, files);
        QFETCH(QString, found);
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        for (const QString& f : files)
            QVERIFY(testsupport::writeFile(root.filePath(f), "x"));
        const AppPaths paths = AppPaths::forExecutable(root.filePath(QStringLiteral("bin")));
        QCOMPARE(QDir::fromNativeSeparators(paths.dataFile(QStringLiteral("devicedata.ide"))),
                 QDir::cleanPath(root.filePath(found)));
    }
};

QTEST_GUILESS_MAIN(tst_AppPaths)
#include "tst_AppPaths.moc"
