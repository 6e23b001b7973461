#include "ptypair.h"

#include <QDir>
#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Waits until fd is ready for `events` or the time left runs out.
bool waitFor(int fd, short events, const QElapsedTimer& clock, int timeoutMs) {
    const qint64 left = qMax<qint64>(0, timeoutMs - clock.elapsed());
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, static_cast<int>(left)) > 0 && (p.revents & events);
}
} // namespace

PtyPair_t::PtyPair_t() {
    char name[256] = {};
    if (::openpty(&masterFd, &slaveFd, name, nullptr, nullptr) != 0) {
        masterFd = slaveFd = -1;
        return;
    }
    termios tio{};
    ::tcgetattr(slaveFd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveFd, TCSANOW, &tio);
    ::fcntl(masterFd, F_SETFL, ::fcntl(masterFd, F_GETFL) | O_NONBLOCK);
    slaveName = QString::fromLocal8Bit(name);
}

PtyPair_t::~PtyPair_t() {
    closeMaster();
    if (slaveFd >= 0)
        ::close(slaveFd);
}

bool PtyPair_t::write(const QByteArray& bytes, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    while (masterFd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(masterFd, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<int>(n);
        else if ((n < 0 && errno != EAGAIN && errno != EINTR) || !waitFor(masterFd, POLLOUT, clock, timeoutMs))
            return false;
    }
    return done == bytes.size();
}

QByteArray PtyPair_t::read(int size, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    char buffer[4096];
    while (masterFd >= 0 && out.size() < size && waitFor(masterFd, POLLIN, clock, timeoutMs)) {
        const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, static_cast<int>(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return out;
}

void PtyPair_t::closeMaster() {
    if (masterFd >= 0)
        ::close(masterFd);
    masterFd = -1;
}

int PtyPair_t::slaveDescriptorCount() const {
    struct stat slave {};
    if (slaveFd < 0 || ::fstat(slaveFd, &slave) != 0)
        return 0;
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st {};
        if (::stat(fds.filePath(fd).toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode) &&
            st.st_rdev == slave.st_rdev)
            ++count;
    }
    return count;
}
