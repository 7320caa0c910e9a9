#include <QTest>

#include "terminal/PortChoice.h"

class tst_PortChoice : public QObject {
    Q_OBJECT
private slots:
    // The entry picked (-1: none) and the field's text give a fixed port number or a device name.
    void choose() {
        const QStringList entries =
            portchoice::fixedEntries() + QStringList{"/dev/ttyUSB0 - FT232R", "/dev/ttyACM0 - Board"};
        // Picked, then typed: a device, with blanks, a fixed entry in lower case, an entry's text, nothing.
        const std::tuple<int, const char*, int, const char*> rows[] = {
            {-1, "NONE", 0, ""},
            {0, "NONE", 0, ""},
            {2, "COM2", 2, ""},
            {5, "/dev/ttyACM0 - Board", -1, "/dev/ttyACM0"},
            {1, "/dev/rfcomm0", -1, "/dev/rfcomm0"},
            {-1, "  /dev/pts/7 ", -1, "/dev/pts/7"},
            {-1, "com3", 3, ""},
            {0, "/dev/ttyUSB0 - FT232R", -1, "/dev/ttyUSB0"},
            {-1, "", -1, ""}};
        for (const auto& [index, text, number, name] : rows) {
            const portchoice::Port got = portchoice::choose(index, QString::fromLatin1(text), entries,
                                                            {"/dev/ttyUSB0", "/dev/ttyACM0"});
            QVERIFY2(got.number == number && got.name == QLatin1String(name), text);
        }
    }

    // COM1 already stands for ttyS0; the rest in device order, each as its device and description.
    void systemPortsFollowTheFixedOnes() {
        QList<portchoice::SystemPort> ports{
            {"/dev/ttyUSB1", QString()}, {"/dev/ttyS0", "Built-in"}, {"/dev/ttyACM0", "Board"}};
        QCOMPARE(portchoice::entriesFor(ports, {"/dev/ttyS0", "/dev/ttyS1"}),
                 (QStringList{"/dev/ttyACM0 - Board", "/dev/ttyUSB1"}));
        QCOMPARE(ports.size(), 2);
        QCOMPARE(ports[0].device, QStringLiteral("/dev/ttyACM0"));
    }

    // Of 9 positions, 0 to 8 count; anything else falls back to 4.
    void storedPosition() {
        const std::pair<const char*, int> rows[] = {{"7", 7},   {"0", 0},   {"8", 8},
                                                    {"9", 4},   {"-1", 4},  {"fast", 4},
                                                    {"2.5", 4}, {" 3 ", 3}, {"99999999999", 4}};
        for (const auto& [stored, position] : rows)
            QVERIFY2(portchoice::storedPosition(QString::fromLatin1(stored), 9, 4) == position, stored);
    }
};

QTEST_GUILESS_MAIN(tst_PortChoice)
#include "tst_PortChoice.moc"
