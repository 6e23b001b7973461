#include "standardoutput.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

bool reserveStandardOutput() {
    std::signal(SIGPIPE, SIG_IGN);
    if (::fcntl(STDOUT_FILENO, F_GETFD) >= 0)
        return true;
    const int discard = ::open("/dev/null", O_WRONLY);
    if (discard >= 0 && discard != STDOUT_FILENO) {
        ::dup2(discard, STDOUT_FILENO);
        ::close(discard);
    }
    return false;
}

std::FILE* takeStandardOutput(int diagnostics) {
    std::fflush(stdout);
    const int data = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    const int discard = diagnostics >= 0 ? -1 : ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int replacement = diagnostics >= 0 ? diagnostics : discard;
    const bool moved = data >= 0 && replacement >= 0 && ::dup2(replacement, STDOUT_FILENO) >= 0;
    if (discard >= 0)
        ::close(discard);
    std::FILE* file = moved ? ::fdopen(data, "w") : nullptr;
    if (!file && data >= 0)
        ::close(data);
    return file;
}
