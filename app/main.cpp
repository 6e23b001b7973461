// Program entry: the main window on the shared start-up; beside --help and --version it takes no options.
#include "abouttexts.h"
#include "buildinfo.h"
#include "mainwindow.h"
#include "startup.h"

#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    const ProgramDescription_t description = {
        appVersionText(QString::fromUtf8(BuildInfo::VERSION_STRING), QString::fromUtf8(BuildInfo::BUILD_LABEL)),
        [](QCommandLineParser& parser) {
            parser.setApplicationDescription(QStringLiteral("Velmaro level sensor configuration tool."));
        }};
    return runProgram(argc, argv, description, [](QApplication&) { return new MainWindow_t; });
}
