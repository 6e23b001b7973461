// The emulated sensor through a real serial port on its pseudo-terminal: what it answers, what it stores, and each
// fault it can be told to show. The codec itself is tested elsewhere.

#include "requests.h"
#include "responses.h"
#include "sensoremulator.h"
#include "wireframe.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using nlohmann::json;

namespace {

constexpr int WAIT_MS = 3000;

// The client end, reading as the tool's worker does: chunks as they come, items split at the delimiter.
class LineClient_t {
public:
    explicit LineClient_t(const QString& path) {
        port.setPortName(path);
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            const QByteArray data = port.readAll();
            chunks << data;
            buffer += data;
        });
    }
    bool open() { return port.open(QIODevice::ReadWrite); }
    void close() { port.close(); }
    QSerialPort& serialPort() { return port; }

    void send(const QByteArray& request) { port.write(requestToFrame(request)); }
    // The next item, delimiter included; empty when none completes in time.
    QByteArray nextItem(int timeoutMs = WAIT_MS) {
        QElapsedTimer waited;
        waited.start();
        while (!buffer.contains('\0') && waited.elapsed() < timeoutMs)
            QTest::qWait(5);
        const int end = buffer.indexOf('\0');
        if (end < 0)
            return {};
        const QByteArray item = buffer.left(end + 1);
        buffer.remove(0, end + 1);
        return item;
    }
    json nextReply() { return frameToJson(nextItem()); }
    json exchange(const QByteArray& request) {
        send(request);
        return nextReply();
    }
    // The next reply that is not a measurement.
    json nextAnswer() {
        json reply = nextReply();
        while (responseName(reply) == QLatin1String("Installation"))
            reply = nextReply();
        return reply;
    }
    bool received() const { return !chunks.isEmpty(); }

    QList<QByteArray> chunks;

private:
    QSerialPort port;
    QByteArray buffer;
};

const json OK = json::array({"ok"});
const json ERROR = json::array({"error"});

QByteArray recordText(int id, const char* shape, const char* orientation, int height, int length, int outer, int wall) {
    return QStringLiteral("[\"TankConfig\", {\"id\":%1,\"Shape\":\"%2\",\"Orientation\":\"%3\",\"Height\":%4,"
                          "\"Length\":%5,\"OuterDiameter\":%6,\"InnerDiameter\":0,\"Wall\":%7}]")
        .arg(id)
        .arg(QLatin1String(shape), QLatin1String(orientation))
        .arg(height)
        .arg(length)
        .arg(outer)
        .arg(wall)
        .toLatin1();
}

int delimiters(const QByteArray& bytes) {
    return bytes.count('\0');
}

} // namespace

class TestSensorEmulator : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SensorEmulator_t> emulator;
    std::unique_ptr<LineClient_t> client;

    bool openWith(const EmulatorFaults_t& faults = {}) {
        emulator->setFaults(faults);
        return client->open();
    }

private slots:
    void initTestCase() { qRegisterMetaType<QSerialPort::SerialPortError>(); }
    void init() {
        emulator = std::make_unique<SensorEmulator_t>();
        QString error;
        QVERIFY2(emulator->start(error), qPrintable(error));
        client = std::make_unique<LineClient_t>(emulator->slavePath());
    }
    void cleanup() {
        client.reset();
        emulator.reset();
    }

    void initialReading_answeredInOrderWithTheToolsTags() {
        QVERIFY(openWith());
        QCOMPARE(client->exchange(reqInstallation(0)), OK);

        client->send(Cmd::INFO);
        QByteArray item = client->nextItem();
        QCOMPARE(dispatchFrame(item), SerialDataTypeE::INFO);
        int status = -1;
        QVERIFY(!parseInfo(frameToJson(item), status).HWVer.isEmpty());
        QCOMPARE(status, 0);

        client->send(Cmd::TANK_CONFIG);
        item = client->nextItem();
        QCOMPARE(dispatchFrame(item), SerialDataTypeE::TANK_CONFIG);
        QCOMPARE(frameToJson(item)[1].size(), 3u);
        QCOMPARE(parseTankConfig(frameToJson(item), status).Active, 2);

        const int lengths[] = {640, 250, 200};
        for (int id = 0; id < 3; ++id) {
            client->send(reqTankRecord(id));
            item = client->nextItem();
            QCOMPARE(dispatchFrame(item), SerialDataTypeE::TANK_RECORD);
            const TankConfigRecord_t record = parseTankConfigRecord(frameToJson(item), status);
            QCOMPARE(record.id, id);
            QCOMPARE(record.Length, lengths[id]);
        }

        client->send(Cmd::OMNICOMM_CONFIG);
        item = client->nextItem();
        QCOMPARE(dispatchFrame(item), SerialDataTypeE::OK);
        const OmnicommConfig_t omnicomm = parseOmnicommConfig(frameToJson(item), status);
        QCOMPARE(status, 0);
        QCOMPARE(omnicomm.Address, 10);
        QCOMPARE(omnicomm.Units, QStringLiteral("mm"));

        const QStringList expected = {
            R"(["Installation",{"on":0}])",
            R"(["Info"])",
            R"(["TankConfig"])",
            R"(["TankConfig",{"id":0}])",
            R"(["TankConfig",{"id":1}])",
            R"(["TankConfig",{"id":2}])",
            R"(["OmnicommConfig"])",
        };
        QCOMPARE(emulator->requests(), expected);
    }

    void writeRequest_storedOrRefused_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("pointer");
        QTest::addColumn<QByteArray>("stored"); // JSON; empty: the default stays

        const QByteArray toroid = reqWriteTankRecord("Toroidal", "Horizontal", 250, 630, 172, 3);
        QTest::newRow("record 2 written as the tool does")
            << toroid << true << "/Records/2" << QByteArray(json::parse(toroid.toStdString())[1].dump().c_str());
        QTest::newRow("record 1 refused")
            << recordText(1, "Cylindric", "Vertical", 900, 900, 500, 3) << false << "/Records" << QByteArray();
        QTest::newRow("height other than length refused")
            << recordText(2, "Cylindric", "Vertical", 900, 901, 500, 3) << false << "/Records/2" << QByteArray();
        QTest::newRow("dimension 4096 refused")
            << recordText(2, "Cylindric", "Vertical", 900, 900, 4096, 3) << false << "/Records/2" << QByteArray();
        QTest::newRow("negative dimension refused")
            << recordText(2, "Cylindric", "Vertical", -1, -1, 500, 3) << false << "/Records/2" << QByteArray();
        QTest::newRow("wall 0 refused") << recordText(2, "Cylindric", "Vertical", 900, 900, 500, 0) << false
                                        << "/Records/2" << QByteArray();
        QTest::newRow("wall 16 refused") << recordText(2, "Cylindric", "Vertical", 900, 900, 500, 16) << false
                                         << "/Records/2" << QByteArray();
        QTest::newRow("unknown shape refused")
            << recordText(2, "Cube", "Vertical", 900, 900, 500, 3) << false << "/Records/2" << QByteArray();
        QTest::newRow("orientation in lower case refused")
            << recordText(2, "Cylindric", "vertical", 900, 900, 500, 3) << false << "/Records/2" << QByteArray();
        QTest::newRow("record 0 activated") << reqActiveRecord(0) << true << "/TankConfig/Active" << QByteArray("0");
        QTest::newRow("record 3 not activated") << reqActiveRecord(3) << false << "/TankConfig/Active" << QByteArray();
        QTest::newRow("tank config written") << reqWriteTankConfig("Butane", 40, 1) << true << "/TankConfig"
                                             << QByteArray(R"({"Active":1,"Liquid":"Butane","Mixture":40})");
        QTest::newRow("tank config with unknown liquid refused")
            << reqWriteTankConfig("Water", 40, 1) << false << "/TankConfig" << QByteArray();
        QTest::newRow("omnicomm written")
            << reqWriteOmnicommConfig(12, true, "litres", 7) << true << "/OmnicommConfig"
            << QByteArray(R"({"Address":12,"TxMode":true,"TxPeriodSec":7,"Units":"litres"})");
        QTest::newRow("omnicomm with unknown units refused")
            << reqWriteOmnicommConfig(12, true, "gallons", 7) << false << "/OmnicommConfig" << QByteArray();
    }
    void writeRequest_storedOrRefused() {
        QFETCH(QByteArray, request);
        QFETCH(bool, accepted);
        QFETCH(QString, pointer);
        QFETCH(QByteArray, stored);
        const json::json_pointer at(pointer.toStdString());
        const json before = emulator->stateJson();
        QVERIFY(openWith());

        QCOMPARE(client->exchange(request), accepted ? OK : ERROR);

        QCOMPARE(emulator->stateJson()[at], stored.isEmpty() ? before[at] : json::parse(stored.toStdString()));
    }

    void unknownOrMalformedRequest_answeredErrorAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("unknown name") << QByteArray(R"(["Volume"])");
        QTest::newRow("info with data") << QByteArray(R"(["Info", {"Name":"x"}])");
        QTest::newRow("record id 3") << reqTankRecord(3);
        QTest::newRow("calibration at 50 percent") << reqCalibrate(50);
        QTest::newRow("installation on 2") << reqInstallation(2);
        QTest::newRow("data not an object") << QByteArray(R"(["TankConfig", 2])");
        QTest::newRow("no name") << QByteArray(R"([1, 2])");
        QTest::newRow("not an array") << QByteArray(R"({"Info": 1})");
    }
    void unknownOrMalformedRequest_answeredErrorAndChangesNothing() {
        QFETCH(QByteArray, request);
        const json before = emulator->stateJson();
        QVERIFY(openWith());
        QCOMPARE(client->exchange(request), ERROR);
        QCOMPARE(emulator->stateJson(), before);
    }

    void calibration_storesReadingsAndResetClears() {
        QVERIFY(openWith());
        int status = -1;
        QCOMPARE(client->exchange(reqCalibrate(0)), OK);
        Calibration_t c = parseCalibration(client->exchange(reqCalibrationRead()), status);
        QVERIFY(c.Empty > 0);
        QCOMPARE(c.Full, 0);
        QCOMPARE(client->exchange(reqCalibrate(100)), OK);
        c = parseCalibration(client->exchange(reqCalibrationRead()), status);
        QVERIFY(c.Full > 0);

        QCOMPARE(client->exchange(reqCalibrationReset()), OK);

        QCOMPARE(emulator->stateJson()["Calibration"], json::parse(R"({"Empty":0,"Full":0})"));
        c = parseCalibration(client->exchange(reqCalibrationRead()), status);
        QCOMPARE(c.Empty, 0);
        QCOMPARE(c.Full, 0);
    }

    void installationMode_streamsMeasurementsUntilSwitchedOff() {
        QVERIFY(emulator->setStreamRate(20));
        QVERIFY(openWith());
        QCOMPARE(client->exchange(reqInstallation(1)), OK);
        for (int i = 0; i < 3; ++i) {
            const QByteArray item = client->nextItem();
            QCOMPARE(dispatchFrame(item), SerialDataTypeE::MEASUREMENT);
            int status = -1;
            const Installation_t m = parseInstallation(frameToJson(item), status);
            QCOMPARE(status, 0);
            QVERIFY(m.RawTOF > 0);
            QVERIFY(m.mm > 0);
        }

        client->send(reqInstallation(0));
        QCOMPARE(client->nextAnswer(), OK);
        client->chunks.clear();
        QTest::qWait(300);
        QVERIFY(!client->received());
        QCOMPARE(emulator->stateJson()["Installation"], false);
    }

    void clientClosesAndReopens_stillServed() {
        QVERIFY(openWith());
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
        client->close();
        QTest::qWait(50);
        QVERIFY(client->open());
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
    }

    void stateFile_roundTripsAndBadFileIsRefused() {
        QVERIFY(openWith());
        QCOMPARE(client->exchange(reqWriteTankRecord("Cylindric", "Vertical", 1200, 500, 0, 5)), OK);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("state.json"));
        QString error;
        QVERIFY2(emulator->saveState(path, error), qPrintable(error));

        SensorEmulator_t other;
        QVERIFY2(other.loadState(path, error), qPrintable(error));
        QCOMPARE(other.stateJson(), emulator->stateJson());

        QFile bad(dir.filePath(QStringLiteral("bad.json")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(R"({"TankConfig":{"Mixture":50,"Liquid":"Mix","Active":0},"Records":[{"id":0}]})");
        bad.close();
        const json before = other.stateJson();
        QVERIFY(!other.loadState(bad.fileName(), error));
        QCOMPARE(other.stateJson(), before);
    }

    void streamAtStart_measurementsArriveBeforeAnyRequest() {
        EmulatorFaults_t faults;
        faults.streamAtStart = true;
        QVERIFY(openWith(faults));
        QCOMPARE(dispatchFrame(client->nextItem()), SerialDataTypeE::MEASUREMENT);
        QVERIFY(emulator->requests().isEmpty());
    }

    void corruptEveryThird_onlyThoseRepliesFailToDecode() {
        EmulatorFaults_t faults;
        faults.corruptEveryNth = 3;
        QVERIFY(openWith(faults));
        for (int reply = 1; reply <= 6; ++reply) {
            const json value = client->exchange(Cmd::INFO);
            QCOMPARE(value.is_null(), reply % 3 == 0);
        }
    }

    void splitWrites_replyArrivesInPiecesAndDecodes() {
        EmulatorFaults_t faults;
        faults.splitPieces = 4;
        faults.splitGapMs = 100;
        QVERIFY(openWith(faults));
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
        QVERIFY2(client->chunks.size() >= 2, qPrintable(QString::number(client->chunks.size())));
    }

    void coalesce_twoRepliesComeInOneRead() {
        EmulatorFaults_t faults;
        faults.coalesce = true;
        faults.coalesceHoldMs = 10000;
        QVERIFY(openWith(faults));
        client->send(Cmd::INFO);
        QTest::qWait(100);
        QVERIFY(!client->received());
        client->send(Cmd::TANK_CONFIG);
        QCOMPARE(responseName(client->nextReply()), QStringLiteral("Info"));
        QCOMPARE(responseName(client->nextReply()), QStringLiteral("TankConfig"));
        QCOMPARE(delimiters(client->chunks.first()), 2);
    }

    void silentCommand_unansweredButLogged() {
        EmulatorFaults_t faults;
        faults.silentCommand = QStringLiteral("Info");
        QVERIFY(openWith(faults));
        client->send(Cmd::INFO);
        QCOMPARE(responseName(client->exchange(Cmd::TANK_CONFIG)), QStringLiteral("TankConfig"));
        QCOMPARE(emulator->requests(), QStringList({R"(["Info"])", R"(["TankConfig"])"}));
    }

    void overrideFault_matchingRequestGetsTheCannedReplyAndChangesNothing() {
        EmulatorFaults_t faults;
        faults.overridePrefix = QStringLiteral(R"(["TankConfig",{"Active":0}])");
        QVERIFY(openWith(faults));
        const json before = emulator->stateJson();
        QCOMPARE(client->exchange(reqActiveRecord(0)), ERROR);
        QCOMPARE(emulator->stateJson(), before);
        // Requests of the same name that do not match are served as usual.
        QCOMPARE(client->exchange(reqWriteTankConfig("Butane", 40, 1)), OK);

        faults.overridePrefix = QStringLiteral(R"(["Calibration"])");
        faults.overrideReply = json::array({"Calibration", {{"Empty", 0}, {"Full", -12}}});
        emulator->setFaults(faults);
        QCOMPARE(client->exchange(reqCalibrationRead()), faults.overrideReply);
        QCOMPARE(client->exchange(reqCalibrate(0)), OK);
    }

    void recordIdFault_replyMisstatesId_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("id");
        QTest::newRow("shifted") << int(RecordIdFaultE::SHIFTED) << 1;
        QTest::newRow("out of range") << int(RecordIdFaultE::OUT_OF_RANGE) << 7;
    }
    void recordIdFault_replyMisstatesId() {
        QFETCH(int, fault);
        QFETCH(int, id);
        EmulatorFaults_t faults;
        faults.recordId = RecordIdFaultE(fault);
        QVERIFY(openWith(faults));
        int status = -1;
        QCOMPARE(parseTankConfigRecord(client->exchange(reqTankRecord(0)), status).id, id);
    }

    void garbage_comesAsAnItemOfItsOwnBeforeTheReply() {
        EmulatorFaults_t faults;
        faults.garbage = QByteArray("\x55\xaa\x13\x00", 4);
        QVERIFY(openWith(faults));
        client->send(Cmd::INFO);
        QCOMPARE(client->nextItem(), faults.garbage);
        QCOMPARE(responseName(client->nextReply()), QStringLiteral("Info"));
    }

    void dropAfterTwo_portReportsAnError() {
        EmulatorFaults_t faults;
        faults.dropAfter = 2;
        QVERIFY(openWith(faults));
        QSignalSpy dropped(emulator.get(), &SensorEmulator_t::signLineDropped);
        QSignalSpy portErrors(&client->serialPort(), &QSerialPort::errorOccurred);
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
        QCOMPARE(dropped.count(), 0);
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
        QTRY_COMPARE(dropped.count(), 1);
        QTRY_VERIFY(client->serialPort().error() == QSerialPort::ResourceError);
        QVERIFY(!portErrors.isEmpty());
    }

    void replyDelay_replyWaits() {
        EmulatorFaults_t faults;
        faults.replyDelayMs = 300;
        QVERIFY(openWith(faults));
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(responseName(client->exchange(Cmd::INFO)), QStringLiteral("Info"));
        QVERIFY(elapsed.elapsed() >= 300);
    }
};

QTEST_GUILESS_MAIN(TestSensorEmulator)
#include "test_sensoremulator.moc"
