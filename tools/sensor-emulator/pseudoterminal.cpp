#include "pseudoterminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemError(const char* call) {
    return QStringLiteral("%1: %2").arg(QLatin1String(call), QString::fromLocal8Bit(std::strerror(errno)));
}

bool addFlags(int fd, int getCommand, int setCommand, int flags) {
    const int current = ::fcntl(fd, getCommand);
    return current >= 0 && ::fcntl(fd, setCommand, current | flags) == 0;
}

// Raw slave, non-blocking master, neither inherited by child processes. The name of the failing call, or nullptr.
const char* setUpEnds(int master, int slave, QString& slavePath) {
    termios mode{};
    if (::tcgetattr(slave, &mode) != 0)
        return "tcgetattr";
    ::cfmakeraw(&mode);
    if (::tcsetattr(slave, TCSANOW, &mode) != 0)
        return "tcsetattr";
    if (!addFlags(master, F_GETFL, F_SETFL, O_NONBLOCK) || !addFlags(master, F_GETFD, F_SETFD, FD_CLOEXEC) ||
        !addFlags(slave, F_GETFD, F_SETFD, FD_CLOEXEC))
        return "fcntl";
    const char* name = ::ptsname(master);
    if (!name)
        return "ptsname";
    slavePath = QString::fromLocal8Bit(name);
    return nullptr;
}

} // namespace

PseudoTerminal_t::~PseudoTerminal_t() {
    close();
}

bool PseudoTerminal_t::open(QString& error) {
    close();
    if (::openpty(&masterFd, &slaveFd, nullptr, nullptr, nullptr) != 0) {
        error = systemError("openpty");
        masterFd = slaveFd = -1;
        return false;
    }
    if (const char* failed = setUpEnds(masterFd, slaveFd, path)) {
        error = systemError(failed);
        close();
        return false;
    }
    return true;
}

void PseudoTerminal_t::close() {
    for (int* fd : {&masterFd, &slaveFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    path.clear();
}

int PseudoTerminal_t::backlog() const {
    int queued = 0;
    if (slaveFd < 0 || ::ioctl(slaveFd, FIONREAD, &queued) != 0)
        return 0;
    return queued;
}
