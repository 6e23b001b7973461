#include "clicommands.h"

#include <QStringLiteral>

namespace {

QStringList connectionOptions(QStringList more = {}) {
    return QStringList{QStringLiteral("port"), QStringLiteral("timeout"), QStringLiteral("log")} + more;
}

std::vector<CliCommand_t> makeCommands() {
    std::vector<CliCommand_t> commands = {
        {QStringLiteral("ports"),
         {},
         {},
         {QStringLiteral("json"), QStringLiteral("log")},
         QStringLiteral("List the sensors found, one per line: shown name and port."),
         runPorts},
        {QStringLiteral("read"),
         {},
         {},
         connectionOptions({QStringLiteral("json")}),
         QStringLiteral("Print the sensor's setup and calibration; --json prints it as a profile file."),
         runRead},
        {QStringLiteral("write"),
         QStringLiteral("PROFILE.json"),
         {},
         connectionOptions({QStringLiteral("force")}),
         QStringLiteral("Write a profile's settings, read them back, and print what was written and each value the "
                        "sensor then holds otherwise."),
         runWrite},
        {QStringLiteral("calibrate"),
         QStringLiteral("empty|full"),
         {QStringLiteral("empty"), QStringLiteral("full")},
         connectionOptions(),
         QStringLiteral("Store the present reading as the empty or full point; print the value."),
         runCalibrate},
        {QStringLiteral("reset-calibration"),
         {},
         {},
         connectionOptions(),
         QStringLiteral("Reset the calibration, without asking."),
         runResetCalibration},
        {QStringLiteral("monitor"),
         {},
         {},
         connectionOptions({QStringLiteral("seconds")}),
         QStringLiteral("Print the live measurements as CSV (seconds,RawTOF,mm) until Ctrl-C, SIGTERM or --seconds; "
                        "the stream is always stopped."),
         runMonitor},
        {QStringLiteral("report"),
         {},
         {},
         connectionOptions({QStringLiteral("out"), QStringLiteral("vehicle"), QStringLiteral("plate"),
                            QStringLiteral("fitter"), QStringLiteral("note")}),
         QStringLiteral("Write the installation report of the sensor as PDF to --out."),
         runReport,
         makeReportApplication},
        {QStringLiteral("table"),
         {},
         {},
         connectionOptions({QStringLiteral("step-mm"), QStringLiteral("format"), QStringLiteral("profile")}),
         QStringLiteral("Print the level-to-litres table of the sensor's active tank, computed from its dimensions, "
                        "from 0 to the inner height; with --profile of a profile file's active tank, without a "
                        "sensor."),
         runTable},
    };
    return commands;
}

} // namespace

const std::vector<CliCommand_t>& cliCommands() {
    static const std::vector<CliCommand_t> commands = makeCommands();
    return commands;
}

const CliCommand_t* findCliCommand(const QString& name) {
    for (const CliCommand_t& command : cliCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}
