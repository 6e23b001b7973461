#pragma once
// Collects what the process writes to standard output (C stdio and file descriptor 1) while it lives, for tests of
// code that prints its diagnostics there. One capture at a time, single thread.

#include <QByteArray>

class StdoutCapture_t {
public:
    StdoutCapture_t();
    ~StdoutCapture_t();
    StdoutCapture_t(const StdoutCapture_t&) = delete;
    StdoutCapture_t& operator=(const StdoutCapture_t&) = delete;

    // Everything written since construction or the previous take(); capturing goes on.
    QByteArray take();

private:
    int savedFd;
    int fileFd;
};
