#include "clioutput.h"

#include "standardoutput.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <utility>

namespace {

std::FILE* dataOut = stdout;
bool outputLost = false;
bool lossQueued = false;
std::function<void()> onOutputLost;

// Queued, so the printing caller (perhaps inside a connection's signal) returns first; the handler in force then runs.
void reportLoss() {
    if (lossQueued || !onOutputLost || !QCoreApplication::instance())
        return;
    lossQueued = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { onOutputLost(); }, Qt::QueuedConnection);
}

} // namespace

void reserveCliStandardOutput() {
    if (!reserveStandardOutput()) {
        dataOut = nullptr;
        outputLost = true;
    }
}

bool keepStandardOutputForData() {
    if (!dataOut)
        return true; // lost already; /dev/null holds its place
    dataOut = takeStandardOutput();
    return dataOut != nullptr;
}

void printData(const QString& line) {
    if (outputLost)
        return;
    std::fputs(line.toUtf8().constData(), dataOut);
    std::fputc('\n', dataOut);
    if (std::fflush(dataOut) != 0 || std::ferror(dataOut)) {
        outputLost = true;
        reportLoss();
    }
}

bool isOutputLost() {
    return outputLost;
}

void whenOutputLost(std::function<void()> handler) {
    onOutputLost = std::move(handler);
    if (outputLost) // lost before the handler was given: a closed standard output
        reportLoss();
}

void printMessage(const QString& message) {
    std::fprintf(stderr, "velmaro-cli: %s\n", message.toUtf8().constData());
}

QString writeOutcomeLine(const SequenceOutcome_t& outcome) {
    static const std::pair<StepResultE, const char*> parts[] = {{StepResultE::DONE, "written"},
                                                                {StepResultE::REFUSED, "refused"},
                                                                {StepResultE::UNANSWERED, "sent, never answered"},
                                                                {StepResultE::NOT_SENT, "not sent"}};
    QStringList line;
    for (const auto& [result, text] : parts) {
        const QStringList steps = outcome.writeSteps(result, true);
        if (!steps.isEmpty())
            line << QStringLiteral("%1: %2").arg(QLatin1String(text), steps.join(QStringLiteral(", ")));
    }
    return line.join(QStringLiteral("; "));
}

QString writeIssueLine(const WriteIssue_t& issue) {
    return issue.sent.isEmpty() ? QStringLiteral("%1: %2 cannot be written (the window writes %3)")
                                      .arg(issue.key, issue.value, issue.range)
                                : QStringLiteral("%1: %2 is written as %3").arg(issue.key, issue.value, issue.sent);
}

QString failureLine(const Failure_t& failure) {
    switch (failure.kind) {
    case FailureE::NO_REPLY:
        return QStringLiteral("no reply to %1 within %2 ms").arg(failure.step).arg(failure.waitedMs);
    case FailureE::REFUSED:
        return QStringLiteral("the sensor refused %1").arg(failure.step);
    case FailureE::UNEXPECTED_REPLY:
        return QStringLiteral("unexpected reply \"%1\" to %2").arg(failure.reply, failure.step);
    case FailureE::UNREADABLE_REPLY:
        return QStringLiteral("unreadable reply to %1").arg(failure.step);
    }
    return QString();
}
