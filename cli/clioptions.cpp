#include "clioptions.h"

#include "clicommands.h"
#include "tanktable.h"

#include <QCommandLineParser>

namespace {

// Every option beyond --help and --version: name, description, value name (empty: a switch).
struct OptionText_t {
    const char* name;
    const char* description;
    const char* valueName;
};

constexpr OptionText_t OPTIONS[] = {
    {"port",
     "The sensor: a shown name such as Velmaro#0001, a port name or a device path. Default: the only "
     "sensor found.",
     "name|path"},
    {"timeout", "How long to wait for each reply of the sensor, in ms, 1 to 600000 (default 5000).", "ms"},
    {"log", "Write the message log, as the window writes it, to <file>.", "file"},
    {"json", "ports, read: print JSON.", ""},
    {"seconds", "monitor: stop after <n> seconds, 1 to 604800 (a week).", "n"},
    {"force",
     "write: write even when the profile's active record is the sensor's own record 0 or 1 and the sensor's "
     "record of that id differs.",
     ""},
    {"out", "report: the PDF file to write.", "file"},
    {"vehicle", "report: the vehicle.", "text"},
    {"plate", "report: the number plate.", "text"},
    {"fitter", "report: who fitted the sensor.", "text"},
    {"note", "report: a note.", "text"},
    {"step-mm", "table: a row every <n> mm of the level, 1 to 1000 (default 10).", "n"},
    {"format", "table: csv (a header line, then level_mm,litres,percent with a \".\" decimal mark) or json.",
     "csv|json"},
    {"profile", "table: take the tank from a profile file (read --json) instead of a sensor.", "file"},
};

QString helpText() {
    QString text = QStringLiteral("Reads, writes, calibrates and monitors a Velmaro tank level sensor on its USB "
                                  "serial port. Data goes to standard output, messages to standard error.\n\n"
                                  "Commands:\n");
    for (const CliCommand_t& command : cliCommands())
        text += QStringLiteral("  %1\n      %2\n")
                    .arg(QString(command.name + QLatin1Char(' ') + command.argumentName).trimmed(), command.summary);
    text +=
        QStringLiteral("\nExit codes:\n"
                       "  0  success\n"
                       "  1  usage error, a bad input file (write: also a value the window would not write; nothing "
                       "was sent), or an output file that cannot be written\n"
                       "  2  no sensor found, or its port cannot be opened (the reason is printed)\n"
                       "  3  the sensor refused a write\n"
                       "  4  read back after a write, the sensor holds other values\n"
                       "  5  no reply within the time limit, an unexpected reply, or the line was lost\n"
                       "  6  standard output is closed or cannot be written (its reader has gone); a monitor stops "
                       "the stream first\n"
                       "  7  write: the profile's active record is record 0 or 1 and the sensor's own record of "
                       "that id differs; nothing was sent (--force writes anyway)\n"
                       "  8  write: stopped by SIGINT, SIGTERM or SIGHUP once the step under way was answered; "
                       "the line \"written: ...; not sent: ...\" says how far it got");
    return text;
}

// The bounds keep every time in milliseconds within an int.
constexpr int MAX_TIMEOUT_MS = 600000;
constexpr int MAX_MONITOR_SECONDS = 7 * 24 * 3600;

// An option's whole number within [min, max]; false, with what is wrong, when it is set to anything else.
bool readNumber(const QCommandLineParser& parser, const QString& name, int min, int max, const QString& unit, int& out,
                QString& problem) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < min || value > max) {
        problem = QStringLiteral("--%1 takes a number of %2 from %3 to %4").arg(name, unit).arg(min).arg(max);
        return false;
    }
    out = value;
    return true;
}

} // namespace

void describeCli(QCommandLineParser& parser) {
    parser.setApplicationDescription(helpText());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands above."),
                                 QStringLiteral("<command> [argument]"));
    for (const OptionText_t& option : OPTIONS) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                                            QString::fromLatin1(option.valueName)));
    }
}

bool readCliOptions(const QCommandLineParser& parser, CliOptions_t& out, QString& problem) {
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        problem = QStringLiteral("no command given");
        return false;
    }
    const CliCommand_t* command = findCliCommand(positional.first());
    if (!command) {
        problem = QStringLiteral("unknown command \"%1\"").arg(positional.first());
        return false;
    }
    positional.removeFirst();
    const QString usage = QStringLiteral("usage: %1 %2").arg(command->name, command->argumentName).trimmed();
    if (positional.size() != (command->argumentName.isEmpty() ? 0 : 1) ||
        (!command->choices.isEmpty() && !command->choices.contains(positional.first()))) {
        problem = usage;
        return false;
    }
    for (const QString& name : parser.optionNames()) {
        if (!command->options.contains(name) && name != QLatin1String("help") && name != QLatin1String("version")) {
            problem = QStringLiteral("%1 does not take --%2").arg(command->name, name);
            return false;
        }
    }
    CliOptions_t options;
    options.command = command->name;
    options.arguments = positional;
    options.port = parser.value(QStringLiteral("port"));
    options.logPath = parser.value(QStringLiteral("log"));
    options.json = parser.isSet(QStringLiteral("json"));
    options.out = parser.value(QStringLiteral("out"));
    options.vehicle = parser.value(QStringLiteral("vehicle"));
    options.plate = parser.value(QStringLiteral("plate"));
    options.fitter = parser.value(QStringLiteral("fitter"));
    options.note = parser.value(QStringLiteral("note"));
    options.force = parser.isSet(QStringLiteral("force"));
    if (!readNumber(parser, QStringLiteral("timeout"), 1, MAX_TIMEOUT_MS, QStringLiteral("milliseconds"),
                    options.timeoutMs, problem) ||
        !readNumber(parser, QStringLiteral("seconds"), 1, MAX_MONITOR_SECONDS, QStringLiteral("seconds"),
                    options.seconds, problem) ||
        !readNumber(parser, QStringLiteral("step-mm"), 1, MAX_TABLE_STEP_MM, QStringLiteral("millimetres"),
                    options.stepMm, problem))
        return false;
    const QString format = parser.value(QStringLiteral("format"));
    if (parser.isSet(QStringLiteral("format")) && format != QLatin1String("csv") && format != QLatin1String("json")) {
        problem = QStringLiteral("--format takes csv or json");
        return false;
    }
    options.tableJson = format == QLatin1String("json");
    options.profilePath = parser.value(QStringLiteral("profile"));
    if (command->options.contains(QLatin1String("out")) && options.out.isEmpty()) {
        problem = QStringLiteral("%1 needs --out").arg(command->name);
        return false;
    }
    out = options;
    return true;
}
