#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "language/DeviceDatabase.h"
#include "support/TestSupport.h"

Q_DECLARE_METATYPE(DevicePortTable)

namespace {

const DevicePortTable kOld{9, 9, 9, 9, 9, 9, 9, 9, 9, 9};

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

    // A data file missing from both folders is looked for in the application folder, and reading it
    // says the file is not found; one in the application folder is used.
    void missingAndLocalFiles() {
        QTemporaryDir dir;
        const QString name = QStringLiteral("no-such-file.ide");
        const QString missing = QDir::fromNativeSeparators(DeviceDatabase::dataFilePath(dir.path(), name));
        QCOMPARE(missing, dir.filePath(name));
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
        const QString local = dir.filePath(DeviceDatabase::FileName);
        QVERIFY(testsupport::writeFile(local, "A:PORTA=1\n"));
        QCOMPARE(
            QDir::fromNativeSeparators(DeviceDatabase::dataFilePath(dir.path(), DeviceDatabase::FileName)),
            local);
    }

    void shippedFile() {
        AppError error;
        const QStringList lines =
            DeviceDatabase::readLines(testsupport::dataDir() + QStringLiteral("/devicedata.ide"), error);
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
        // Devices whose pins are known from their data sheets, and whether PicBasic lists them.
        const QList<std::tuple<QString, DevicePortTable, bool>> known{
            {"PIC16F84A", {0, 5, 8}, true},
            {"PIC16F877A", {0, 6, 8, 8, 8, 3}, true},
            {"PIC12F675", {6}, false},
            {"PIC12C508A", {6}, true},
            {"PIC16C54", {0, 4, 8}, true},             // four RA pins
            {"PIC16C84", {0, 5, 8}, true},             // borrows its revision's bits
            {"PIC18F4550", {0, 7, 8, 8, 8, 4}, false}, // RC3 absent, RE3 an input
            {"PIC18F8722", {0, 8, 8, 8, 8, 8, 8, 6, 8, 8}, false},
            {"PIC16F1829", {0, 6, 8, 8}, false}}; // from RB4
        for (const auto& [name, ports, inPbc] : known) {
            DevicePortTable got = kOld;
            QVERIFY2(DeviceDatabase::findDevicePorts(lines, name, got, error) && got == ports,
                     qPrintable(name));
            QVERIFY2(pbc.contains(name) == inPbc, qPrintable(name));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DeviceDatabase)
#include "tst_DeviceDatabase.moc"
