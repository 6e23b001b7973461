#pragma once
// A pseudo-terminal pair in raw mode: the master end for the emulator, the slave end's path for clients.
// The slave stays open here as well, so a client closing the port never hangs up the master (no EIO loop);
// close() shuts both ends, which the client's port sees as a hang-up.

#include <QString>

class PseudoTerminal_t {
public:
    PseudoTerminal_t() = default;
    ~PseudoTerminal_t();
    PseudoTerminal_t(const PseudoTerminal_t&) = delete;
    PseudoTerminal_t& operator=(const PseudoTerminal_t&) = delete;

    // Opens a new pair (master non-blocking); false with the system's reason when it cannot.
    bool open(QString& error);
    void close();
    bool isOpen() const { return masterFd >= 0; }
    // -1 when closed.
    int master() const { return masterFd; }
    // Empty while closed.
    QString slavePath() const { return path; }
    // Bytes written on the master that no client has read yet.
    int backlog() const;

private:
    int masterFd = -1;
    int slaveFd = -1;
    QString path;
};
