#include "clioutput.h"

#include <QStringList>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

std::FILE* dataOut = stdout;

} // namespace

bool reserveStandardOutput() {
    std::fflush(stdout);
    const int data = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    const int discard = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const bool moved = data >= 0 && discard >= 0 && ::dup2(discard, STDOUT_FILENO) >= 0;
    if (discard >= 0)
        ::close(discard);
    std::FILE* file = moved ? ::fdopen(data, "w") : nullptr;
    if (!file)
        return false;
    dataOut = file;
    return true;
}

void printData(const QString& line) {
    std::fputs(line.toUtf8().constData(), dataOut);
    std::fputc('\n', dataOut);
    std::fflush(dataOut);
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
