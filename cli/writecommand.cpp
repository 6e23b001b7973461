// write: a profile file's settings into the sensor, checked by reading them back. Like the window, it will not switch
// the sensor to its own record 0 or 1 when that record is not the profile's, unless forced.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"
#include "terminationsignals.h"

namespace {

// One line per value the sensor holds otherwise than the profile; the number of them.
int printDifferences(const SensorProfile_t& profile, const SensorSnapshot_t& sensor) {
    const QList<ProfileField_t> fields = profileFields(profile, sensor);
    int differences = 0;
    for (const ProfileField_t& field : fields) {
        if (!field.differs())
            continue;
        ++differences;
        printData(QStringLiteral("%1: profile %2, sensor %3%4")
                      .arg(field.key, field.inProfile, field.inSensor,
                           field.written ? QString() : QStringLiteral(" (the sensor's own record, never written)")));
    }
    return differences;
}

// The sensor's own active record's values that differ from the profile's, each as a message; none when the profile
// activates record 2.
QStringList ownRecordDifferences(const SensorProfile_t& profile, const SensorSnapshot_t& sensor) {
    QStringList differences;
    for (const ProfileField_t& field : profileFields(profile, sensor)) {
        if (!field.written && field.differs())
            differences << QStringLiteral("%1: profile %2, sensor %3").arg(field.key, field.inProfile, field.inSensor);
    }
    return differences;
}

} // namespace

int runWrite(const CliOptions_t& options) {
    SensorProfile_t profile;
    QString problem;
    if (!loadProfile(options.arguments.first(), profile, problem)) {
        printMessage(QStringLiteral("%1: %2").arg(options.arguments.first(), problem));
        return static_cast<int>(ExitCodeE::USAGE);
    }
    // Sent as the window would send it, or not at all.
    const QList<WriteIssue_t> issues = writeIssues(profile.sensor);
    if (const QList<WriteIssue_t> refused = refusedValues(issues); !refused.isEmpty()) {
        for (const WriteIssue_t& issue : refused)
            printMessage(writeIssueLine(issue));
        printMessage(QStringLiteral("%1: nothing sent").arg(options.arguments.first()));
        return static_cast<int>(ExitCodeE::USAGE);
    }
    for (const WriteIssue_t& issue : issues)
        printMessage(writeIssueLine(issue));
    profile.sensor = writtenSetup(profile.sensor);
    CliSession_t session(options);
    // A signal stops the writing between two steps, never inside one; before the writing, nothing is sent.
    bool writing = false;
    if (!onTerminationSignals(*QCoreApplication::instance(), [&] {
            if (writing)
                session.connection().closeAfterStep();
            else
                session.finish(ExitCodeE::INTERRUPTED, QStringLiteral("stopped by a signal; nothing written"));
        })) {
        printMessage(QStringLiteral("cannot handle termination signals"));
        return static_cast<int>(ExitCodeE::USAGE);
    }
    session.whenReady([&] {
        const QStringList ownDifferences = ownRecordDifferences(profile, session.connection().sensor());
        if (!ownDifferences.isEmpty() && !options.force) {
            for (const QString& difference : ownDifferences)
                printMessage(difference);
            session.finish(ExitCodeE::OWN_RECORD,
                           QStringLiteral("the sensor's own record %1 differs from the profile's; nothing written "
                                          "(--force writes anyway)")
                               .arg(profile.sensor.tankConfig.Active));
            return;
        }
        writing = session.connection().writeProfile(profile.sensor);
        if (!writing)
            session.finish(ExitCodeE::USAGE, QStringLiteral("the profile lacks the record it activates"));
    });
    // Cut short by a signal, the line lost or no reply: how far it got, as a complete write says it. Only a signal
    // closes the connection here; the others end the command with their own code.
    QObject::connect(&session.connection(), &SensorConnection_t::signWriteCut, &session,
                     [&](const SequenceOutcome_t& outcome) {
                         printData(writeOutcomeLine(outcome));
                         if (outcome.end == SequenceEndE::CLOSED)
                             session.finish(ExitCodeE::INTERRUPTED,
                                            QStringLiteral("stopped by a signal once the step under way was answered"));
                     });
    QObject::connect(
        &session.connection(), &SensorConnection_t::signProfileWritten, &session,
        [&](const SequenceOutcome_t& outcome) {
            printData(writeOutcomeLine(outcome));
            const int differences = printDifferences(profile, session.connection().sensor());
            const QStringList notReadBack = outcome.readSteps(StepResultE::REFUSED, true);
            if (outcome.end == SequenceEndE::REFUSED)
                session.finish(ExitCodeE::REFUSED, QStringLiteral("the sensor refused a write"));
            else if (!notReadBack.isEmpty())
                session.finish(ExitCodeE::DIFFERS, QStringLiteral("written; the sensor refused to read back: %1")
                                                       .arg(notReadBack.join(QStringLiteral(", "))));
            else if (differences > 0)
                session.finish(ExitCodeE::DIFFERS, QStringLiteral("read back, %1 value(s) differ").arg(differences));
            else
                session.finish(ExitCodeE::OK);
        });
    return session.run();
}
