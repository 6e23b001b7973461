#include "startup.h"

#include "logfile.h"
#include "metatypes.h"
#include "qttranslation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMainWindow>
#include <QStandardPaths>
#include <cstdio>

namespace {

// Answers --help, --help-all or --version with a bare core application, so neither needs a display or writes a log
// file; true when it did. Anything else on the command line is left to the window's start-up.
bool answeredInformationOption(int& argc, char* argv[], const ProgramDescription_t& description) {
    const QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationVersion(description.version);
    QCommandLineParser parser;
    if (description.describe)
        description.describe(parser);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.parse(QCoreApplication::arguments());
    // The parser prints the toolkit's own options as well and ends the process.
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(core);
    if (parser.isSet(help))
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    else if (parser.isSet(version))
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(description.version));
    return parser.isSet(help) || parser.isSet(version);
}

} // namespace

int runProgram(int& argc, char* argv[], const ProgramDescription_t& description, const WindowFactoryF& makeWindow) {
    if (answeredInformationOption(argc, argv, description))
        return 0;
    registerMetaTypes();
    QFile* logFileP =
        openLogFile(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDateTime::currentDateTime());

    QApplication app(argc, argv);
    installQtTranslation(app);
    QCoreApplication::setApplicationVersion(description.version);
    QMainWindow* windowP = makeWindow(app);
    if (!windowP) {
        delete logFileP;
        return 1;
    }
    windowP->show();
    if (logFileP)
        logFileP->setParent(windowP); // the window owns and closes it
    QObject::connect(&app, &QApplication::aboutToQuit, windowP, &QObject::deleteLater);
    return app.exec();
}
