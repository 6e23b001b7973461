#include "stdoutcapture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StdoutCapture_t::StdoutCapture_t() {
    std::fflush(stdout);
    char path[] = "/tmp/stdoutcaptureXXXXXX";
    fileFd = mkstemp(path);
    if (fileFd < 0)
        std::abort();
    unlink(path);
    savedFd = dup(STDOUT_FILENO);
    dup2(fileFd, STDOUT_FILENO);
}

StdoutCapture_t::~StdoutCapture_t() {
    std::fflush(stdout);
    dup2(savedFd, STDOUT_FILENO);
    close(savedFd);
    close(fileFd);
}

QByteArray StdoutCapture_t::take() {
    std::fflush(stdout);
    QByteArray text;
    char chunk[4096];
    lseek(fileFd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fileFd, chunk, sizeof chunk)) > 0;)
        text.append(chunk, int(n));
    // Start over empty; the shared offset of descriptor 1 follows the truncation.
    if (ftruncate(fileFd, 0) != 0)
        std::abort();
    lseek(fileFd, 0, SEEK_SET);
    return text;
}
