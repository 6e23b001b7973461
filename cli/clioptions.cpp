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
    {"timeout", "How long to wait for each reply of the sensor, in ms (default 5000).", "ms"},
    {"log", "Write the message log, as the window writes it, to <file>.", "file"},
    {"json", "ports, read: print JSON.", ""},
    {"seconds", "monitor: stop after <n> seconds.", "n"},
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
    text += QStringLiteral("\nExit codes:\n"
                           "  0  success\n"
                           "  1  usage error, a bad input file, or an output file that cannot be written\n"
                           "  2  no sensor found, or its port cannot be opened (the reason is printed)\n"
                           "  3  the sensor refused a write\n"
                           "  4  read back after a write, the sensor holds other values\n"
                           "  5  no reply within the time limit, an unexpected reply, or the line was lost");
    return text;
}

// A whole number from min up, or false.
bool readNumber(const QString& text, int min, int& out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min)
        return false;
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
    if (parser.isSet(QStringLiteral("timeout")) &&
        !readNumber(parser.value(QStringLiteral("timeout")), 1, options.timeoutMs)) {
        problem = QStringLiteral("--timeout takes a number of milliseconds from 1 up");
        return false;
    }
    if (parser.isSet(QStringLiteral("seconds")) &&
        !readNumber(parser.value(QStringLiteral("seconds")), 1, options.seconds)) {
        problem = QStringLiteral("--seconds takes a number of seconds from 1 up");
        return false;
    }
    if (parser.isSet(QStringLiteral("step-mm")) &&
        (!readNumber(parser.value(QStringLiteral("step-mm")), 1, options.stepMm) ||
         options.stepMm > MAX_TABLE_STEP_MM)) {
        problem = QStringLiteral("--step-mm takes a number of millimetres from 1 to %1").arg(MAX_TABLE_STEP_MM);
        return false;
    }
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
