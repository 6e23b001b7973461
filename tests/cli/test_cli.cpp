// velmaro-cli as a child process against the emulated sensor on a real pseudo-terminal, which this process serves.
// A profile read with "read --json" from one sensor is written into the others; each row is one invocation: how
// the sensor behaves, the arguments, the exit code and what standard output must hold. No invocation may leave the
// sensor streaming.

#include "sensoremulator.h"
#include "sensorprofile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using nlohmann::json;

Q_DECLARE_METATYPE(EmulatorFaults_t)

namespace {

constexpr int RUN_LIMIT_MS = 20000;

// A setup unlike the emulator's default one, with a calibration only a profile read carries, and values the tool
// never writes: a liquid it does not know, a period with periodic output off, record 0 with no wall and its height
// apart from its length.
const QByteArray SOURCE_STATE = R"({"TankConfig": {"Mixture": 60, "Liquid": "LPG", "Active": 2},
    "OmnicommConfig": {"Address": 17, "TxMode": false, "Units": "mm", "TxPeriodSec": 12},
    "Records": [{"id": 0, "Shape": "Cylindric", "Orientation": "Horizontal", "Height": 640, "Length": 641,
                 "OuterDiameter": 300, "InnerDiameter": 0, "Wall": 0},
        {"id": 1, "Shape": "Toroidal", "Orientation": "Horizontal", "Height": 250, "Length": 250, "OuterDiameter": 630,
         "InnerDiameter": 172, "Wall": 3},
        {"id": 2, "Shape": "Toroidal", "Orientation": "Horizontal", "Height": 200, "Length": 200, "OuterDiameter": 600,
         "InnerDiameter": 172, "Wall": 3}],
    "Calibration": {"Empty": 111, "Full": 999}})";

// Runs the tool; the emulator answers only while this event loop spins. The signal once interruptDue (null: never).
// A shell redirection (e.g. "| head -1", ">&-") runs the tool under bash with it;
// the tool's own exit code counts. The exit code, or -1 when it did not end normally in time.
int runCli(const QStringList& arguments, QByteArray& out, const std::function<bool()>& interruptDue = {},
           int signal = SIGINT, const QString& redirection = {}) {
    QProcess cli;
    QObject::connect(&cli, &QProcess::readyReadStandardOutput, [&] { out += cli.readAllStandardOutput(); });
    if (redirection.isEmpty())
        cli.start(QStringLiteral(VELMARO_CLI_PATH), arguments);
    else
        cli.start(QStringLiteral("bash"),
                  QStringList{"-c", QStringLiteral(R"("$0" "$@" %1; exit ${PIPESTATUS[0]})").arg(redirection),
                              QStringLiteral(VELMARO_CLI_PATH)} +
                      arguments);
    if (interruptDue && QTest::qWaitFor(interruptDue, RUN_LIMIT_MS))
        ::kill(static_cast<pid_t>(cli.processId()), signal);
    const bool ended = QTest::qWaitFor([&] { return cli.state() == QProcess::NotRunning; }, RUN_LIMIT_MS);
    out += cli.readAllStandardOutput();
    qInfo("%s", cli.readAllStandardError().constData());
    return ended && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

} // namespace

class CliTest_t : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void invocations_data();
    void invocations();

private:
    QTemporaryDir dir;
    QString profilePath;
    QString ownRecordProfilePath; // activates record 0, holding there what the sensor holds in record 2
};

void CliTest_t::initTestCase() {
    SensorEmulator_t emulator;
    QString error;
    QVERIFY2(emulator.start(error), qPrintable(error));
    QFile state(dir.filePath(QStringLiteral("state.json")));
    QVERIFY(state.open(QIODevice::WriteOnly) && state.write(SOURCE_STATE) == SOURCE_STATE.size());
    state.close();
    QVERIFY2(emulator.loadState(state.fileName(), error), qPrintable(error));

    QByteArray out;
    QCOMPARE(runCli({"read", "--json", "--port", emulator.slavePath()}, out), 0);
    SensorProfile_t profile;
    QVERIFY2(profileFromJson(out, profile, error), qPrintable(error));
    QCOMPARE(profile.sensor.info.Name, QString::fromStdString(emulator.stateJson()["Info"]["Name"].get<std::string>()));
    QVERIFY(profile.sensor.calibration);
    QCOMPARE(profile.sensor.calibration->Full, 999);
    profilePath = dir.filePath(QStringLiteral("profile.json"));
    QFile file(profilePath);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(out) == out.size());

    TankConfigRecord_t ownRecord = *profile.sensor.record(2);
    ownRecord.id = 0;
    QVERIFY(
        !(ownRecord.Height == profile.sensor.record(0)->Height && ownRecord.Shape == profile.sensor.record(0)->Shape));
    profile.sensor.storeRecord(ownRecord);
    profile.sensor.tankConfig.Active = 0;
    ownRecordProfilePath = dir.filePath(QStringLiteral("own-record.json"));
    QFile ownRecordFile(ownRecordProfilePath);
    const QByteArray ownRecordJson = profileToJson(profile);
    QVERIFY(ownRecordFile.open(QIODevice::WriteOnly) && ownRecordFile.write(ownRecordJson) == ownRecordJson.size());
}

void CliTest_t::invocations_data() {
    QTest::addColumn<EmulatorFaults_t>("sensor");
    QTest::addColumn<QStringList>("arguments"); // PORT: the emulator's device, PROFILE: the profile read at start
    // "INT:3": SIGINT once standard output has 3 lines; "HUP:text": SIGHUP once the emulator has a request
    // beginning with text; empty: never.
    QTest::addColumn<QString>("interrupt");
    QTest::addColumn<QString>("redirection"); // of the tool's standard output, in bash
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // a regular expression standard output must match
    // JSON path=value;... the emulator must hold afterwards; empty: nothing checked
    QTest::addColumn<QString>("stored");

    const QStringList port = {"--port", "PORT"};
    const QStringList write = QStringList{"write", "PROFILE"} + port;
    EmulatorFaults_t refusing, notStoring, silent, slowRecord;
    const QString recordWrite = R"(["TankConfig",{"Height")";
    slowRecord.delayedPrefix = recordWrite;
    slowRecord.replyDelayMs = 1000;
    refusing.overridePrefix = recordWrite;
    notStoring.overridePrefix = R"(["OmnicommConfig",)";
    notStoring.overrideReply = json::array({"ok"});
    silent.silentCommand = "Info";

    const QStringList monitor = QStringList{"monitor"} + port;
    const QString none;
    // The monitor's CSV: a header, then lines of seconds, RawTOF and mm.
    QTest::newRow("monitor ended by SIGINT") << EmulatorFaults_t() << monitor << "INT:3" << none << 0
                                             << R"(^seconds,RawTOF,mm(\n\d+\.\d{3},\d+,-?\d+(\.\d+)?)+$)" << none;
    QTest::newRow("monitor into head -1: stream stopped, 6")
        << EmulatorFaults_t() << monitor << none << "| head -1" << 6 << "^seconds,RawTOF,mm\n$" << none;
    QTest::newRow("monitor, standard output closed: 6")
        << EmulatorFaults_t() << monitor + QStringList{"--seconds", "3"} << none << ">&-" << 6 << "^$" << none;
    QTest::newRow("read, standard output closed: 6")
        << EmulatorFaults_t() << QStringList{"read"} + port << none << ">&-" << 6 << "^$" << none;
    QTest::newRow("monitor seconds past a week: 1")
        << EmulatorFaults_t() << monitor + QStringList{"--seconds", "2147484"} << none << none << 1 << "^$" << none;
    QTest::newRow("timeout 0: 1") << EmulatorFaults_t() << QStringList{"read", "--timeout", "0"} + port << none << none
                                  << 1 << "^$" << none;
    // The emulator's active tank, the catalogue toroid 600x200 with a 3 mm wall, is 194 mm high inside.
    QTest::newRow("table of the sensor's tank")
        << EmulatorFaults_t() << QStringList{"table"} + port << none << none << 0
        << R"(^level_mm,litres,percent\n0,0\.00,0\.00(\n\d+0,\d+\.\d\d,\d+\.\d\d){19}\n194,\d+\.\d\d,100\.00$)" << none;
    QTest::newRow("table of a profile, no sensor")
        << EmulatorFaults_t() << QStringList{"table", "--profile", "PROFILE", "--format", "json", "--step-mm", "97"}
        << none << none << 0 << R"("inner_height_mm": 194,[\s\S]*"nominal_litres": 42,[\s\S]*"level_mm": 97,)" << none;
    QTest::newRow("table step out of range: 1")
        << EmulatorFaults_t() << QStringList{"table", "--step-mm", "1001"} + port << none << none << 1 << "^$" << none;
    QTest::newRow("bad invocation: 1") << EmulatorFaults_t() << QStringList{"frob"} + port << none << none << 1 << "^$"
                                       << none;
    QTest::newRow("no such port: 2") << EmulatorFaults_t() << QStringList{"read", "--port", "/nonexistent/velmaro"}
                                     << none << none << 2 << "^$" << none;
    QTest::newRow("a directory as port: 2")
        << EmulatorFaults_t() << QStringList{"read", "--port", "DIR"} << none << none << 2 << "^$" << none;
    QTest::newRow("write, by the window's rules")
        << EmulatorFaults_t() << write << none << none << 0 << "^written: [^\n]*OmnicommConfig[^\n]*\n$"
        << R"(/OmnicommConfig/Address=17;/OmnicommConfig/TxPeriodSec=0;/TankConfig/Liquid="Butane")";
    QTest::newRow("write stopped by SIGHUP once the record is answered: 8")
        << slowRecord << write << "HUP:" + recordWrite << none << 8
        << "^written: Records\\[2\\]; not sent: TankConfig.Active, TankConfig, OmnicommConfig\n$"
        << "/OmnicommConfig/Address=10";
    QTest::newRow("write over a differing own record: 7, nothing sent")
        << EmulatorFaults_t() << QStringList{"write", "OWN_RECORD_PROFILE"} + port << none << none << 7 << "^$"
        << "/OmnicommConfig/Address=10";
    QTest::newRow("write forced over a differing own record: 4")
        << EmulatorFaults_t() << QStringList{"write", "OWN_RECORD_PROFILE", "--force"} + port << none << none << 4
        << R"(Records\[0\]\.)"
        << "/TankConfig/Active=0";
    // Read back after the refusal: nothing after the refused record was sent.
    QTest::newRow("write refused: 3") << refusing << write << none << none << 3
                                      << "OmnicommConfig.Address: profile 17, sensor 10"
                                      << "/OmnicommConfig/Address=10";
    QTest::newRow("write read back different: 4")
        << notStoring << write << none << none << 4 << "OmnicommConfig.Address: profile 17, sensor 10" << none;
    QTest::newRow("silent sensor: 5") << silent << QStringList{"read", "--timeout", "500"} + port << none << none << 5
                                      << "^$" << none;
}

void CliTest_t::invocations() {
    QFETCH(EmulatorFaults_t, sensor);
    QFETCH(QStringList, arguments);
    QFETCH(QString, interrupt);
    QFETCH(QString, redirection);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, stored);

    SensorEmulator_t emulator;
    QString error;
    QVERIFY2(emulator.start(error), qPrintable(error));
    emulator.setFaults(sensor);
    arguments.replaceInStrings(QRegularExpression("^PORT$"), emulator.slavePath());
    arguments.replaceInStrings(QRegularExpression("^PROFILE$"), profilePath);
    arguments.replaceInStrings(QRegularExpression("^OWN_RECORD_PROFILE$"), ownRecordProfilePath);
    arguments.replaceInStrings(QRegularExpression("^DIR$"), dir.path());
    QByteArray out;
    const QString due = interrupt.mid(4); // after "INT:" or "HUP:"
    const int lines = due.toInt();
    const auto interruptDue = [&] {
        return lines > 0 ? out.count('\n') >= lines : emulator.requests().join('\n').contains(due);
    };
    QCOMPARE(runCli(arguments, out, interrupt.isEmpty() ? std::function<bool()>() : interruptDue,
                    interrupt.startsWith("HUP") ? SIGHUP : SIGINT, redirection),
             exitCode);

    QVERIFY2(QRegularExpression(output).match(QString::fromUtf8(out)).hasMatch(), out.constData());
    const json state = emulator.stateJson();
    QCOMPARE(state["Installation"], json(false));
    for (const QString& pathValue : stored.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        QCOMPARE(state.at(json::json_pointer(pathValue.section('=', 0, 0).toStdString())).dump(),
                 pathValue.section('=', 1).toStdString());
}

QTEST_GUILESS_MAIN(CliTest_t)
#include "test_cli.moc"
