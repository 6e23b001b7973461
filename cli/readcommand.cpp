// read: the setup and the calibration, as text or as the profile file's JSON.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"
#include "profiletext.h"

int runRead(const CliOptions_t& options) {
    CliSession_t session(options);
    session.whenReady([&] {
        session.readProfile([&](const SensorProfile_t& profile) {
            printData(options.json ? QString::fromUtf8(profileToJson(profile)).trimmed() : profileText(profile));
            // The profile is a backup: say what it could not restore.
            const QList<WriteIssue_t> issues = writeIssues(profile.sensor);
            if (options.json && !issues.isEmpty()) {
                printMessage(QStringLiteral("the sensor holds values that writing this profile would not put back:"));
                for (const WriteIssue_t& issue : issues)
                    printMessage(writeIssueLine(issue));
            }
            session.finish(ExitCodeE::OK);
        });
    });
    return session.run();
}
