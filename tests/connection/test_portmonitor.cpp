// Plug-in events: the port monitor and the window's port list driven by a fake udev (umockdev's test bed), and the
// patience with a sensor whose node may not be opened yet. As root every node may be opened, so that case goes through
// the monitor's access check instead of file permissions.
#include "mainwindow.h"
#include "portmonitor.h"
#include "udevtestbed.h"
#include "widgetlookup.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QtTest>

class PortMonitorTest_t : public QObject {
    Q_OBJECT

private slots:
    void plugInAndUnplug_announceOnlyTheSensor_data() {
        QTest::addColumn<quint16>("vendorId");
        QTest::addColumn<quint16>("productId");
        QTest::addColumn<int>("announced"); // on plug-in, then on unplug
        QTest::newRow("sensor 0483:5740") << quint16(0x0483) << quint16(0x5740) << 1;
        QTest::newRow("other STM device 0483:df11") << quint16(0x0483) << quint16(0xdf11) << 0;
        QTest::newRow("USB serial adapter 1a86:7523") << quint16(0x1a86) << quint16(0x7523) << 0;
    }
    void plugInAndUnplug_announceOnlyTheSensor() {
        QFETCH(quint16, vendorId);
        QFETCH(quint16, productId);
        QFETCH(int, announced);
        UdevTestbed_t testbed;
        PortMonitor_t monitor;
        monitor.start();
        QSignalSpy changes(&monitor, &PortMonitor_t::signSensorPortsChanged);

        const QString tty = testbed.plugIn(QStringLiteral("ttyACM0"), vendorId, productId, QStringLiteral("1"));
        // A sensor's event comes first when there is one, so waiting past it shows what else was announced. A node
        // that may be opened is announced at once, not after the patience with one that may not.
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), announced, PortMonitor_t::ACCESS_PATIENCE_MS / 2);
        testbed.plugIn(QStringLiteral("ttyUSB0"), 0x1a86, 0x7523, QStringLiteral("2"));
        testbed.unplug(tty);
        QTRY_COMPARE(changes.size(), 2 * announced);
        QTest::qWait(200);
        QCOMPARE(changes.size(), 2 * announced);
    }

    void nodeNotYetAccessible_isAnnouncedOnceItMayBeOpened_data() {
        QTest::addColumn<int>("refusals");   // access checks that fail before one succeeds
        QTest::addColumn<bool>("unplugged"); // unplugged while waiting
        QTest::addColumn<int>("announced");
        QTest::newRow("accessible at once") << 0 << false << 1;
        QTest::newRow("accessible on the third retry") << 3 << false << 1;
        QTest::newRow("accessible on the last retry")
            << PortMonitor_t::ACCESS_PATIENCE_MS / PortMonitor_t::ACCESS_RETRY_MS << false << 1;
        QTest::newRow("never accessible: listed after the patience") << 1000 << false << 1;
        QTest::newRow("unplugged while waiting: only the unplug") << 1000 << true << 1;
    }
    void nodeNotYetAccessible_isAnnouncedOnceItMayBeOpened() {
        QFETCH(int, refusals);
        QFETCH(bool, unplugged);
        QFETCH(int, announced);
        UdevTestbed_t testbed;
        int checks = 0;
        PortMonitor_t monitor(nullptr, [&](const QString& devnode) {
            return devnode == QLatin1String("/dev/ttyACM0") && ++checks > refusals;
        });
        monitor.start();
        QSignalSpy changes(&monitor, &PortMonitor_t::signSensorPortsChanged);

        const QString tty = testbed.plugIn(QStringLiteral("ttyACM0"), 0x0483, 0x5740, QStringLiteral("1"));
        QTRY_VERIFY(checks > 0);
        if (unplugged)
            testbed.unplug(tty);
        QTRY_COMPARE_WITH_TIMEOUT(changes.size(), announced, PortMonitor_t::ACCESS_PATIENCE_MS + 1000);
        // Nothing more once the wait is over, and no check beyond the patience.
        QTest::qWait(PortMonitor_t::ACCESS_PATIENCE_MS + 200);
        QCOMPARE(changes.size(), announced);
        QVERIFY(checks <= 1 + PortMonitor_t::ACCESS_PATIENCE_MS / PortMonitor_t::ACCESS_RETRY_MS);
        if (refusals > 0 && refusals < 1000)
            QCOMPARE(checks, refusals + 1);
    }

    void window_listsAPluggedInSensorAndDropsItWhenUnplugged() {
        UdevTestbed_t testbed;
        MainWindow_t window;
        window.show();
        auto* ports = child<QComboBox>(window, "cboxSerialListP");
        auto* button = child<QPushButton>(window, "btnSerialPortP");
        // The window listens once it has been painted.
        QTRY_VERIFY(window.findChild<QSocketNotifier*>());
        QCOMPARE(button->text(), QStringLiteral("Диагностика"));

        // Re-plugged under another name: the test bed cannot give a removed device's node name to a new device.
        for (const QString name : {"ttyACM0", "ttyACM1"}) {
            const QString tty = testbed.plugIn(name, 0x0483, 0x5740, QStringLiteral("4321:Velmaro1"));
            QTRY_COMPARE(button->text(), QStringLiteral("Подключить"));
            QCOMPARE(ports->itemText(0), QStringLiteral("Velmaro#4321"));
            QVERIFY(ports->isEnabled());
            testbed.unplug(tty);
            QTRY_COMPARE(button->text(), QStringLiteral("Диагностика"));
            QCOMPARE(ports->count(), 0);
        }
    }
};

QTEST_MAIN(PortMonitorTest_t)
#include "test_portmonitor.moc"
