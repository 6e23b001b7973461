// velmaro-config-demo: the configuration tool with a built-in emulated sensor, for trying and showing the program
// without hardware. Its port box offers, beside any real sensor, the emulator ("Velmaro#DEMO") and every device given
// with --port; the emulator's options select its fault modes and initial state.
#include "abouttexts.h"
#include "buildinfo.h"
#include "emulatoroptions.h"
#include "mainwindow.h"
#include "portlist.h"
#include "sensoremulator.h"
#include "startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

namespace {

const QString PORT_OPTION = QStringLiteral("port");
const QString QUIT_OPTION = QStringLiteral("quit-after");

void describeDemo(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "The Velmaro configuration tool with a built-in emulated sensor, offered as Velmaro#DEMO in the port box."));
    parser.addOption(QCommandLineOption(PORT_OPTION,
                                        QStringLiteral("Also offer the serial device <path> as a sensor port, e.g. a "
                                                       "sensor-emulator's link (repeatable)."),
                                        QStringLiteral("path")));
    parser.addOption(QCommandLineOption(QUIT_OPTION,
                                        QStringLiteral("Quit by itself after <ms> milliseconds (for smoke tests)."),
                                        QStringLiteral("ms")));
    addEmulatorOptions(parser);
}

QMainWindow* makeDemoWindow(QApplication& app) {
    QCommandLineParser parser;
    describeDemo(parser);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    if (parser.isSet(QUIT_OPTION)) {
        bool ok = false;
        const int quitAfterMs = parser.value(QUIT_OPTION).toInt(&ok);
        if (!ok || quitAfterMs < 0) {
            std::fprintf(stderr, "velmaro-config-demo: --quit-after takes milliseconds\n");
            return nullptr;
        }
        QTimer::singleShot(quitAfterMs, &app, &QCoreApplication::quit);
    }

    auto* emulatorP = new SensorEmulator_t;
    QString error;
    if (!applyEmulatorOptions(parser, *emulatorP, error) || !emulatorP->start(error)) {
        std::fprintf(stderr, "velmaro-config-demo: %s\n", qPrintable(error));
        delete emulatorP;
        return nullptr;
    }

    QList<PortDescriptor_t> givenPorts;
    for (const QString& path : parser.values(PORT_OPTION))
        givenPorts.append({path, true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, QString()});
    // The emulator leaves the list when its line drops, as an unplugged sensor would.
    PortSource_t ports = [emulatorP, givenPorts] {
        QList<PortDescriptor_t> available = systemPorts();
        if (!emulatorP->slavePath().isEmpty())
            available.append(
                {emulatorP->slavePath(), true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, QStringLiteral("DEMO:Velmaro1")});
        return available + givenPorts;
    };
    auto* windowP = new MainWindow_t(nullptr, QDate::currentDate(), ports);
    emulatorP->setParent(windowP); // goes with the window, after the window has closed its link
    return windowP;
}

} // namespace

int main(int argc, char* argv[]) {
    const ProgramDescription_t description = {
        appVersionText(QString::fromUtf8(BuildInfo::VERSION_STRING), QString::fromUtf8(BuildInfo::BUILD_LABEL)),
        describeDemo};
    return runProgram(argc, argv, description, makeDemoWindow);
}
