#include "logfile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QTime>

namespace {

QBasicMutex sinkMutex; // GUI and serial thread log; a basic mutex has no destructor, so late messages stay safe
LogFile_t* sinkP = nullptr;
QtMessageHandler previousHandler = nullptr;
thread_local bool insideHandler = false; // a message raised while writing must not re-enter

const char* levelName(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "unknown";
}

QByteArray logLine(QtMsgType type, const QString& message) {
    QString text = message;
    text.replace(QLatin1Char('\n'), QLatin1String("\\n")); // one line per message
    return QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")).toUtf8() + ' ' + levelName(type) + ' ' +
           text.toUtf8() + '\n';
}

void copyToLogFile(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (insideHandler) {
        // Raised while this thread writes the file and holds the lock: only pass it on.
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    insideHandler = true;
    QtMessageHandler next = nullptr;
    {
        QMutexLocker lock(&sinkMutex);
        if (sinkP)
            sinkP->appendMessage(type, message);
        next = previousHandler;
    }
    insideHandler = false;
    if (next)
        next(type, context, message);
}

void startCopying(LogFile_t* file) {
    {
        QMutexLocker lock(&sinkMutex);
        sinkP = file;
        // Put ourselves in front again if another handler replaced us meanwhile, never in front of ourselves.
        const QtMessageHandler current = qInstallMessageHandler(copyToLogFile);
        if (current != copyToLogFile)
            previousHandler = current;
    }
    qInfo() << "Velmaro log file" << file->fileName();
}

LogFile_t* openRunFile(const QString& path, qint64 capBytes) {
    auto* file = new LogFile_t(path, capBytes);
    if (!file->open(QIODevice::WriteOnly)) { // write-only truncates a file of the same name
        delete file;
        return nullptr;
    }
    return file;
}

// Keeps the newest run files, by the time in their names, within the bounds; the current run's file always stays.
void removeOldestRunFiles(const QFileInfo& current, const LogLimits_t& limits) {
    // Case-sensitive, so that only names this program writes match.
    const QFileInfoList runFiles =
        current.dir().entryInfoList({QStringLiteral("log__*.txt")}, QDir::Files | QDir::CaseSensitive,
                                    QDir::Name | QDir::Reversed); // newest first
    int files = 1;
    qint64 bytes = current.size();
    for (const QFileInfo& runFile : runFiles) {
        if (runFile.fileName() == current.fileName())
            continue;
        // Removed files still count, so once over a bound every older file goes too.
        ++files;
        bytes += runFile.size();
        if (files > limits.folderMaxFiles || bytes > limits.folderMaxBytes)
            QFile::remove(runFile.filePath());
    }
}

} // namespace

LogFile_t::LogFile_t(const QString& path, qint64 capBytes, QObject* parent) : QFile(path, parent), capBytes(capBytes) {}

LogFile_t::~LogFile_t() {
    QMutexLocker lock(&sinkMutex);
    if (sinkP == this)
        sinkP = nullptr;
}

void LogFile_t::appendMessage(QtMsgType type, const QString& message) {
    const QByteArray line = logLine(type, message);
    if (!capReached && pos() + line.size() > capBytes) {
        capReached = true;
        write(logLine(QtWarningMsg, QStringLiteral("Log file size limit reached: debug and info lines, measurements "
                                                   "among them, are no longer logged")));
    }
    if (!capReached || (type != QtDebugMsg && type != QtInfoMsg)) // errors are always logged
        write(line);
    flush();
}

QString logFilePath(const QString& documentsDir, const QDateTime& startTime) {
    const QDateTime local = startTime.toLocalTime();
    return documentsDir + QStringLiteral("/Velmaro/Logs") + QStringLiteral("/log_") +
           local.date().toString(QStringLiteral("_yyyy.MM.dd_")) + local.time().toString(QStringLiteral("hh.mm.ss")) +
           QStringLiteral(".txt");
}

LogFile_t* openLogFileAt(const QString& path, qint64 capBytes) {
    LogFile_t* file = openRunFile(path, capBytes);
    if (file)
        startCopying(file);
    return file;
}

LogFile_t* openLogFile(const QString& documentsDir, const QDateTime& startTime, const LogLimits_t& limits) {
    // Without a documents folder the path would start at the file system root.
    if (documentsDir.isEmpty())
        return nullptr;
    const QString path = logFilePath(documentsDir, startTime);
    QDir().mkpath(QFileInfo(path).absolutePath()); // a failure shows when opening
    LogFile_t* file = openRunFile(path, limits.fileCapBytes);
    if (file) {
        removeOldestRunFiles(QFileInfo(path), limits); // before the first line: the new file counts empty
        startCopying(file);
    }
    return file;
}
