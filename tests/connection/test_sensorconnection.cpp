// The conversation with a sensor, without widgets: a connection against the emulated sensor on a real
// pseudo-terminal. Each row gives the sensor's misbehaviour, the commands after the reading, every request the sensor
// must see and every outcome the connection must report.

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

// A sensor that answers the requests beginning with prefix with reply, and stores nothing of them.
EmulatorFaults_t refusing(const QString& prefix, json reply = json::array({"error"})) {
    EmulatorFaults_t f;
    f.overridePrefix = prefix;
    f.overrideReply = std::move(reply);
    return f;
}

// A connection with every signal it sends recorded as a short text; repeated measurements count once.
class Rig_t {
public:
    Rig_t(const EmulatorFaults_t& faults, double streamRate) {
        QString error;
        if (!emulator.start(error) || !emulator.setStreamRate(streamRate))
            qFatal("emulator: %s", qPrintable(error));
        emulator.setFaults(faults);
        QTest::qWait(faults.streamAtStart ? 300 : 0); // measurements pile up before the port opens
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
    bool settle() {
        return QTest::qWaitFor([this] { return ended || !connection->isBusy(); }, 2 * REPLY_TIMEOUT_MS + 3000);
    }

    // Runs one command word; false when the connection refused it.
    bool run(const QString& command) {
        using Command_t = std::function<bool(SensorConnection_t&)>;
        static const std::map<QString, Command_t> commands = {
            {"tank", [](SensorConnection_t& c) { return c.writeTank(standardToroid()); }},
            {"activate 1", [](SensorConnection_t& c) { return c.activateRecord(1); }},
            {"activate 3", [](SensorConnection_t& c) { return c.activateRecord(3); }},
            {"properties", [](SensorConnection_t& c) { return c.writeProperties(60, 5); }},
            {"rs485",
             [](SensorConnection_t& c) {
                 return c.writeOmnicomm({17, true, QStringLiteral("litres"), 12});
             }},
            {"empty", [](SensorConnection_t& c) { return c.calibrate(CalibrationPointE::EMPTY); }},
            {"full", [](SensorConnection_t& c) { return c.calibrate(CalibrationPointE::FULL); }},
            {"reset", [](SensorConnection_t& c) { return c.resetCalibration(); }},
            {"profile", [](SensorConnection_t& c) { return c.writeProfile(profileTarget()); }},
            {"calibration", [](SensorConnection_t& c) { return c.readCalibration(); }},
            {"start", [](SensorConnection_t& c) { return c.startTest(); }},
            {"stop", [](SensorConnection_t& c) { return c.stopTest(); }},
            {"wait", [](SensorConnection_t&) { return QTest::qWait(REPLY_TIMEOUT_MS + 500), true; }}};
        return commands.at(command)(*connection);
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
    void conversations_data();
    void conversations();
};

void SensorConnectionTest_t::conversations_data() {
    QTest::addColumn<EmulatorFaults_t>("sensor");
    QTest::addColumn<double>("streamRate");
    // "&" before a command: issued at once, without waiting for the one before; "!": the connection must refuse it.
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("events");

    const QString off = wire(reqInstallation(0));
    const QString on = wire(reqInstallation(1));
    const QStringList readBack = {wire(Cmd::TANK_CONFIG), wire(reqTankRecord(0)), wire(reqTankRecord(1)),
                                  wire(reqTankRecord(2)), wire(Cmd::OMNICOMM_CONFIG)};
    const QStringList reading = QStringList{off, wire(Cmd::INFO)} + readBack;
    const auto after = [&reading](const QStringList& more) -> QStringList { return reading + more; };
    const QString tank = wire(reqWriteTankRecord("Toroidal", "Horizontal", 250, 630, 172, 3));
    const QString rs485 = wire(reqWriteOmnicommConfig(17, true, "litres", 12));
    const QString activate2 = wire(reqActiveRecord(2));
    const QString calibrationRead = wire(reqCalibrationRead());
    EmulatorFaults_t normal, okAfterMeasurement, silent, unplugged, streaming, noisy, shifted, corrupt;
    EmulatorFaults_t stopsOnce = refusing(R"(["OmnicommConfig",)");
    stopsOnce.ignoreRepeatedStreamOff = streaming.ignoreRepeatedStreamOff = streaming.streamAtStart = true;
    okAfterMeasurement.measurementBeforeStreamOk = true;
    silent.silentCommand = "Calibration";
    unplugged.dropAfter = reading.size() + 1;
    noisy.splitPieces = 3;
    noisy.coalesce = true;
    noisy.garbage = QByteArray::fromHex("55aa00");
    shifted.recordId = RecordIdFaultE::SHIFTED;
    corrupt.corruptEveryNth = 3;

    QTest::newRow("tank: record 2 and its activation; nothing else while it awaits a reply")
        << normal << 5.0 << QStringList{"tank", "&!rs485", "&!reset", "&!profile"} << after({tank, activate2})
        << QStringList{"complete", "saved tank"};
    QTest::newRow("the reset's ok is awaited; a refused record is told, and a stored one activated alone")
        << refusing(R"(["TankConfig",{"Height")") << 5.0 << QStringList{"reset", "tank", "!activate 3", "activate 1"}
        << after({wire(reqCalibrationReset()), tank, wire(reqActiveRecord(1))})
        << QStringList{"complete", "saved reset", "refused", "saved tank"};
    QTest::newRow("refused activation: the error path")
        << refusing(R"(["TankConfig",{"Active":2})") << 5.0 << QStringList{"tank", "!properties"}
        << after({tank, activate2}) << QStringList{"complete", "failed"};
    QTest::newRow("properties write record 2 as the tank write left it")
        << normal << 5.0 << QStringList{"tank", "properties"}
        << after({tank, activate2, wire(reqWriteTankConfig("Butane", 60, 2)),
                  wire(reqWriteTankRecord("Toroidal", "Horizontal", 250, 630, 172, 5))})
        << QStringList{"complete", "saved tank", "saved properties"};
    QTest::newRow("calibration of both points, each read back, then the stored one read")
        << normal << 5.0 << QStringList{"empty", "full", "calibration"}
        << after({wire(reqCalibrate(0)), calibrationRead, wire(reqCalibrate(100)), calibrationRead, calibrationRead})
        << QStringList{"complete", "calibrated empty", "calibrated full", "calibration read"};
    QTest::newRow("while the test runs, writes are refused")
        << normal << 0.1 << QStringList{"start", "!tank", "!start", "stop", "!stop"} << after({on, off})
        << QStringList{"complete", "test on", "test off"};
    QTest::newRow("a measurement before the stream-on's ok is plotted and the ok still awaited")
        << okAfterMeasurement << 0.1 << QStringList{"start", "stop", "rs485"} << after({on, off, rs485})
        << QStringList{"complete", "test on", "measurement", "test off", "saved rs485"};
    // The sensor refuses the write: an "ok" left over from the stop would pass for its acknowledgement.
    QTest::newRow("one stream-off stops a sensor that answers only the first, and leaves no ok over")
        << stopsOnce << 8.0 << QStringList{"start", "wait", "stop", "rs485"} << after({on, off, rs485})
        << QStringList{"complete", "test on", "measurement", "test off", "failed"};
    const QStringList profileWrites = {tank, activate2, wire(reqWriteTankConfig("Butane", 60, 2)), rs485};
    QTest::newRow("profile: every step, then read back")
        << normal << 5.0 << QStringList{"profile"} << after(profileWrites + readBack)
        << QStringList{"complete", "profile: 4 written, 0 not"};
    QTest::newRow("profile refused at the tank configuration: the rest unsent, still read back")
        << refusing(R"(["TankConfig",{"Active":2,"Liquid")") << 5.0 << QStringList{"profile", "rs485"}
        << after(profileWrites.mid(0, 3) + readBack + QStringList{rs485})
        << QStringList{"complete", "profile: 2 written, 2 not", "saved rs485"};
    QTest::newRow("no reply in time: the error path, once")
        << silent << 5.0 << QStringList{"empty", "wait"} << after({wire(reqCalibrate(0))})
        << QStringList{"complete", "failed"};
    QTest::newRow("unplugged mid-sequence: lost, and no time limit fires after it")
        << unplugged << 5.0 << QStringList{"tank", "wait", "!rs485"} << after({tank})
        << QStringList{"complete", "lost"};

    QTest::newRow("reading a streaming sensor that answers one stream-off: measurements before its ok skipped")
        << streaming << 8.0 << QStringList() << reading << QStringList{"complete"};
    QTest::newRow("reading frames split, coalesced and behind line noise")
        << noisy << 5.0 << QStringList() << reading << QStringList{"complete"};
    QTest::newRow("a refused read") << refusing(R"(["Info"])") << 5.0 << QStringList() << QStringList(reading.mid(0, 2))
                                    << QStringList{"failed"};
    QTest::newRow("record ids shifted: record 0 comes as 1, record 2 as 3")
        << shifted << 5.0 << QStringList() << QStringList(reading.mid(0, 4) + QStringList{wire(reqTankRecord(2))})
        << QStringList{"failed"};
    QTest::newRow("record below the one asked for: no endless reading")
        << refusing(R"(["TankConfig",{"id":1}])", json::array({"TankConfig", recordToJson(TankConfigRecord_t{})}))
        << 5.0 << QStringList() << QStringList(reading.mid(0, 5)) << QStringList{"failed"};
    QTest::newRow("broken checksums") << corrupt << 5.0 << QStringList() << QStringList(reading.mid(0, 3))
                                      << QStringList{"failed"};
}

void SensorConnectionTest_t::conversations() {
    QFETCH(EmulatorFaults_t, sensor);
    QFETCH(double, streamRate);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, events);

    Rig_t rig(sensor, streamRate);
    QVERIFY(rig.settle());
    for (QString command : commands) {
        if (!command.startsWith('&'))
            QVERIFY(rig.settle());
        command.remove('&');
        const bool refused = command.startsWith('!');
        QCOMPARE(rig.run(command.mid(refused ? 1 : 0)), !refused);
    }
    QVERIFY(rig.settle());
    QTest::qWait(100); // anything the sensor still sends
    QCOMPARE(rig.emulator.requests(), requests);
    QCOMPARE(rig.events, events);
    // An ended connection takes no command: it stays busy.
    QCOMPARE(rig.connection->isBusy(), rig.ended);
    if (!rig.ended)
        verifySnapshotMatchesSensor(rig.connection->sensor(), rig.emulator.stateJson());
}

QTEST_GUILESS_MAIN(SensorConnectionTest_t)
#include "test_sensorconnection.moc"
