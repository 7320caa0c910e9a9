#include <QTest>

#include "terminal/PortChoice.h"

class tst_PortChoice : public QObject {
    Q_OBJECT
private slots:
    void choose_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::newRow("nothing chosen yet, NONE shown") << -1 << "NONE" << 0 << "";
        QTest::newRow("NONE picked") << 0 << "NONE" << 0 << "";
        QTest::newRow("COM2 picked") << 2 << "COM2" << 2 << "";
        QTest::newRow("system port picked") << 5 << "/dev/ttyACM0 - Board" << -1 << "/dev/ttyACM0";
        QTest::newRow("typed device") << 1 << "/dev/rfcomm0" << -1 << "/dev/rfcomm0";
        QTest::newRow("typed with blanks") << -1 << "  /dev/pts/7 " << -1 << "/dev/pts/7";
        QTest::newRow("typed fixed entry in lower case") << -1 << "com3" << 3 << "";
        QTest::newRow("typed entry text") << 0 << "/dev/ttyUSB0 - FT232R" << -1 << "/dev/ttyUSB0";
        QTest::newRow("field emptied") << -1 << "" << -1 << "";
    }
    void choose() {
        QFETCH(int, index);
        QFETCH(QString, text);
        const QStringList entries =
            portchoice::fixedEntries() + QStringList{"/dev/ttyUSB0 - FT232R", "/dev/ttyACM0 - Board"};
        const portchoice::Port got =
            portchoice::choose(index, text, entries, {"/dev/ttyUSB0", "/dev/ttyACM0"});
        QTEST(got.number, "number");
        QTEST(got.name, "name");
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

    void storedPosition_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("position");
        QTest::newRow("in range") << "7" << 7;
        QTest::newRow("first") << "0" << 0;
        QTest::newRow("last") << "8" << 8;
        QTest::newRow("one past the end") << "9" << 4;
        QTest::newRow("negative") << "-1" << 4;
        QTest::newRow("not a number") << "fast" << 4;
        QTest::newRow("fraction") << "2.5" << 4;
        QTest::newRow("blanks around") << " 3 " << 3;
        QTest::newRow("huge") << "99999999999" << 4;
    }
    void storedPosition() {
        QFETCH(QString, stored);
        QTEST(portchoice::storedPosition(stored, 9, 4), "position");
    }
};

QTEST_GUILESS_MAIN(tst_PortChoice)
#include "tst_PortChoice.moc"
