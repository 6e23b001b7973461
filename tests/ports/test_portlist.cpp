// Which ports the port box offers and how it names them.

#include "portlist.h"

#include <QtTest>

class TestPortList : public QObject {
    Q_OBJECT

private slots:
    void filterAndName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hasIds");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("shown"); // empty: not offered
        QTest::newRow("velmaro serial") << "ttyACM0" << true << 0x0483 << 0x5740 << "1234:Velmaro1"
                                        << "Velmaro#1234";
        QTest::newRow("suffix in any case") << "ttyACM0" << true << 0x0483 << 0x5740 << "1234:VELMARO1"
                                            << "Velmaro#1234";
        QTest::newRow("mixed case") << "ttyACM0" << true << 0x0483 << 0x5740 << "1234:vElMaRo1"
                                    << "Velmaro#1234";
        QTest::newRow("no colon") << "ttyACM0" << true << 0x0483 << 0x5740 << "Velmaro1"
                                  << "Velmaro#Velmaro1";
        QTest::newRow("first colon counts") << "ttyACM0" << true << 0x0483 << 0x5740 << "12:34:Velmaro1"
                                            << "ttyACM0";
        QTest::newRow("other serial shows port name") << "COM5" << true << 0x0483 << 0x5740 << "ABC:Other"
                                                      << "COM5";
        QTest::newRow("empty serial") << "ttyACM1" << true << 0x0483 << 0x5740 << ""
                                      << "ttyACM1";
        QTest::newRow("trailing text after suffix") << "ttyACM0" << true << 0x0483 << 0x5740 << "1:Velmaro12"
                                                    << "ttyACM0";
        QTest::newRow("empty prefix") << "ttyACM0" << true << 0x0483 << 0x5740 << ":Velmaro1"
                                      << "Velmaro#";
        QTest::newRow("tty. never offered") << "tty.usbmodem1" << true << 0x0483 << 0x5740 << "1:Velmaro1"
                                            << "";
        QTest::newRow("cu. is offered") << "cu.usbmodem1" << true << 0x0483 << 0x5740 << ""
                                        << "cu.usbmodem1";
        QTest::newRow("TTY. differs in case") << "TTY.usb" << true << 0x0483 << 0x5740 << ""
                                              << "TTY.usb";
        QTest::newRow("wrong vendor") << "ttyACM0" << true << 0x0484 << 0x5740 << "1:Velmaro1"
                                      << "";
        QTest::newRow("wrong product") << "ttyACM0" << true << 0x0483 << 0x5741 << "1:Velmaro1"
                                       << "";
        QTest::newRow("no identifiers") << "ttyS0" << false << 0 << 0 << ""
                                        << "";
    }
    void filterAndName() {
        QFETCH(QString, name);
        QFETCH(bool, hasIds);
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(QString, serial);
        QFETCH(QString, shown);
        const PortDescriptor_t port{name, hasIds, quint16(vid), quint16(pid), serial};
        const QList<ShownPort_t> ports = sensorPorts({port});
        if (shown.isEmpty()) {
            QVERIFY(ports.isEmpty());
            return;
        }
        QCOMPARE(ports.size(), 1);
        QCOMPARE(ports.first().shownName, shown);
        QCOMPARE(ports.first().port.portName, name);
    }

    void matchingPortsKeepTheListOrder() {
        const QList<PortDescriptor_t> available{{"ttyACM2", true, 0x0483, 0x5740, "2:Velmaro1"},
                                                {"ttyS0", false, 0, 0, ""},
                                                {"ttyACM0", true, 0x0483, 0x5740, "0:Velmaro1"}};
        const QList<ShownPort_t> ports = sensorPorts(available);
        QCOMPARE(ports.size(), 2);
        QCOMPARE(ports.at(0).shownName, QStringLiteral("Velmaro#2"));
        QCOMPARE(ports.at(1).shownName, QStringLiteral("Velmaro#0"));
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "test_portlist.moc"
