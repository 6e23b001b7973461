// The serial ports: which ones the port box offers, and the link through one end to end: a real front, its serial
// thread and QSerialPort on the slave side of a pseudo-terminal, with the test acting as the sensor on the master side.

#include "logcapture.h"
#include "portlist.h"
#include "ptypair.h"
#include "serialparser.h"
#include "serialparserworker.h"
#include "wireframe.h"

#include <QElapsedTimer>
#include <QtTest>
#include <memory>

namespace {
// The worked example of the frame codec: ["Info"] on the line.
const QByteArray INFO_FRAME = QByteArray::fromHex("0408020102060BD3958164496E666F1E2000");
constexpr int INTERVAL_MS = SerialParserWorker_t::DISPATCH_INTERVAL_MS;
// Items are timed when they reach the GUI thread, which may pick one up late and the next one on time.
constexpr int DELIVERY_JITTER_MS = 25;

using nlohmann::json;

json ok(int number) {
    return json::array({"ok", number});
}

json measurement(int rawTof) {
    return json::array({"Installation", {{"RawTOF", rawTof}, {"mm", 5}}});
}

QByteArray okFrame(int number) {
    return jsonToFrame(ok(number));
}

QByteArray measurementFrame(int rawTof) {
    return jsonToFrame(measurement(rawTof));
}

// One front on the slave side of its own pseudo-terminal, with what it hands back to its owner recorded.
struct Link_t {
    PtyPair_t pty;
    QElapsedTimer clock;
    QVector<json> items;
    QVector<qint64> itemTimesMs;
    QVector<QSerialPort::SerialPortError> errors;
    std::unique_ptr<SerialParser_t> front = std::make_unique<SerialParser_t>(pty.slavePath());

    Link_t() {
        clock.start();
        QObject::connect(front.get(), &SerialParser_t::signFromDevice, front.get(), [this](const json& value) {
            items.append(value);
            itemTimesMs.append(clock.elapsed());
        });
        QObject::connect(front.get(), &SerialParser_t::signError, front.get(),
                         [this](QSerialPort::SerialPortError error) { errors.append(error); });
    }

    // Opens the port and waits until the serial thread holds it open.
    bool open() {
        emit front->signOpen();
        return QTest::qWaitFor([this] { return pty.slaveDescriptorCount() == 2; }) &&
               QTest::qWaitFor([this] { return !errors.isEmpty(); }) && errors == QVector{QSerialPort::NoError};
    }
};
} // namespace

class SerialLinkTest_t : public QObject {
    Q_OBJECT

    std::unique_ptr<LogCapture_t> log;

private slots:
    void init() { log = std::make_unique<LogCapture_t>(); }
    void cleanup() { log.reset(); }

    void sensorPorts_areTheSensorsInListOrderNamedBySerialNumber() {
        const QList<PortDescriptor_t> available{
            {"ttyACM3", true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "1234:vElMaRo1"},
            {"ttyACM0", true, 0x0484, SENSOR_PRODUCT_ID, "1:Velmaro1"},                 // another vendor
            {"ttyACM1", true, SENSOR_VENDOR_ID, 0x5741, "1:Velmaro1"},                  // another product
            {"ttyS0", false, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "1:Velmaro1"},        // no identifiers
            {"tty.usbmodem1", true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "1:Velmaro1"}, // never offered
            {"ttyACM2", true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "12:34:Velmaro1"},   // the first colon counts
            {"COM5", true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "1:Velmaro12"}};        // another serial number
        QStringList shown;
        for (const ShownPort_t& port : sensorPorts(available))
            shown << port.port.portName + '=' + port.shownName;
        QCOMPARE(shown, (QStringList{"ttyACM3=Velmaro#1234", "ttyACM2=ttyACM2", "COM5=COM5"}));
    }

    void conversation_requestsLeaveAsFrames_repliesComeBackDecodedOnceInOrderPacedAndAWaitingMeasurementGivesWay() {
        Link_t link;
        QVERIFY(link.open());
        link.front->slotToDevice(json::array({std::string(1100, 'a')})); // too large for a frame: dropped, warned
        link.front->slotToDevice(json::array({"Info"}));
        QCOMPARE(link.pty.read(INFO_FRAME.size()), INFO_FRAME);
        QCOMPARE(link.pty.read(1, 200), QByteArray());
        QCOMPARE(log->texts(QtWarningMsg).size(), 1);
        // Junk ending in a zero is an item that is never handed on; the last frame comes in a later read.
        const QByteArray bytes = QByteArray(1, '\0') + measurementFrame(100) + measurementFrame(101) +
                                 QByteArray::fromHex("051122334400") + okFrame(0) + measurementFrame(102) +
                                 measurementFrame(103);
        const qint64 sentAt = link.clock.elapsed();
        QVERIFY(link.pty.write(bytes.left(bytes.size() - 4)));
        QTRY_VERIFY(!log->textsStartingWith("fromSerial: ").isEmpty());
        QVERIFY(link.pty.write(bytes.right(4)));
        QVERIFY(QTest::qWaitFor([&link] { return link.items.size() >= 3; }));
        QTest::qWait(2 * INTERVAL_MS);
        QCOMPARE(link.items, (QVector<json>{measurement(101), ok(0), measurement(103)}));
        // Each of the seven items (a lone delimiter first) is decoded and classified once, handed on or not.
        QCOMPARE(log->textsStartingWith("cmd rx: ").size(), 7);
        QVERIFY(link.itemTimesMs[0] - sentAt >= INTERVAL_MS);
        for (int i = 1; i < link.items.size(); ++i)
            QVERIFY2(link.itemTimesMs[i] - link.itemTimesMs[i - 1] >= INTERVAL_MS - DELIVERY_JITTER_MS,
                     qPrintable(QString::number(link.itemTimesMs[i] - link.itemTimesMs[i - 1])));
    }

    void sensorStreamingFasterThanTheInterval_isHandedOnAndItsBacklogAndNoiseAreBounded() {
        Link_t link;
        QVERIFY(link.open());
        int handedOnWhileStreaming = 0;
        for (int n = 0; n < 12; ++n) {
            QVERIFY(link.pty.write(okFrame(n)));
            QTest::qWait(INTERVAL_MS / 2);
            handedOnWhileStreaming = link.items.size();
        }
        QVERIFY(handedOnWhileStreaming > 0);
        for (int i = 0; i < handedOnWhileStreaming; ++i)
            QCOMPARE(link.items[i], ok(i));
        // Far more replies than the queue holds arrive at once: the oldest give way (a few still queued from above,
        // then the burst's first), and each drop is told.
        QByteArray burst;
        for (int n = 0; n < SerialParserWorker_t::RX_FRAMES_LIMIT + 40; ++n)
            burst += okFrame(1000 + n);
        QVERIFY(link.pty.write(burst));
        QTRY_VERIFY(log->texts(QtWarningMsg).contains(QStringLiteral("Receive queue full, dropped the oldest reply")));
        const int before = link.items.size();
        QTRY_VERIFY(link.items.size() >= before + 10);
        QVERIFY(!link.items.contains(ok(1000)));

        // Line noise without a delimiter is kept up to its limit, then dropped.
        const QString dropped = QStringLiteral("No frame end in");
        QVERIFY(link.pty.write(QByteArray(SerialParserWorker_t::RX_DATA_LIMIT, 'a')));
        QTest::qWait(200);
        QVERIFY(log->textsStartingWith(dropped).isEmpty());
        QVERIFY(link.pty.write("a"));
        QTRY_COMPARE(log->textsStartingWith(dropped).size(), 1);
    }

    void sensorUnplugged_reachesTheOwnerAsAFewErrorsAndThePortCloses() {
        Link_t link;
        QVERIFY(link.open());
        link.pty.closeMaster();
        QTRY_VERIFY(link.errors.size() > 1);
        // Qt 5.15 alone would go on reporting the hang-up hundreds of thousands of times a second.
        QTest::qWait(1000);
        QVERIFY2(link.errors.size() <= 4, qPrintable(QString::number(link.errors.size())));
        QCOMPARE(link.pty.slaveDescriptorCount(), 1);
    }

    void frontDeletedWhileOrAfterOpening_stopsItsThreadAndLeavesNoPortOpen() {
        PtyPair_t pty;
        for (int round = 0; round < 6; ++round) {
            auto front = std::make_unique<SerialParser_t>(pty.slavePath());
            emit front->signOpen();
            // Even rounds delete the front at once, odd ones once the port is open.
            if (round % 2)
                QVERIFY(QTest::qWaitFor([&pty] { return pty.slaveDescriptorCount() == 2; }));
            front.reset();
            QCOMPARE(pty.slaveDescriptorCount(), 1);
        }
    }
};

QTEST_GUILESS_MAIN(SerialLinkTest_t)
#include "test_seriallink.moc"
