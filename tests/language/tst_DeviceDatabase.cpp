#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "language/DeviceDatabase.h"
#include "support/TestSupport.h"

Q_DECLARE_METATYPE(DevicePortTable)

namespace {

const DevicePortTable kOld{9, 9, 9, 9, 9, 9, 9, 9, 9, 9};

QString shippedFile() {
    return testsupport::dataDir() + QStringLiteral("/devicedata.ide");
}

// The lists are written with '|' between the names.
void row(const char* name, const QByteArray& file, const QString& pbp, const QString& pbc,
         const QString& selected, bool matched, int error, const DevicePortTable& ports) {
    QTest::newRow(name) << file << pbp.split(u'|', Qt::SkipEmptyParts) << pbc.split(u'|', Qt::SkipEmptyParts)
                        << selected << matched << error << ports;
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
        row("no colon is no device", "X PORTA=5,PBC\nheading\n\n", "", "", "X", false, 0, kOld);
        row("PBP only device", "X:PORTA=5,PORTB=8\n", "X", "", "X", true, 0, {0, 5, 8});
        row("PBC marker anywhere", "PBC X:PORTB=8,PORTA=5\n", "PBC X", "PBC X", "PBC X", true, 0, {0, 5, 8});
        row("lower-case pbc is no marker", "X:PORTA=5,PORTB=8,pbc\n", "X", "", "X", true, 0, {0, 5, 8});
        row("lower-case name listed, never matched", "x:porta=5,portb=8,PBC\n", "x", "x", "x", false, 0,
            kOld);
        row("lower-case keys, upper-case name", "X:porta=5,portb=8\n", "X", "", "X", true, 0, {0, 5, 8});
        row("one digit only", "X:PORTB=12\n", "X", "", "X", true, 0, {0, 0, 1});
        row("missing digit at end of line", "X:GPIO=3,PORTA=4,PORTC=2,PORTB=\n", "X", "", "X", true, 13,
            {3, 4, 9, 9, 9, 9, 9, 9, 9, 9});
        row("non-digit after key", "X:PORTA=6,PORTB=x,PORTC=8\n", "X", "", "X", true, 13,
            {0, 6, 9, 9, 9, 9, 9, 9, 9, 9});
        row("blank after key", "X:PORTA= 6\n", "X", "", "X", true, 13, {0, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        row("GPIO only", "X:GPIO=6\n", "X", "", "X", true, 0, {6});
        row("ports F to J, no PORTI", "X:PORTF=8,PORTG=5,PORTH=8,PORTI=7,PORTJ=8\n", "X", "", "X", true, 0,
            {0, 0, 0, 0, 0, 0, 8, 5, 8, 8});
        row("first occurrence of a key counts", "X:PORTA=2,PORTA=7\n", "X", "", "X", true, 0, {0, 2});
        row("duplicates listed, first used", "D:PORTA=1,PBC\nD:PORTA=2\n", "D|D", "D", "D", true, 0, {0, 1});
        row("name before first colon, unchanged", " A B :PORTA=3:PORTB=4\n", " A B ", "", " A B ", true, 0,
            {0, 3, 4});
        row("selection not in file", "A:PORTA=3\n", "A", "", "B", false, 0, kOld);
        row("empty selection", "A:PORTA=3\n", "A", "", "", false, 0, kOld);
        row("CRLF file", "Heading\r\nA:PORTA=5,PORTB=8,PBC\r\nB:PORTA=8,PORTB=8\r\n", "A|B", "A", "B", true,
            0, {0, 8, 8});
        row("no line end at end of file", "A:PORTA=3\nB:GPIO=5", "A|B", "", "B", true, 0, {5});
        row("name with non-ASCII letters", "Gr\xc3\xbc\xc3\x9f:PORTA=3\n",
            QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"), "", QString::fromUtf8("GR\xc3\x9c\x53\x53"), true, 0,
            {0, 3});
    }

    void deviceLines() {
        QFETCH(QByteArray, file);
        QFETCH(QString, selected);
        QFETCH(int, errorNumber);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("devicedata.ide"));
        QVERIFY(testsupport::writeFile(path, file));
        AppError error;
        QTEST(DeviceDatabase::listDevices(path, true, error), "pbpList");
        QTEST(DeviceDatabase::listDevices(path, false, error), "pbcList");
        QCOMPARE(error.number, 0);
        DevicePortTable got = kOld;
        QTEST(DeviceDatabase::findDevicePorts(path, selected, got, error), "matched");
        QCOMPARE(error.number, errorNumber);
        if (errorNumber)
            QCOMPARE(error.description, errorDescription(errorNumber));
        QTEST(got, "ports");
    }

    void unreadableFile() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nothere/devicedata.ide"));
        AppError error;
        QVERIFY(DeviceDatabase::listDevices(missing, true, error).isEmpty());
        QCOMPARE(DeviceDatabase::ListingErrorPrefix + error.description,
                 QStringLiteral("Get Micro Listing Error: File not found"));
        DevicePortTable ports = kOld;
        QVERIFY(!DeviceDatabase::findDevicePorts(missing, QStringLiteral("PIC16F84A"), ports, error));
        QCOMPARE(DeviceDatabase::DeviceDataErrorPrefix + error.description,
                 QStringLiteral("Get Device Data Error: File not found"));
        QCOMPARE(ports, kOld);
        QVERIFY(DeviceDatabase::listDevices(dir.path(), true, error).isEmpty()); // a folder
        QCOMPARE(error.number, 75);
    }

    void dataFilePathPrefersApplicationFolder() {
        QTemporaryDir dir;
        // Missing everywhere: the application folder's path, so reading it reports a missing file.
        const QString name = QStringLiteral("no-such-file.ide");
        QCOMPARE(QDir::fromNativeSeparators(DeviceDatabase::dataFilePath(dir.path(), name)),
                 dir.filePath(name));
        const QString local = dir.filePath(DeviceDatabase::FileName);
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
        QVERIFY(!pbc.isEmpty() && pbc.size() < pbp.size());
        QCOMPARE(pbp.at(71), QStringLiteral("PIC16F877A"));
        QCOMPARE(QSet<QString>(pbp.cbegin(), pbp.cend()).size(), pbp.size());
        for (const QString& line : lines) {
            if (!line.contains(u':')) {
                QVERIFY2(!line.contains(u'='), qPrintable(line));
                continue;
            }
            const QString name = line.section(u':', 0, 0);
            QVERIFY2(name.startsWith(QLatin1String("PIC")) && name == name.toUpper(), qPrintable(line));
            QVERIFY2(line.count(u':') == 1, qPrintable(line));
            QVERIFY2(line.count(QLatin1String("PBC")) == (line.endsWith(QLatin1String(",PBC")) ? 1 : 0),
                     qPrintable(line));
            DevicePortTable ports{};
            AppError lineError;
            QVERIFY2(DeviceDatabase::findDevicePorts(lines, name, ports, lineError) && !lineError,
                     qPrintable(line));
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
        QTest::newRow("16F84A") << "PIC16F84A" << DevicePortTable{0, 5, 8} << true;
        QTest::newRow("16F877A") << "PIC16F877A" << DevicePortTable{0, 6, 8, 8, 8, 3} << true;
        QTest::newRow("12F675") << "PIC12F675" << DevicePortTable{6} << false;
        QTest::newRow("12C508A") << "PIC12C508A" << DevicePortTable{6} << true;
        QTest::newRow("16C54 has four RA pins") << "PIC16C54" << DevicePortTable{0, 4, 8} << true;
        QTest::newRow("16C84 borrows its revision's bits") << "PIC16C84" << DevicePortTable{0, 5, 8} << true;
        QTest::newRow("18F4550, RC3 absent, RE3 input")
            << "PIC18F4550" << DevicePortTable{0, 7, 8, 8, 8, 4} << false;
        QTest::newRow("18F8722 ports F to J")
            << "PIC18F8722" << DevicePortTable{0, 8, 8, 8, 8, 8, 8, 6, 8, 8} << false;
        QTest::newRow("16F1829 from RB4") << "PIC16F1829" << DevicePortTable{0, 6, 8, 8} << false;
    }

    void shippedDevices() {
        QFETCH(QString, name);
        DevicePortTable got = kOld;
        AppError error;
        QVERIFY(DeviceDatabase::findDevicePorts(shippedFile(), name, got, error));
        QTEST(got, "ports");
        QTEST(DeviceDatabase::listDevices(shippedFile(), false, error).contains(name), "pbc");
        QCOMPARE(error.number, 0);
    }
};

QTEST_GUILESS_MAIN(tst_DeviceDatabase)
#include "tst_DeviceDatabase.moc"
