// The conversation with a sensor, without widgets: a connection against the emulated sensor on a real
// pseudo-terminal. Each row gives the sensor's misbehaviour, the commands, the requests the sensor must see after
// the reading and the outcomes the connection must report.

#include "requests.h"
#include "sensorconnection.h"
#include "sensoremulator.h"
#include "sensorstate.h"

#include <QtTest>
#include <memory>

using nlohmann::json;

Q_DECLARE_METATYPE(EmulatorFaults_t)

namespace {

constexpr int REPLY_TIMEOUT_MS = 1000;

// Compact JSON with sorted keys, as the emulator logs what it received.
QString wire(const QByteArray& request) {
    return QString::fromStdString(json::parse(request.toStdString()).dump());
}

// Built on first use: the request constants live in another library, whose statics may not be ready before main.
struct Requests_t {
    QString streamOff = wire(reqInstallation(0));
    QString streamOn = wire(reqInstallation(1));
    QStringList reading = {streamOff,
                           wire(Cmd::INFO),
                           wire(Cmd::TANK_CONFIG),
                           wire(reqTankRecord(0)),
                           wire(reqTankRecord(1)),
                           wire(reqTankRecord(2)),
                           wire(Cmd::OMNICOMM_CONFIG)};
    QString tankWrite = wire(reqWriteTankRecord("Toroidal", "Horizontal", 250, 630, 172, 3));
    QString omnicommWrite = wire(reqWriteOmnicommConfig(17, true, "litres", 12));
};

const Requests_t& req() {
    static const Requests_t requests;
    return requests;
}

// The first count requests of the reading.
QStringList readingUpTo(int count) {
    return req().reading.mid(0, count);
}

// The catalogue toroid 630x250 as the window hands it over.
TankConfigRecord_t standardToroid() {
    return {WRITABLE_RECORD_ID, "Toroidal", "Horizontal", 250, 250, 630, CATALOGUE_TOROID_INNER_DIAMETER_MM, 3};
}

// A setup unlike the emulator's default one, as a profile carries it.
SensorSnapshot_t profileTarget() {
    SensorSnapshot_t target;
    target.records = {standardToroid()};
    target.tankConfig = {60, QStringLiteral("Butane"), WRITABLE_RECORD_ID};
    target.omnicomm = {17, true, QStringLiteral("litres"), 12};
    return target;
}

EmulatorFaults_t faults(const std::function<void(EmulatorFaults_t&)>& set = {}) {
    EmulatorFaults_t f;
    if (set)
        set(f);
    return f;
}

EmulatorFaults_t refusing(const QString& prefix, json reply = json::array({"error"})) {
    return faults([&](EmulatorFaults_t& f) {
        f.overridePrefix = prefix;
        f.overrideReply = std::move(reply);
    });
}

// A connection with every signal it sends recorded as a short text; repeated measurements count once.
class Rig_t {
public:
    Rig_t() {
        QString error;
        if (!emulator.start(error))
            qFatal("emulator: %s", qPrintable(error));
    }

    void open() {
        connection = std::make_unique<SensorConnection_t>(emulator.slavePath());
        connection->setReplyTimeoutMs(REPLY_TIMEOUT_MS);
        SensorConnection_t* c = connection.get();
        QObject::connect(c, &SensorConnection_t::signReadingComplete, [this] { note("complete"); });
        QObject::connect(c, &SensorConnection_t::signTestRunningChanged,
                         [this](bool on) { note(on ? "test on" : "test off"); });
        QObject::connect(c, &SensorConnection_t::signSaved, [this](SequenceE s) {
            static const char* const names[] = {"saved tank", "saved properties", "saved rs485", "saved reset"};
            note(names[static_cast<int>(s)]);
        });
        QObject::connect(c, &SensorConnection_t::signRefused, [this] { note("refused"); });
        QObject::connect(c, &SensorConnection_t::signCalibrated, [this](CalibrationPointE p, qint32) {
            note(p == CalibrationPointE::EMPTY ? "calibrated empty" : "calibrated full");
        });
        QObject::connect(c, &SensorConnection_t::signMeasurement, [this](Installation_t) { note("measurement"); });
        QObject::connect(c, &SensorConnection_t::signCalibrationRead, [this] { note("calibration read"); });
        QObject::connect(c, &SensorConnection_t::signProfileWritten, [this](const ProfileOutcome_t& o) {
            note(QStringLiteral("profile: %1 written, %2 not").arg(o.written.size()).arg(o.notWritten.size()));
        });
        QObject::connect(c, &SensorConnection_t::signFailed, [this] { note("failed", true); });
        QObject::connect(c, &SensorConnection_t::signLost, [this] { note("lost", true); });
        c->open();
    }

    // Waits until nothing is under way or the connection has ended.
    bool settle(int timeoutMs = 5000) {
        return QTest::qWaitFor([this] { return ended || !connection->isBusy(); }, timeoutMs);
    }

    // Runs one command word; false when the connection refused it.
    bool run(const QString& command) {
        SensorConnection_t& c = *connection;
        if (command == "tank")
            return c.writeTank(standardToroid());
        if (command == "activate 1")
            return c.activateRecord(1);
        if (command == "properties")
            return c.writeProperties(60, 5);
        if (command == "rs485")
            return c.writeOmnicomm({17, true, QStringLiteral("litres"), 12});
        if (command == "empty")
            return c.calibrate(CalibrationPointE::EMPTY);
        if (command == "full")
            return c.calibrate(CalibrationPointE::FULL);
        if (command == "reset")
            return c.resetCalibration();
        if (command == "profile")
            return c.writeProfile(profileTarget());
        if (command == "calibration")
            return c.readCalibration();
        if (command == "start")
            return c.startTest();
        if (command == "stop")
            return c.stopTest();
        if (command.startsWith("wait "))
            QTest::qWait(command.mid(5).toInt());
        else
            qFatal("unknown command %s", qPrintable(command));
        return true;
    }

    SensorEmulator_t emulator;
    std::unique_ptr<SensorConnection_t> connection;
    QStringList events;
    bool ended = false;

private:
    void note(const QString& event, bool end = false) {
        ended = ended || end;
        if (events.isEmpty() || events.last() != event || event != "measurement")
            events << event;
    }
};

// What the connection holds must be what the sensor stored: nothing acknowledged is lost or invented.
void verifySnapshotMatchesSensor(const SensorSnapshot_t& sensor, const json& stored) {
    QCOMPARE(tankConfigToJson(sensor.tankConfig), stored["TankConfig"]);
    QCOMPARE(omnicommToJson(sensor.omnicomm), stored["OmnicommConfig"]);
    for (const TankConfigRecord_t& record : sensor.records)
        QCOMPARE(recordToJson(record), stored["Records"][record.id]);
    if (sensor.calibration)
        QCOMPARE(calibrationToJson(*sensor.calibration), stored["Calibration"]);
}

} // namespace

class SensorConnectionTest_t : public QObject {
    Q_OBJECT

private slots:
    void sequences_data();
    void sequences();
    void readingFaults_data();
    void readingFaults();
};

void SensorConnectionTest_t::sequences_data() {
    QTest::addColumn<EmulatorFaults_t>("sensor");
    QTest::addColumn<double>("streamRate");
    // "&" before a command: issued at once, without waiting for the one before; "!": the connection must refuse it.
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("requests"); // after the reading
    QTest::addColumn<QStringList>("events");   // after the reading

    const QString activate2 = wire(reqActiveRecord(2));
    const QString calibrationRead = wire(reqCalibrationRead());
    const EmulatorFaults_t normal = faults();

    QTest::newRow("tank: record 2, then its activation")
        << normal << 5.0 << QStringList{"tank"} << QStringList{req().tankWrite, activate2} << QStringList{"saved tank"};
    QTest::newRow("a stored record: activation alone")
        << normal << 5.0 << QStringList{"activate 1"} << QStringList{wire(reqActiveRecord(1))}
        << QStringList{"saved tank"};
    QTest::newRow("refused record: the user is told, the connection stays")
        << refusing(R"(["TankConfig",{"Height")") << 5.0 << QStringList{"tank", "activate 1"}
        << QStringList{req().tankWrite, wire(reqActiveRecord(1))} << QStringList{"refused", "saved tank"};
    QTest::newRow("refused activation: the error path")
        << refusing(R"(["TankConfig",{"Active":2})") << 5.0 << QStringList{"tank", "!properties"}
        << QStringList{req().tankWrite, activate2} << QStringList{"failed"};
    QTest::newRow("properties write record 2 as the tank write left it")
        << normal << 5.0 << QStringList{"tank", "properties"}
        << QStringList{req().tankWrite, activate2, wire(reqWriteTankConfig("Butane", 60, 2)),
                       wire(reqWriteTankRecord("Toroidal", "Horizontal", 250, 630, 172, 5))}
        << QStringList{"saved tank", "saved properties"};
    QTest::newRow("rs485") << normal << 5.0 << QStringList{"rs485"} << QStringList{req().omnicommWrite}
                           << QStringList{"saved rs485"};
    QTest::newRow("calibration of both points, each read back")
        << normal << 5.0 << QStringList{"empty", "full"}
        << QStringList{wire(reqCalibrate(0)), calibrationRead, wire(reqCalibrate(100)), calibrationRead}
        << QStringList{"calibrated empty", "calibrated full"};
    QTest::newRow("a second command while one awaits its reply is refused")
        << normal << 5.0 << QStringList{"tank", "&!rs485", "&!reset"} << QStringList{req().tankWrite, activate2}
        << QStringList{"saved tank"};
    QTest::newRow("the reset's ok is awaited: a refused tank write after it is a refusal")
        << refusing(R"(["TankConfig",{"Height")") << 5.0 << QStringList{"reset", "tank"}
        << QStringList{wire(reqCalibrationReset()), req().tankWrite} << QStringList{"saved reset", "refused"};
    QTest::newRow("while the test runs, writes are refused")
        << normal << 0.1 << QStringList{"start", "!tank", "!start", "stop", "!stop"}
        << QStringList{req().streamOn, req().streamOff} << QStringList{"test on", "test off"};
    QTest::newRow("a measurement before the stream-on's ok is plotted and the ok still awaited")
        << faults([](EmulatorFaults_t& f) { f.measurementBeforeStreamOk = true; }) << 0.1
        << QStringList{"start", "stop", "rs485"} << QStringList{req().streamOn, req().streamOff, req().omnicommWrite}
        << QStringList{"test on", "measurement", "test off", "saved rs485"};
    QTest::newRow("a sensor that answers only the first stream-off stops cleanly")
        << faults([](EmulatorFaults_t& f) { f.ignoreRepeatedStreamOff = true; }) << 8.0
        << QStringList{"start", "wait 300", "stop", "rs485"}
        << QStringList{req().streamOn, req().streamOff, req().omnicommWrite}
        << QStringList{"test on", "measurement", "test off", "saved rs485"};
    QTest::newRow("after a stop no ok is left over for the next write to take")
        << refusing(R"(["OmnicommConfig",)") << 8.0 << QStringList{"start", "wait 300", "stop", "rs485"}
        << QStringList{req().streamOn, req().streamOff, req().omnicommWrite}
        << QStringList{"test on", "measurement", "test off", "failed"};
    const QStringList readBack = {wire(Cmd::TANK_CONFIG), wire(reqTankRecord(0)), wire(reqTankRecord(1)),
                                  wire(reqTankRecord(2)), wire(Cmd::OMNICOMM_CONFIG)};
    const QStringList profileWrites = {req().tankWrite, activate2, wire(reqWriteTankConfig("Butane", 60, 2)),
                                       req().omnicommWrite};
    QTest::newRow("profile: every step, then read back")
        << normal << 5.0 << QStringList{"profile"} << profileWrites + readBack
        << QStringList{"profile: 4 written, 0 not"};
    QTest::newRow("profile refused at the tank configuration: the rest unsent, still read back")
        << refusing(R"(["TankConfig",{"Active":2,"Liquid")") << 5.0 << QStringList{"profile", "rs485"}
        << profileWrites.mid(0, 3) + readBack + QStringList{req().omnicommWrite}
        << QStringList{"profile: 2 written, 2 not", "saved rs485"};
    QTest::newRow("stored calibration read") << normal << 5.0 << QStringList{"calibration"}
                                             << QStringList{calibrationRead} << QStringList{"calibration read"};
    QTest::newRow("no reply in time: the error path, once")
        << faults([](EmulatorFaults_t& f) { f.silentCommand = "Calibration"; }) << 5.0
        << QStringList{"empty", "wait 1500"} << QStringList{wire(reqCalibrate(0))} << QStringList{"failed"};
    QTest::newRow("unplugged mid-sequence: lost, and no time limit fires after it")
        << faults([](EmulatorFaults_t& f) { f.dropAfter = req().reading.size() + 1; }) << 5.0
        << QStringList{"tank", "wait 1500", "!rs485"} << QStringList{req().tankWrite} << QStringList{"lost"};
}

void SensorConnectionTest_t::sequences() {
    QFETCH(EmulatorFaults_t, sensor);
    QFETCH(double, streamRate);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, events);

    Rig_t rig;
    rig.emulator.setFaults(sensor);
    QVERIFY(rig.emulator.setStreamRate(streamRate));
    rig.open();
    QVERIFY(rig.settle());
    QCOMPARE(rig.events, QStringList{"complete"});
    QCOMPARE(rig.emulator.requests(), req().reading);
    rig.events.clear();

    for (QString command : commands) {
        const bool atOnce = command.startsWith('&');
        if (atOnce)
            command.remove(0, 1);
        else
            QVERIFY(rig.settle());
        const bool refused = command.startsWith('!');
        QCOMPARE(rig.run(command.mid(refused ? 1 : 0)), !refused);
    }
    QVERIFY(rig.settle());
    QTest::qWait(100); // anything the sensor still sends
    QCOMPARE(QStringList(rig.emulator.requests().mid(req().reading.size())), requests);
    QCOMPARE(rig.events, events);
    if (!rig.ended)
        verifySnapshotMatchesSensor(rig.connection->sensor(), rig.emulator.stateJson());
}

void SensorConnectionTest_t::readingFaults_data() {
    QTest::addColumn<EmulatorFaults_t>("sensor");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("streaming sensor: one stream-off, the measurements before its ok skipped")
        << faults([](EmulatorFaults_t& f) { f.streamAtStart = true; }) << req().reading << QString("complete");
    QTest::newRow("streaming sensor that answers only the first stream-off") << faults([](EmulatorFaults_t& f) {
        f.streamAtStart = true;
        f.ignoreRepeatedStreamOff = true;
    }) << req().reading << QString("complete");
    QTest::newRow("frames split, coalesced and behind line noise") << faults([](EmulatorFaults_t& f) {
        f.splitPieces = 3;
        f.coalesce = true;
        f.garbage = QByteArray::fromHex("55aa00");
    }) << req().reading << QString("complete");
    QTest::newRow("a refused read") << refusing(R"(["Info"])") << readingUpTo(2) << QString("failed");
    QTest::newRow("a reply of another kind")
        << refusing(R"(["TankConfig"])", json::array({"ok"})) << readingUpTo(3) << QString("failed");
    QTest::newRow("record ids shifted: record 0 comes as 1, record 2 as 3")
        << faults([](EmulatorFaults_t& f) { f.recordId = RecordIdFaultE::SHIFTED; })
        << readingUpTo(4) + QStringList{wire(reqTankRecord(2))} << QString("failed");
    QTest::newRow("record id out of range")
        << faults([](EmulatorFaults_t& f) { f.recordId = RecordIdFaultE::OUT_OF_RANGE; }) << readingUpTo(4)
        << QString("failed");
    QTest::newRow("record below the one asked for: no endless reading")
        << refusing(R"(["TankConfig",{"id":1}])", json::array({"TankConfig", recordToJson(TankConfigRecord_t{})}))
        << readingUpTo(5) << QString("failed");
    QTest::newRow("silent sensor") << faults([](EmulatorFaults_t& f) { f.silentCommand = "OmnicommConfig"; })
                                   << req().reading << QString("failed");
    QTest::newRow("broken checksums") << faults([](EmulatorFaults_t& f) { f.corruptEveryNth = 3; }) << readingUpTo(3)
                                      << QString("failed");
}

void SensorConnectionTest_t::readingFaults() {
    QFETCH(EmulatorFaults_t, sensor);
    QFETCH(QStringList, requests);
    QFETCH(QString, outcome);

    Rig_t rig;
    QVERIFY(rig.emulator.setStreamRate(8)); // within what the link hands on, ten a second
    rig.emulator.setFaults(sensor);
    QTest::qWait(sensor.streamAtStart ? 300 : 0); // measurements pile up before the port opens
    rig.open();
    QVERIFY(rig.settle(2 * REPLY_TIMEOUT_MS + 3000));
    QCOMPARE(rig.events.filter(QRegularExpression("complete|failed|lost")), QStringList{outcome});
    QCOMPARE(rig.emulator.requests(), requests);
    QCOMPARE(rig.connection->isBusy(), outcome != "complete");
}

QTEST_GUILESS_MAIN(SensorConnectionTest_t)
#include "test_sensorconnection.moc"
