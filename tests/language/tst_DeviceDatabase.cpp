#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "language/DeviceDatabase.h"
#include "support/TestSupport.h"

#include <algorithm>

class tst_DeviceDatabase : public QObject {
    Q_OBJECT
    static constexpr DevicePortTable kOld{9, 9, 9, 9, 9, 9, 9, 9, 9, 9};

private slots:
    // "PicBasic Pro list / PicBasic list / found? ports", the ports one digit each from GPIO to PORTJ,
    // starting from 9s, and the error number when there is one.
    void deviceLines() {
        const QList<std::tuple<QByteArray, QString, QString>> rows{
            {"X PORTA=5,PBC\nheading\n\n", "X", " /  / no 9999999999"},             // no colon, no device
            {"PBC X:PORTB=8,PORTA=5\n", "PBC X", "PBC X / PBC X / yes 0580000000"}, // the marker anywhere
            {"X:PORTA=5,PORTB=8,pbc\n", "X", "X /  / yes 0580000000"},
            {"x:porta=5,portb=8,PBC\n", "x", "x / x / yes 0580000000"}, // a lower-case name is found
            {"pic16f84a:PORTA=5\nPIC16F84A:PORTA=4\n", "PIC16F84A",
             "pic16f84a,PIC16F84A /  / yes 0500000000"},
            {"X:PORTB=12\n", "X", "X /  / yes 0010000000"}, // one digit only
            {"X:GPIO=3,PORTA=4,PORTC=2,PORTB=\n", "X", "X /  / yes 3499999999 error 13"},
            {"X:PORTA=6,PORTB=x,PORTC=8\n", "X", "X /  / yes 0699999999 error 13"},
            {"X:PORTA= 6\n", "X", "X /  / yes 0999999999 error 13"},
            {"X:PORTF=8,PORTG=5,PORTH=8,PORTI=7,PORTJ=8\n", "X", "X /  / yes 0000008588"}, // no PORTI
            {"X:PORTA=2,PORTA=7\n", "X", "X /  / yes 0200000000"},
            {"D:PORTA=1,PBC\nD:PORTA=2\n", "D", "D,D / D / yes 0100000000"},
            {" A B :PORTA=3:PORTB=4\n", " A B ",
             " A B  /  / yes 0340000000"}, // the name before the first colon
            {"A:PORTA=3\n", "B", "A /  / no 9999999999"},
            {"Heading\r\nA:PORTA=5,PORTB=8,PBC\r\nB:PORTA=8,PORTB=8\r\n", "B", "A,B / A / yes 0880000000"},
            {"A:PORTA=3\nB:GPIO=5", "B", "A,B /  / yes 5000000000"}, // no line end at the end
            {"Gr\xc3\xbc\xc3\x9f:PORTA=3\n", "GR\u00dcSS", "Gr\u00fc\u00df /  / yes 0300000000"}};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("devicedata.ide"));
        for (const auto& [file, selected, expected] : rows) {
            QVERIFY(testsupport::writeFile(path, file));
            AppError error;
            QString got = DeviceDatabase::listDevices(path, true, error).join(u',') + QStringLiteral(" / ") +
                          DeviceDatabase::listDevices(path, false, error).join(u',') + QStringLiteral(" / ");
            QCOMPARE(error.number, 0);
            DevicePortTable ports = kOld;
            got += DeviceDatabase::findDevicePorts(path, selected, ports, error) ? "yes " : "no ";
            for (int n : ports)
                got += QString::number(n);
            if (error)
                got += QStringLiteral(" error %1").arg(error.number);
            QCOMPARE(QString::fromUtf8(file) + " > " + got, QString::fromUtf8(file) + " > " + expected);
            QCOMPARE(error.description, error ? errorDescription(error.number) : QString());
        }
    }

    // A missing file or a folder leaves the ports as they were (the messages show in tst_Devices).
    void missingFiles() {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("no-such-file.ide"));
        AppError error;
        DevicePortTable ports = kOld;
        QVERIFY(!DeviceDatabase::findDevicePorts(missing, QStringLiteral("PIC16F84A"), ports, error));
        QCOMPARE(ports, kOld);
        QVERIFY(DeviceDatabase::listDevices(dir.path(), true, error).isEmpty()); // a folder
        QCOMPARE(error.number, 75);
    }

    void shippedFile() {
        AppError error;
        const QStringList lines =
            DeviceDatabase::readLines(testsupport::dataDir() + QStringLiteral("/devicedata.ide"), error);
        QCOMPARE(error.number, 0);
        const QStringList pbp = DeviceDatabase::listDevices(lines, true);
        const QStringList pbc = DeviceDatabase::listDevices(lines, false);
        QVERIFY(pbp.size() > 300);
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
            // Every port has from 0 to 8 pins, and every device has some.
            const auto [low, high] = std::minmax_element(ports.cbegin(), ports.cend());
            QVERIFY2(*low >= 0 && *high <= 8 && *high > 0, qPrintable(line));
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
