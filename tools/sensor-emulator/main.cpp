// sensor-emulator: an emulated level sensor on a pseudo-terminal, for trying the configuration tool without one.

#include "emulatoroptions.h"
#include "sensoremulator.h"
#include "standardoutput.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "sensor-emulator: %s\n", qPrintable(message));
    return 1;
}

// Replaces a stale link from an earlier run, never a file or directory.
bool makeLink(const QString& target, const QString& link, QString& error) {
    const QFileInfo existing(link);
    if (existing.isSymLink())
        QFile::remove(link);
    else if (existing.exists()) {
        error = QStringLiteral("--link %1: exists and is not a symbolic link").arg(link);
        return false;
    }
    if (!QFile::link(target, link)) {
        error = QStringLiteral("--link %1: cannot create the link").arg(link);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    reserveStandardOutput();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sensor-emulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("An emulated level sensor on a pseudo-terminal. Prints the device path to open as the "
                       "sensor's serial port, then serves until interrupted."));
    parser.addHelpOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Also make <path> a symbolic link to the device (removed on "
                                                       "exit)."),
                                        QStringLiteral("path"));
    const QCommandLineOption dumpOption(QStringLiteral("dump"),
                                        QStringLiteral("Write the sensor's state as JSON to <file> on exit."),
                                        QStringLiteral("file"));
    const QCommandLineOption logOption(QStringLiteral("log"),
                                       QStringLiteral("Append the frame codec's diagnostics (frame dumps) to <file>."),
                                       QStringLiteral("file"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Print the frame codec's diagnostics on standard error."));
    parser.addOptions({linkOption, dumpOption, logOption, verboseOption});
    addEmulatorOptions(parser);
    parser.process(app);

    // Standard output carries the device path alone; the codec's diagnostics go to the log, standard error or nowhere.
    QFile log(parser.value(logOption));
    if (parser.isSet(logOption) && !log.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail(QStringLiteral("--log %1: cannot open the file").arg(log.fileName()));
    std::FILE* dataOut =
        takeStandardOutput(parser.isSet(verboseOption) ? STDERR_FILENO : (log.isOpen() ? log.handle() : -1));
    if (!dataOut)
        return fail(QStringLiteral("cannot set up standard output"));

    SensorEmulator_t emulator;
    QString error;
    if (!applyEmulatorOptions(parser, emulator, error) || !emulator.start(error))
        return fail(error);
    if (!onTerminationSignals(app, &QCoreApplication::quit))
        return fail(QStringLiteral("cannot handle termination signals"));
    const QString device = emulator.slavePath();
    const QString link = parser.value(linkOption);
    if (!link.isEmpty() && !makeLink(device, link, error))
        return fail(error);
    QObject::connect(&emulator, &SensorEmulator_t::signLineDropped, &app, [] {
        std::fprintf(stderr, "sensor-emulator: line dropped\n");
        QCoreApplication::quit();
    });

    std::fprintf(dataOut, "%s\n", qPrintable(device));
    std::fflush(dataOut);
    const int status = app.exec();

    if (!link.isEmpty() && QFile::symLinkTarget(link) == device)
        QFile::remove(link);
    const QString dump = parser.value(dumpOption);
    if (!dump.isEmpty() && !emulator.saveState(dump, error))
        return fail(QStringLiteral("--dump %1: %2").arg(dump, error));
    return status;
}
