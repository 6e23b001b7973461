// The conversation with a sensor, without widgets: connections against the emulated sensor on a real
// pseudo-terminal. Each row gives the sensor's misbehaviour, the commands, every request the sensor must see and
// every outcome the connections must report. Requests are written out as the sensor receives them, and the reading
// is named by its steps, so a new step of the reading changes no row that stops before it.

#include "sensorconnection.h"
#include "sensoremulator.h"
#include "sensorstate.h"
#include "wireobjects.h"

#include <QtTest>
#include <memory>

using nlohmann::json;

Q_DECLARE_METATYPE(EmulatorFaults_t)

namespace {

constexpr int REPLY_TIMEOUT_MS = 1000;

const QString OFF = R"(["Installation",{"on":0}])";
const QString ON = R"(["Installation",{"on":1}])";
const QString TANK = R"(["TankConfig",{"Height":250,"InnerDiameter":172,"Length":250,"Orientation":"Horizontal",)"
                     R"("OuterDiameter":630,"Shape":"Toroidal","Wall":3,"id":2}])";
const QString RS485 = R"(["OmnicommConfig",{"Address":17,"TxMode":true,"TxPeriodSec":12,"Units":"litres"}])";
const QString CONFIG_60 = R"(["TankConfig",{"Active":2,"Liquid":"Butane","Mixture":60,"Qty":3}])";
const QString CALIBRATION = R"(["Calibration"])";

QString activate(int id) {
    return QStringLiteral(R"(["TankConfig",{"Active":%1}])").arg(id);
}

// The reading's requests, each under the name its rows use.
const QList<QPair<QString, QString>> READING = {
    {"stream off", OFF},
    {"Info", R"(["Info"])"},
    {"TankConfig", R"(["TankConfig"])"},
    {"record 0", R"(["TankConfig",{"id":0}])"},
    {"record 1", R"(["TankConfig",{"id":1}])"},
    {"record 2", R"(["TankConfig",{"id":2}])"},
    {"RS485", R"(["OmnicommConfig"])"},
};

// The reading's requests from step first to step last, both included.
QStringList readingSteps(const QString& first = "stream off", const QString& last = "RS485") {
    QStringList requests;
    bool in = false;
    for (const auto& [name, request] : READING) {
        in = in || name == first;
        if (in)
            requests << request;
        if (name == last)
            break;
    }
    return requests;
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

// How far a sequence got, by step names: "written: a, b; refused: c; ...".
QString outcomeLine(const SequenceOutcome_t& o) {
    QStringList parts;
    const auto add = [&parts](const char* title, const QStringList& steps) {
        if (!steps.isEmpty())
            parts << QStringLiteral("%1: %2").arg(QLatin1String(title), steps.join(", "));
    };
    add("written", o.writeSteps(StepResultE::DONE, true));
    add("refused", o.writeSteps(StepResultE::REFUSED, true));
    add("unanswered", o.writeSteps(StepResultE::UNANSWERED, true));
    add("not sent", o.writeSteps(StepResultE::NOT_SENT, true));
    add("not read back", o.readSteps(StepResultE::REFUSED, true));
    return parts.join("; ");
}

// Connections to one emulated sensor, one after the other, with every signal they send recorded as a short text;
// repeated measurements count once.
class Rig_t {
public:
    Rig_t(const EmulatorFaults_t& faults, double streamRate) {
        QString error;
        if (!emulator.start(error) || !emulator.setStreamRate(streamRate))
            qFatal("emulator: %s", qPrintable(error));
        emulator.setFaults(faults);
        QTest::qWait(faults.streamAtStart ? 300 : 0); // measurements pile up before the port opens
        connectAgain();
    }

    void connectAgain() {
        ended = false;
        connection = std::make_unique<SensorConnection_t>(emulator.slavePath());
        connection->setReplyTimeoutMs(REPLY_TIMEOUT_MS);
        SensorConnection_t* c = connection.get();
        QObject::connect(c, &SensorConnection_t::signReadingComplete, [this] { note("complete"); });
        QObject::connect(c, &SensorConnection_t::signTestRunningChanged,
                         [this](bool on) { note(on ? "test on" : "test off"); });
        QObject::connect(c, &SensorConnection_t::signSaved, [this](SequenceE s) {
            static const std::map<SequenceE, QString> names = {{SequenceE::TANK, "saved tank"},
                                                               {SequenceE::ACTIVATION, "saved activation"},
                                                               {SequenceE::PROPERTIES, "saved properties"},
                                                               {SequenceE::OMNICOMM, "saved rs485"},
                                                               {SequenceE::CALIBRATION_RESET, "saved reset"}};
            note(names.at(s));
        });
        QObject::connect(c, &SensorConnection_t::signRefused, [this] { note("refused"); });
        QObject::connect(c, &SensorConnection_t::signCalibrated, [this](CalibrationPointE p, qint32) {
            note(p == CalibrationPointE::EMPTY ? "calibrated empty" : "calibrated full");
        });
        QObject::connect(c, &SensorConnection_t::signMeasurement, [this](Installation_t) { note("measurement"); });
        QObject::connect(c, &SensorConnection_t::signCalibrationRead,
                         [this, c] { note(c->sensor().calibration ? "calibration read" : "calibration unknown"); });
        QObject::connect(c, &SensorConnection_t::signProfileWritten,
                         [this](const SequenceOutcome_t& o) { note("profile: " + outcomeLine(o)); });
        QObject::connect(c, &SensorConnection_t::signWriteCut,
                         [this](const SequenceOutcome_t& o) { note("cut: " + outcomeLine(o)); });
        QObject::connect(c, &SensorConnection_t::signFailed, [this](const Failure_t& f) {
            static const char* const kinds[] = {"no reply to", "refused", "unexpected reply to", "unreadable reply to"};
            note(QStringLiteral("failed: %1 %2").arg(QLatin1String(kinds[int(f.kind)]), f.step), true);
        });
        QObject::connect(c, &SensorConnection_t::signLost, [this] { note("lost", true); });
        c->open();
    }

    // Waits until nothing is under way or the connection has ended.
    bool settle() {
        return QTest::qWaitFor([this] { return ended || !connection->isBusy(); }, 2 * REPLY_TIMEOUT_MS + 3000);
    }

    // Runs one command; false when the connection refused it.
    bool run(const QString& command) {
        using Command_t = std::function<bool(Rig_t&)>;
        static const std::map<QString, Command_t> commands = {
            // Written as record 2 whatever id it carries, its height taken from its length.
            {"tank",
             [](Rig_t& r) {
                 return r.connection->writeTank({0, "Toroidal", "Horizontal", 0, 250, 630, 172, 3});
             }},
            {"activate 1", [](Rig_t& r) { return r.connection->activateRecord(1); }},
            {"activate 3", [](Rig_t& r) { return r.connection->activateRecord(3); }},
            {"properties", [](Rig_t& r) { return r.connection->writeProperties(60, 5); }},
            {"rs485",
             [](Rig_t& r) {
                 return r.connection->writeOmnicomm({17, true, QStringLiteral("litres"), 12});
             }},
            {"empty", [](Rig_t& r) { return r.connection->calibrate(CalibrationPointE::EMPTY); }},
            {"full", [](Rig_t& r) { return r.connection->calibrate(CalibrationPointE::FULL); }},
            {"reset", [](Rig_t& r) { return r.connection->resetCalibration(); }},
            {"profile", [](Rig_t& r) { return r.connection->writeProfile(profileTarget()); }},
            {"calibration", [](Rig_t& r) { return r.connection->readCalibration(); }},
            {"start", [](Rig_t& r) { return r.connection->startTest(); }},
            {"stop", [](Rig_t& r) { return r.connection->stopTest(); }},
            {"close at the RS485 write",
             [](Rig_t& r) { return r.atRequest(RS485), r.connection->close(), r.ended = true; }},
            {"reconnect at the RS485 write",
             [](Rig_t& r) { return r.atRequest(RS485), r.connection->close(), r.connectAgain(), true; }},
            {"refuse the RS485 read",
             [](Rig_t& r) { return r.emulator.setFaults(refusing(R"(["OmnicommConfig"])")), true; }},
            // The port's own report that it is no longer open, with no unplug before it.
            {"not-open port error",
             [](Rig_t& r) { return r.connection->slotSerialError(QSerialPort::NotOpenError), true; }},
            {"wait", [](Rig_t&) { return QTest::qWait(REPLY_TIMEOUT_MS + 500), true; }}};
        return commands.at(command)(*this);
    }

    // Once the sensor has received request.
    void atRequest(const QString& request) {
        QVERIFY(QTest::qWaitFor([this, &request] { return emulator.requests().contains(request); }));
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
    QCOMPARE(int(sensor.records.size()), TANK_RECORD_COUNT);
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

    const QStringList reading = readingSteps();
    const auto after = [&reading](const QStringList& more) -> QStringList { return reading + more; };
    const QStringList readBack = readingSteps("TankConfig");
    EmulatorFaults_t normal, okAfterMeasurement, silent, unplugged, streaming, noisy, shifted, corrupt, slow;
    EmulatorFaults_t stopsOnce = refusing(R"(["OmnicommConfig",)");
    stopsOnce.ignoreRepeatedStreamOff = streaming.ignoreRepeatedStreamOff = streaming.streamAtStart = true;
    okAfterMeasurement.measurementBeforeStreamOk = true;
    silent.silentCommand = "Calibration";
    unplugged.dropAfter = reading.size() + 1;
    noisy.splitPieces = 3;
    noisy.coalesce = true;
    noisy.garbage = QByteArray::fromHex("55aa00");
    shifted.recordId = RecordIdFaultE::SHIFTED;
    corrupt.corruptEveryNth = 1;
    slow.replyDelayMs = 400;
    slow.delayedPrefix = R"(["OmnicommConfig",{)"; // the RS485 write's "ok" alone comes late
    EmulatorFaults_t slowStart = slow;
    slowStart.delayedPrefix = ON;

    QTest::newRow("tank: record 2 and its activation; nothing else while it awaits a reply")
        << normal << 5.0 << QStringList{"tank", "&!rs485", "&!reset", "&!profile", "&!activate 1"}
        << after({TANK, activate(2)}) << QStringList{"complete", "saved tank"};
    QTest::newRow("the reset's ok is awaited; a refused record is told, and a stored one activated alone")
        << refusing(R"(["TankConfig",{"Height")") << 5.0 << QStringList{"reset", "tank", "!activate 3", "activate 1"}
        << after({R"(["Calibration",{"Reset":true}])", TANK, activate(1)})
        << QStringList{"complete", "saved reset", "refused", "saved activation"};
    QTest::newRow("refused activation: the error path, telling what was written")
        << refusing(R"(["TankConfig",{"Active":2})") << 5.0 << QStringList{"tank", "!properties"}
        << after({TANK, activate(2)})
        << QStringList{"complete", "cut: written: Records[2]; refused: TankConfig.Active",
                       "failed: refused TankConfig.Active"};
    QTest::newRow("properties write record 2 as the tank write left it")
        << normal << 5.0 << QStringList{"tank", "properties"}
        << after({TANK, activate(2), CONFIG_60, QString(TANK).replace(R"("Wall":3)", R"("Wall":5)")})
        << QStringList{"complete", "saved tank", "saved properties"};
    QTest::newRow("calibration of both points, each read back, then the stored one read")
        << normal << 5.0 << QStringList{"empty", "full", "calibration"}
        << after({R"(["Calibration",{"Percent":0}])", CALIBRATION, R"(["Calibration",{"Percent":100}])", CALIBRATION,
                  CALIBRATION})
        << QStringList{"complete", "calibrated empty", "calibrated full", "calibration read"};
    QTest::newRow("a refused calibration read leaves the calibration unknown, not zero")
        << refusing(CALIBRATION) << 5.0 << QStringList{"calibration", "rs485"} << after({CALIBRATION, RS485})
        << QStringList{"complete", "calibration unknown", "saved rs485"};
    QTest::newRow("while the test runs, writes are refused")
        << normal << 0.1 << QStringList{"start", "!tank", "!start", "stop", "!stop"} << after({ON, OFF})
        << QStringList{"complete", "test on", "test off"};
    QTest::newRow("a measurement before the stream-on's ok is plotted and the ok still awaited")
        << okAfterMeasurement << 0.1 << QStringList{"start", "stop", "rs485"} << after({ON, OFF, RS485})
        << QStringList{"complete", "test on", "measurement", "test off", "saved rs485"};
    QTest::newRow("stopped while the stream-on awaits its ok: the stream-off follows the ok")
        << slowStart << 5.0 << QStringList{"start", "&stop", "rs485"} << after({ON, OFF, RS485})
        << QStringList{"complete", "test on", "test off", "saved rs485"};
    // The sensor refuses the write: an "ok" left over from the stop would pass for its acknowledgement.
    QTest::newRow("one stream-off stops a sensor that answers only the first, and leaves no ok over")
        << stopsOnce << 8.0 << QStringList{"start", "wait", "stop", "rs485"} << after({ON, OFF, RS485})
        << QStringList{"complete",
                       "test on",
                       "measurement",
                       "test off",
                       "cut: refused: OmnicommConfig",
                       "failed: refused OmnicommConfig"};
    const QStringList profileWrites = {TANK, activate(2), CONFIG_60, RS485};
    QTest::newRow("profile: every step, then read back")
        << normal << 5.0 << QStringList{"profile"} << after(profileWrites + readBack)
        << QStringList{"complete", "profile: written: Records[2], TankConfig.Active, TankConfig, OmnicommConfig"};
    QTest::newRow("profile refused at the tank configuration: the rest unsent, still read back")
        << refusing(R"(["TankConfig",{"Active":2,"Liquid")") << 5.0 << QStringList{"profile", "rs485"}
        << after(profileWrites.mid(0, 3) + readBack + QStringList{RS485})
        << QStringList{"complete",
                       "profile: written: Records[2], TankConfig.Active; refused: TankConfig; not sent: OmnicommConfig",
                       "saved rs485"};
    QTest::newRow("profile read back refused: reported as not read back")
        << normal << 5.0 << QStringList{"refuse the RS485 read", "profile"} << after(profileWrites + readBack)
        << QStringList{"complete", "profile: written: Records[2], TankConfig.Active, TankConfig, OmnicommConfig; not "
                                   "read back: OmnicommConfig"};
    QTest::newRow("disconnected in the middle of a profile write: told what was and was not written")
        << slow << 5.0 << QStringList{"profile", "&close at the RS485 write"} << after(profileWrites)
        << QStringList{"complete",
                       "cut: written: Records[2], TankConfig.Active, TankConfig; unanswered: OmnicommConfig"};
    QTest::newRow("a late ok of the last connection is not taken by the next one's reading")
        << slow << 5.0 << QStringList{"rs485", "&reconnect at the RS485 write", "calibration"}
        << after({RS485}) + reading + QStringList{CALIBRATION}
        << QStringList{"complete", "cut: unanswered: OmnicommConfig", "complete", "calibration read"};
    QTest::newRow("no reply in time: the error path, once")
        << silent << 5.0 << QStringList{"empty", "wait"} << after({R"(["Calibration",{"Percent":0}])"})
        << QStringList{"complete", "cut: unanswered: Calibration.Empty", "failed: no reply to Calibration.Empty"};
    QTest::newRow("a port no longer open: lost")
        << normal << 5.0 << QStringList{"not-open port error", "!rs485"} << reading << QStringList{"complete", "lost"};
    QTest::newRow("unplugged mid-sequence: lost, and no time limit fires after it")
        << unplugged << 5.0 << QStringList{"tank", "wait", "!rs485"} << after({TANK})
        << QStringList{"complete", "cut: unanswered: Records[2]; not sent: TankConfig.Active", "lost"};

    QTest::newRow("reading a streaming sensor that answers one stream-off: measurements before its ok skipped")
        << streaming << 8.0 << QStringList() << reading << QStringList{"complete"};
    QTest::newRow("reading frames split, coalesced and behind line noise")
        << noisy << 5.0 << QStringList() << reading << QStringList{"complete"};
    QTest::newRow("a refused read") << refusing(R"(["Info"])") << 5.0 << QStringList()
                                    << readingSteps("stream off", "Info") << QStringList{"failed: refused Info"};
    QTest::newRow("another command's data where the identity was asked for")
        << refusing(R"(["Info"])", json::array({"OmnicommConfig", omnicommToJson(OmnicommConfig_t{})})) << 5.0
        << QStringList() << readingSteps("stream off", "Info") << QStringList{"failed: unexpected reply to Info"};
    QTest::newRow("record ids shifted: a record that is not the one asked for")
        << shifted << 5.0 << QStringList() << readingSteps("stream off", "record 0")
        << QStringList{"failed: unreadable reply to Records[0]"};
    QTest::newRow("the tank configuration where a record was asked for")
        << refusing(R"(["TankConfig",{"id":1}])", json::array({"TankConfig", tankConfigToJson(TankConfig_t{})})) << 5.0
        << QStringList() << readingSteps("stream off", "record 1")
        << QStringList{"failed: unreadable reply to Records[1]"};
    QTest::newRow("broken checksums: no reply in time")
        << corrupt << 5.0 << QStringList() << readingSteps("stream off", "stream off")
        << QStringList{"failed: no reply to Installation.off"};
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
    if (!rig.ended) {
        verifySnapshotMatchesSensor(rig.connection->sensor(), rig.emulator.stateJson());
        // The live test is over for the sensor too.
        QCOMPARE(rig.emulator.stateJson()["Installation"], json(false));
    }
}

QTEST_GUILESS_MAIN(SensorConnectionTest_t)
#include "test_sensorconnection.moc"
