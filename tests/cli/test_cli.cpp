// velmaro-cli as a child process against the emulated sensor on a real pseudo-terminal, which this process serves.
// Each row is one invocation: how the sensor behaves, the arguments, the exit code, what standard output must hold
// and what the sensor must hold afterwards. No row may leave the sensor streaming.

#include "sensorconnection.h"
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

EmulatorFaults_t faults(const std::function<void(EmulatorFaults_t&)>& set = {}) {
    EmulatorFaults_t f;
    if (set)
        set(f);
    return f;
}

EmulatorFaults_t overriding(const QString& prefix, json reply) {
    return faults([&](EmulatorFaults_t& f) {
        f.overridePrefix = prefix;
        f.overrideReply = std::move(reply);
    });
}

// What the window saves after connecting: the sensor as read, calibration included, then changed the way a fitter
// changes it before saving a setup for other sensors.
bool saveChangedProfile(const QString& path) {
    SensorEmulator_t emulator;
    QString error;
    if (!emulator.start(error))
        return false;
    SensorConnection_t connection(emulator.slavePath());
    bool calibrationRead = false;
    QObject::connect(&connection, &SensorConnection_t::signReadingComplete, [&] { connection.readCalibration(); });
    QObject::connect(&connection, &SensorConnection_t::signCalibrationRead, [&] { calibrationRead = true; });
    connection.open();
    if (!QTest::qWaitFor([&] { return calibrationRead; }, 5000))
        return false;
    SensorProfile_t profile{QDateTime::currentDateTime(), QStringLiteral("test"), QStringLiteral("Velmaro#0001"),
                            connection.sensor()};
    TankConfigRecord_t record = *profile.sensor.record(WRITABLE_RECORD_ID);
    record.OuterDiameter = 630;
    profile.sensor.storeRecord(record);
    profile.sensor.tankConfig = {60, QStringLiteral("Butane"), WRITABLE_RECORD_ID};
    profile.sensor.omnicomm.Address = 17;
    return saveProfile(path, profile, error);
}

// Every line of a monitor's output after the header: seconds, RawTOF, mm, all numbers.
bool parsesAsCsv(const QString& output) {
    QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 2 || lines.takeFirst() != QLatin1String("seconds,RawTOF,mm"))
        return false;
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(','));
        bool ok = fields.size() == 3;
        for (const QString& field : fields) {
            bool number = false;
            field.toDouble(&number);
            ok = ok && number;
        }
        if (!ok)
            return false;
    }
    return true;
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
};

void CliTest_t::initTestCase() {
    QVERIFY(dir.isValid());
    profilePath = dir.filePath(QStringLiteral("profile.json"));
    QVERIFY(saveChangedProfile(profilePath));
}

void CliTest_t::invocations_data() {
    QTest::addColumn<EmulatorFaults_t>("sensor");
    QTest::addColumn<QByteArray>("sensorState"); // loaded into the emulator first; empty: its defaults
    // PORT: the emulator's device, PROFILE: the saved profile, REPORT: where a report goes.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("interruptAtLine"); // SIGINT once standard output has this many lines; 0: never
    QTest::addColumn<int>("exitCode");
    // "": nothing; "json": any JSON; "profile": a profile file of the emulated sensor; "csv": a monitor's output;
    // "calibration": the emulator's stored empty value; "report": nothing, and a PDF naming the sensor and its stored
    // calibration at REPORT; otherwise text the output contains.
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("sensorHolds"); // "/json/pointer=value" in the emulator's state afterwards

    const EmulatorFaults_t normal = faults();
    const QStringList port = {"--port", "PORT"};
    const QByteArray calibrated = R"({"Calibration":{"Empty":111,"Full":999}})";

    QTest::newRow("ports --json") << normal << QByteArray() << QStringList{"ports", "--json"} << 0 << 0 << "json"
                                  << QStringList();
    QTest::newRow("read: text") << normal << calibrated << QStringList{"read"} + port << 0 << 0
                                << "Name: Velmaro LS-1 (emulated)\nHWVer" << QStringList();
    QTest::newRow("read --json: the profile document")
        << normal << calibrated << QStringList{"read", "--json"} + port << 0 << 0 << "profile" << QStringList();
    QTest::newRow("write a profile saved by the window")
        << normal << QByteArray() << QStringList{"write", "PROFILE"} + port << 0 << 0 << ""
        << QStringList{"/TankConfig/Mixture=60", "/TankConfig/Liquid=\"Butane\"", "/Records/2/OuterDiameter=630",
                       "/OmnicommConfig/Address=17"};
    QTest::newRow("write refused: 3, the rest unsent")
        << overriding(R"(["TankConfig",{"Height")", json::array({"error"})) << QByteArray()
        << QStringList{"write", "PROFILE"} + port << 0 << 3 << "TankConfig.Mixture: profile 60, sensor 70"
        << QStringList{"/TankConfig/Mixture=70", "/OmnicommConfig/Address=10"};
    QTest::newRow("write read back different: 4")
        << overriding(R"(["OmnicommConfig",)", json::array({"ok"})) << QByteArray()
        << QStringList{"write", "PROFILE"} + port << 0 << 4 << "OmnicommConfig.Address: profile 17, sensor 10"
        << QStringList{"/TankConfig/Mixture=60"};
    QTest::newRow("silent sensor: 5") << faults([](EmulatorFaults_t& f) { f.silentCommand = "Info"; }) << QByteArray()
                                      << QStringList{"read", "--timeout", "500"} + port << 0 << 5 << ""
                                      << QStringList();
    QTest::newRow("line dropped: 5") << faults([](EmulatorFaults_t& f) { f.dropAfter = 3; }) << QByteArray()
                                     << QStringList{"read"} + port << 0 << 5 << "" << QStringList();
    QTest::newRow("no such port: 2") << normal << QByteArray() << QStringList{"read", "--port", "/nonexistent/velmaro"}
                                     << 0 << 2 << "" << QStringList();
    QTest::newRow("unknown command: 1") << normal << QByteArray() << QStringList{"frob"} + port << 0 << 1 << ""
                                        << QStringList();
    QTest::newRow("bad argument: 1") << normal << QByteArray() << QStringList{"calibrate", "middle"} + port << 0 << 1
                                     << "" << QStringList();
    QTest::newRow("option the command does not take: 1")
        << normal << QByteArray() << QStringList{"read", "--seconds", "3"} + port << 0 << 1 << "" << QStringList();
    QTest::newRow("calibrate empty prints the stored value")
        << normal << calibrated << QStringList{"calibrate", "empty"} + port << 0 << 0 << "calibration"
        << QStringList{"/Calibration/Full=999"};
    QTest::newRow("reset-calibration asks nothing")
        << normal << calibrated << QStringList{"reset-calibration"} + port << 0 << 0 << ""
        << QStringList{"/Calibration/Empty=0", "/Calibration/Full=0"};
    QTest::newRow("report without a display")
        << normal << calibrated << QStringList{"report", "--out", "REPORT", "--fitter", "Ivanov"} + port << 0 << 0
        << "report" << QStringList();
    QTest::newRow("monitor --seconds 1") << normal << QByteArray() << QStringList{"monitor", "--seconds", "1"} + port
                                         << 0 << 0 << "csv" << QStringList{"/Installation=false"};
    QTest::newRow("monitor ended by SIGINT") << normal << QByteArray() << QStringList{"monitor"} + port << 3 << 0
                                             << "csv" << QStringList{"/Installation=false"};
}

void CliTest_t::invocations() {
    QFETCH(EmulatorFaults_t, sensor);
    QFETCH(QByteArray, sensorState);
    QFETCH(QStringList, arguments);
    QFETCH(int, interruptAtLine);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QStringList, sensorHolds);

    SensorEmulator_t emulator;
    QString error;
    QVERIFY2(emulator.start(error), qPrintable(error));
    if (!sensorState.isEmpty()) {
        const QString statePath = dir.filePath(QStringLiteral("state.json"));
        QFile stateFile(statePath);
        QVERIFY(stateFile.open(QIODevice::WriteOnly) && stateFile.write(sensorState) == sensorState.size());
        stateFile.close();
        QVERIFY2(emulator.loadState(statePath, error), qPrintable(error));
    }
    emulator.setFaults(sensor);
    arguments.replaceInStrings(QRegularExpression("^PORT$"), emulator.slavePath());
    arguments.replaceInStrings(QRegularExpression("^PROFILE$"), profilePath);
    const QString reportPath = dir.filePath(QStringLiteral("report.pdf"));
    arguments.replaceInStrings(QRegularExpression("^REPORT$"), reportPath);

    QProcess cli;
    QByteArray out;
    QObject::connect(&cli, &QProcess::readyReadStandardOutput, [&] { out += cli.readAllStandardOutput(); });
    cli.start(QStringLiteral(VELMARO_CLI_PATH), arguments);
    QVERIFY(cli.waitForStarted());
    // The emulator answers only while this event loop spins.
    if (interruptAtLine > 0) {
        QVERIFY(QTest::qWaitFor([&] { return out.count('\n') >= interruptAtLine; }, RUN_LIMIT_MS));
        ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    }
    QVERIFY(QTest::qWaitFor([&] { return cli.state() == QProcess::NotRunning; }, RUN_LIMIT_MS));
    out += cli.readAllStandardOutput();
    const QString text = QString::fromUtf8(out);
    const QByteArray messages = cli.readAllStandardError();

    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QVERIFY2(cli.exitCode() == exitCode, messages.constData());
    const json state = emulator.stateJson();
    if (output == "json") {
        QJsonParseError parseError;
        QJsonDocument::fromJson(out, &parseError);
        QVERIFY2(parseError.error == QJsonParseError::NoError, qPrintable(text));
    } else if (output == "profile") {
        SensorProfile_t profile;
        QVERIFY2(profileFromJson(out, profile, error), qPrintable(error));
        QCOMPARE(profile.sensor.info.Name, QString::fromStdString(state["Info"]["Name"].get<std::string>()));
        QVERIFY(profile.sensor.calibration);
        QCOMPARE(profile.sensor.calibration->Full, state["Calibration"]["Full"].get<int>());
    } else if (output == "csv") {
        QVERIFY2(parsesAsCsv(text), qPrintable(text));
    } else if (output == "calibration") {
        QCOMPARE(text, QString::number(state["Calibration"]["Empty"].get<int>()) + '\n');
        QVERIFY(state["Calibration"]["Empty"] != 111);
    } else if (output == "report") {
        QCOMPARE(text, QString());
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {reportPath, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished());
        const QString page = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char* expected : {"Velmaro LS-1 (emulated)", "Ivanov", "111", "999"})
            QVERIFY2(page.contains(QLatin1String(expected)), qPrintable(page));
    } else if (output.isEmpty()) {
        QCOMPARE(text, QString());
    } else {
        QVERIFY2(text.contains(output), qPrintable(text));
    }
    for (const QString& hold : sensorHolds) {
        const QStringList pointerValue = hold.split('=');
        QCOMPARE(QString::fromStdString(state.at(json::json_pointer(pointerValue[0].toStdString())).dump()),
                 pointerValue[1]);
    }
    QCOMPARE(state["Installation"], json(false));
}

QTEST_GUILESS_MAIN(CliTest_t)
#include "test_cli.moc"
