#include "startup.h"

#include "logfile.h"
#include "metatypes.h"

#include <QApplication>
#include <QMainWindow>
#include <QStandardPaths>

int runProgram(int& argc, char* argv[], const WindowFactoryF& makeWindow) {
    registerMetaTypes();
    QFile* logFileP =
        openLogFile(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDateTime::currentDateTime());

    QApplication app(argc, argv);
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
