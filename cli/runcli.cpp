#include "runcli.h"

#include "clicommands.h"
#include "clioutput.h"
#include "exitcodee.h"
#include "logfile.h"

#include <QCommandLineParser>
#include <memory>

namespace {

// The connection's own log lines would drown the tool's messages: they go only to the --log file.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// The subcommand's application class: known before the application exists, so parse once without it.
ApplicationMakerF applicationMaker(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    describeCli(parser);
    parser.parse(arguments);
    const CliCommand_t* command = findCliCommand(parser.positionalArguments().value(0));
    return command ? command->makeApplication : nullptr;
}

} // namespace

int runCli(int argc, char* argv[]) {
    reserveCliStandardOutput();
    const ApplicationMakerF maker = applicationMaker(argc, argv);
    const std::unique_ptr<QCoreApplication> app =
        maker ? maker(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmaro-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMARO_CLI_VERSION));

    QCommandLineParser parser;
    describeCli(parser);
    parser.process(*app); // --help, --version and unknown options end the run here (exit code 0 or 1)
    CliOptions_t options;
    QString problem;
    if (!readCliOptions(parser, options, problem)) {
        printMessage(problem + QStringLiteral(" (see --help)"));
        return static_cast<int>(ExitCodeE::USAGE);
    }

    if (!keepStandardOutputForData()) {
        printMessage(QStringLiteral("cannot set up standard output"));
        return static_cast<int>(ExitCodeE::USAGE);
    }
    qInstallMessageHandler(dropMessage);
    std::unique_ptr<LogFile_t> logFile;
    if (!options.logPath.isEmpty()) {
        logFile.reset(openLogFileAt(options.logPath));
        if (!logFile) {
            printMessage(QStringLiteral("--log %1: cannot open the file").arg(options.logPath));
            return static_cast<int>(ExitCodeE::USAGE);
        }
    }
    int code = findCliCommand(options.command)->run(options);
    if (code == static_cast<int>(ExitCodeE::OK) && isOutputLost())
        code = static_cast<int>(ExitCodeE::OUTPUT_LOST);
    if (code == static_cast<int>(ExitCodeE::OUTPUT_LOST))
        printMessage(QStringLiteral("standard output is closed or cannot be written"));
    return code;
}
