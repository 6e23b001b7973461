#pragma once
// The per-run log file under the user's documents folder. While a log file object exists, every message-log line is
// appended to it as "time level text" (one line each, flushed at once); every message still goes on to the handler
// that was installed before (the toolkit's default output, normally standard error).
//
// The log stays bounded: once a run's file would pass its cap, one notice line is written and from then on only
// warnings and worse go into it. Opening a run's file removes the oldest run files beyond the folder's bounds.

#include <QDateTime>
#include <QFile>

// Keeps half an hour of a live test at 50 measurements a second (about 40 MB an hour) whole.
constexpr qint64 logFileCapBytes = 20 * 1024 * 1024;
constexpr int logFolderMaxFiles = 100;
constexpr qint64 logFolderMaxBytes = 200 * 1024 * 1024;

struct LogLimits_t {
    qint64 fileCapBytes = logFileCapBytes;
    int folderMaxFiles = logFolderMaxFiles;    // the new run's file included
    qint64 folderMaxBytes = logFolderMaxBytes; // the new run's file included
};

class LogFile_t : public QFile {
    Q_OBJECT

public:
    explicit LogFile_t(const QString& path, qint64 capBytes = logFileCapBytes, QObject* parent = nullptr);
    ~LogFile_t() override; // stops copying the message log into this file

    // Appends one message line, or drops a debug or info line once the cap is reached. Callers serialise the calls.
    void appendMessage(QtMsgType type, const QString& message);

private:
    const qint64 capBytes;
    bool capReached = false;
};

// documentsDir + "/Velmaro/Logs/log__yyyy.MM.dd_hh.mm.ss.txt" for the local time startTime.
QString logFilePath(const QString& documentsDir, const QDateTime& startTime);

// Opens (creating or truncating) path and starts copying the message log into it; null when it cannot be opened.
LogFile_t* openLogFileAt(const QString& path, qint64 capBytes = logFileCapBytes);

// Creates the log folder, opens (creating or truncating) the run's file, removes the oldest run files beyond the
// folder's bounds and starts copying the message log into the file.
// Returns null, and logs nothing about it, when documentsDir is empty or the file cannot be opened.
LogFile_t* openLogFile(const QString& documentsDir, const QDateTime& startTime, const LogLimits_t& limits = {});
