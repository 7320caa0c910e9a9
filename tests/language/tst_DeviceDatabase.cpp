#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "language/DeviceDatabase.h"
#include "support/TestSupport.h"

Q_DECLARE_METATYPE(DevicePortTable)

namespace {

DevicePortTable table(std::initializer_list<int> values) {
    DevicePortTable t{};
    int i = 0;
    for (int v : values)
        t[i++] = v;
    return t;
}

const DevicePortTable kOld = table({9, 9, 9, 9, 9, 9, 9, 9, 9, 9});

QString shippedFile() {
    return testsupport::dataDir() + QStringLiteral("/devicedata.ide");
}

} // namespace

class tst_DeviceDatabase : public QObject {
    Q_OBJECT
private slots:
    void deviceLines_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("pbpList");
        QTest::addColumn<QStringList>("pbcList");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("matched");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<DevicePortTable>("ports");

        QTest::newRow("no colon is no device")
            << QByteArray("16F84 PORTA=5,PORTB=8,PBC\nheading\n\n") << QStringList() << QStringList()
            << "16F84" << false << 0 << kOld;
        QTest::newRow("PBP only device") << QByteArray("16F84:PORTA=5,PORTB=8\n") << QStringList{"16F84"}
                                         << QStringList() << "16F84" << true << 0 << table({0, 5, 8});
        QTest::newRow("PBC marker anywhere")
            << QByteArray("PBC 16F84:PORTB=8,PORTA=5\n") << QStringList{"PBC 16F84"}
            << QStringList{"PBC 16F84"} << "PBC 16F84" << true << 0 << table({0, 5, 8});
        QTest::newRow("lower-case pbc is no marker")
            << QByteArray("16F84:PORTA=5,PORTB=8,pbc\n") << QStringList{"16F84"} << QStringList() << "16F84"
            << true << 0 << table({0, 5, 8});
        QTest::newRow("lower-case name listed but never matches")
            << QByteArray("16f84:porta=5,portb=8,PBC\n") << QStringList{"16f84"} << QStringList{"16f84"}
            << "16f84" << false << 0 << kOld;
        QTest::newRow("lower-case keys of an upper-case name")
            << QByteArray("16F84:porta=5,portb=8\n") << QStringList{"16F84"} << QStringList() << "16F84"
            << true << 0 << table({0, 5, 8});
        QTest::newRow("one digit only") << QByteArray("X:PORTB=12\n") << QStringList{"X"} << QStringList()
                                        << "X" << true << 0 << table({0, 0, 1});
        QTest::newRow("missing digit at end of line")
            << QByteArray("X:GPIO=3,PORTA=4,PORTC=2,PORTB=\n") << QStringList{"X"} << QStringList() << "X"
            << true << 13 << DevicePortTable{3, 4, 9, 9, 9, 9, 9, 9, 9, 9};
        QTest::newRow("non-digit after key")
            << QByteArray("X:PORTA=6,PORTB=x,PORTC=8\n") << QStringList{"X"} << QStringList() << "X" << true
            << 13 << DevicePortTable{0, 6, 9, 9, 9, 9, 9, 9, 9, 9};
        QTest::newRow("blank after key")
            << QByteArray("X:PORTA= 6\n") << QStringList{"X"} << QStringList() << "X" << true << 13
            << DevicePortTable{0, 9, 9, 9, 9, 9, 9, 9, 9, 9};
        QTest::newRow("GPIO only") << QByteArray("PIC12F675:GPIO=6\n") << QStringList{"PIC12F675"}
                                   << QStringList() << "PIC12F675" << true << 0 << table({6});
        QTest::newRow("ports F to J, no PORTI")
            << QByteArray("BIG:PORTF=8,PORTG=5,PORTH=8,PORTI=7,PORTJ=8\n") << QStringList{"BIG"}
            << QStringList() << "BIG" << true << 0 << table({0, 0, 0, 0, 0, 0, 8, 5, 8, 8});
        QTest::newRow("first occurrence of a key counts")
            << QByteArray("X:PORTA=2,PORTA=7\n") << QStringList{"X"} << QStringList() << "X" << true << 0
            << table({0, 2});
        QTest::newRow("duplicates listed, first used")
            << QByteArray("D:PORTA=1,PBC\nD:PORTA=2\n") << QStringList{"D", "D"} << QStringList{"D"} << "D"
            << true << 0 << table({0, 1});
        QTest::newRow("name before first colon, unchanged")
            << QByteArray(" A B :PORTA=3:PORTB=4\n") << QStringList{" A B "} << QStringList() << " A B "
            << true << 0 << table({0, 3, 4});
        QTest::newRow("selection not in file")
            << QByteArray("A:PORTA=3\n") << QStringList{"A"} << QStringList() << "B" << false << 0 << kOld;
        QTest::newRow("empty selection")
            << QByteArray("A:PORTA=3\n") << QStringList{"A"} << QStringList() << "" << false << 0 << kOld;
        QTest::newRow("CRLF file")
            << QByteArray("Heading\r\nPIC16F84A:PORTA=5,PORTB=8,PBC\r\nPIC16F88:PORTA=8,PORTB=8\r\n")
            << QStringList{"PIC16F84A", "PIC16F88"} << QStringList{"PIC16F84A"} << "PIC16F88" << true << 0
            << table({0, 8, 8});
        QTest::newRow("CRLF, digit last on the line")
            << QByteArray("X:PORTB=7\r\n") << QStringList{"X"} << QStringList() << "X" << true << 0
            << table({0, 0, 7});
        QTest::newRow("no line end at end of file")
            << QByteArray("A:PORTA=3\nB:GPIO=5") << QStringList{"A", "B"} << QStringList() << "B" << true << 0
            << table({5});
        QTest::newRow("name with non-ASCII letters")
            << QByteArray("Gr\xc3\xbc\xc3\x9f:PORTA=3\n")
            << QStringList{QString::fromUtf8("Gr\xc3\xbc\xc3\x9f")} << QStringList()
            << QString::fromUtf8("GR\xc3\x9c\x53\x53") << true << 0 << table({0, 3});
    }

    void deviceLines() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, pbpList);
        QFETCH(QStringList, pbcList);
        QFETCH(QString, selected);
        QFETCH(bool, matched);
        QFETCH(int, errorNumber);
        QFETCH(DevicePortTable, ports);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("devicedata.ide"));
        QVERIFY(testsupport::writeFile(path, file));

        AppError error;
        QCOMPARE(DeviceDatabase::listDevices(path, true, error), pbpList);
        QCOMPARE(error.number, 0);
        QCOMPARE(DeviceDatabase::listDevices(path, false, error), pbcList);
        QCOMPARE(error.number, 0);

        DevicePortTable got = kOld;
        QCOMPARE(DeviceDatabase::findDevicePorts(path, selected, got, error), matched);
        QCOMPARE(error.number, errorNumber);
        if (errorNumber)
            QCOMPARE(error.description, errorDescription(errorNumber));
        QCOMPARE(got, ports);
    }

    void missingFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("nothere/devicedata.ide"));
        AppError error;
        QVERIFY(DeviceDatabase::listDevices(path, true, error).isEmpty());
        QCOMPARE(error.number, 53);
        QCOMPARE(DeviceDatabase::ListingErrorPrefix + error.description,
                 QStringLiteral("Get Micro Listing Error: File not found"));

        DevicePortTable ports = kOld;
        QVERIFY(!DeviceDatabase::findDevicePorts(path, QStringLiteral("PIC16F84A"), ports, error));
        QCOMPARE(error.number, 53);
        QCOMPARE(DeviceDatabase::DeviceDataErrorPrefix + error.description,
                 QStringLiteral("Get Device Data Error: File not found"));
        QCOMPARE(ports, kOld);
    }

    void folderInsteadOfFile() {
        QTemporaryDir dir;
        AppError error;
        QVERIFY(DeviceDatabase::listDevices(dir.path(), true, error).isEmpty());
        QCOMPARE(error.number, 75);
    }

    void dataFilePathPrefersApplicationFolder() {
        QTemporaryDir dir;
        const QString local = dir.filePath(QStringLiteral("devicedata.ide"));
        // Missing everywhere: the application folder's path, so reading it reports a missing file.
        const QString name = QStringLiteral("no-such-file.ide");
        QCOMPARE(QDir::fromNativeSeparators(DeviceDatabase::dataFilePath(dir.path(), name)),
                 dir.filePath(name));
        QVERIFY(testsupport::writeFile(local, "A:PORTA=1\n"));
        QCOMPARE(
            QDir::fromNativeSeparators(DeviceDatabase::dataFilePath(dir.path(), DeviceDatabase::FileName)),
            local);
    }

    void shippedFileParses() {
        AppError error;
        const QStringList lines = DeviceDatabase::readLines(shippedFile(), error);
        QCOMPARE(error.number, 0);
        const QStringList pbp = DeviceDatabase::listDevices(lines, true);
        const QStringList pbc = DeviceDatabase::listDevices(lines, false);
        QVERIFY(pbp.size() > 300);
        QVERIFY(!pbc.isEmpty());
        QVERIFY(pbc.size() < pbp.size());
        QCOMPARE(pbp.at(71), QStringLiteral("PIC16F877A"));
        QCOMPARE(QSet<QString>(pbp.cbegin(), pbp.cend()).size(), pbp.size());

        for (const QString& line : lines) {
            if (!line.contains(u':')) {
                QVERIFY2(!line.contains(QLatin1String("=")), qPrintable(line));
                continue;
            }
            const QString name = line.section(u':', 0, 0);
            QVERIFY2(name.startsWith(QLatin1String("PIC")) && name == name.toUpper(), qPrintable(line));
            QVERIFY2(line.count(u':') == 1, qPrintable(line));
            QVERIFY2(line.count(QLatin1String("PBC")) == (line.endsWith(QLatin1String(",PBC")) ? 1 : 0),
                     qPrintable(line));
            DevicePortTable ports{};
            AppError lineError;
            QVERIFY2(DeviceDatabase::findDevicePorts(lines, name, ports, lineError), qPrintable(line));
            QVERIFY2(!lineError, qPrintable(line));
            int total = 0;
            for (int n : ports) {
                QVERIFY2(n >= 0 && n <= 8, qPrintable(line));
                total += n;
            }
            QVERIFY2(total > 0, qPrintable(line));
        }
    }

    void shippedDevices_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<DevicePortTable>("ports");
        QTest::addColumn<bool>("pbc");
        QTest::newRow("16F84A") << "PIC16F84A" << table({0, 5, 8}) << true;
        QTest::newRow("16F877A") << "PIC16F877A" << table({0, 6, 8, 8, 8, 3}) << true;
        QTest::newRow("16F628A") << "PIC16F628A" << table({0, 8, 8}) << true;
        QTest::newRow("12F675") << "PIC12F675" << table({6}) << false;
        QTest::newRow("10F200") << "PIC10F200" << table({4}) << false;
        QTest::newRow("12C508A") << "PIC12C508A" << table({6}) << true;
        QTest::newRow("16C54 has four RA pins") << "PIC16C54" << table({0, 4, 8}) << true;
        QTest::newRow("16C84 borrows its revision's bits") << "PIC16C84" << table({0, 5, 8}) << true;
        QTest::newRow("18F4550, RC3 absent, RE3 input") << "PIC18F4550" << table({0, 7, 8, 8, 8, 4}) << false;
        QTest::newRow("18F452") << "PIC18F452" << table({0, 7, 8, 8, 8, 3}) << false;
        QTest::newRow("18F8722 ports F to J")
            << "PIC18F8722" << table({0, 8, 8, 8, 8, 8, 8, 6, 8, 8}) << false;
        QTest::newRow("16F1829 from RB4") << "PIC16F1829" << table({0, 6, 8, 8}) << false;
        QTest::newRow("16F88") << "PIC16F88" << table({0, 8, 8}) << false;
    }

    void shippedDevices() {
        QFETCH(QString, name);
        QFETCH(DevicePortTable, ports);
        QFETCH(bool, pbc);
        DevicePortTable got = kOld;
        AppError error;
        QVERIFY(DeviceDatabase::findDevicePorts(shippedFile(), name, got, error));
        QCOMPARE(error.number, 0);
        QCOMPARE(got, ports);
        QCOMPARE(DeviceDatabase::listDevices(shippedFile(), false, error).contains(name), pbc);
    }
};

QTEST_GUILESS_MAIN(tst_DeviceDatabase)
#include "tst_DeviceDatabase.moc"
