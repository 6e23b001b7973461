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
            session.finish(ExitCodeE::OK);
        });
    });
    return session.run();
}
