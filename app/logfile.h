#pragma once
// The per-run log file under the user's documents folder. While a log file object exists, every message-log line is
// appended to it as "time level text" (one line each, flushed at once); every message still goes on to the handler
// that was installed before (the toolkit's default output, normally standard error).

#include <QDateTime>
#include <QFile>

class LogFile_t : public QFile {
    Q_OBJECT

public:
    explicit LogFile_t(const QString& path, QObject* parent = nullptr);
    ~LogFile_t() override; // stops copying the message log into this file
};

// documentsDir + "/Velmaro/Logs/log__yyyy.MM.dd_hh.mm.ss.txt" for the local time startTime.
QString logFilePath(const QString& documentsDir, const QDateTime& startTime);

// Creates the log folder, opens (creating or truncating) the run's file and starts copying the message log into it.
// Returns null, and logs nothing about it, when documentsDir is empty or the file cannot be opened.
LogFile_t* openLogFile(const QString& documentsDir, const QDateTime& startTime);
