// Program entry: meta types, the per-run log file, the application object and the main window.
#include "logfile.h"
#include "mainwindow.h"
#include "metatypes.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[]) {
    registerMetaTypes();
    QFile* logFileP =
        openLogFile(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDateTime::currentDateTime());

    QApplication app(argc, argv);
    auto* windowP = new MainWindow_t;
    windowP->show();
    if (logFileP)
        logFileP->setParent(windowP); // the window owns and closes it
    QObject::connect(&app, &QApplication::aboutToQuit, windowP, &QObject::deleteLater);
    return app.exec();
}
