// report: the installation report of the connected sensor as PDF. The only command that needs the GUI library.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"
#include "installreport.h"

#include <QGuiApplication>

std::unique_ptr<QCoreApplication> makeReportApplication(int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runReport(const CliOptions_t& options) {
    CliSession_t session(options);
    session.whenReady([&] {
        session.readProfile([&](const SensorProfile_t& profile) {
            const ReportDetails_t details{options.vehicle, options.plate, options.fitter, options.note};
            QString error;
            if (writeReportPdf(options.out, profile, details, {}, error))
                session.finish(ExitCodeE::OK);
            else
                session.finish(ExitCodeE::USAGE, QStringLiteral("%1: %2").arg(options.out, error));
        });
    });
    return session.run();
}
