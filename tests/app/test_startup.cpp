// Start-up: the per-run log file (name, folder, truncation, missing documents folder, removal of the oldest run
// files), the copy of the message log into it up to the cap, and the meta types that cross threads in queued signals.
#include "logcapture.h"
#include "logfile.h"
#include "metatypes.h"
#include "serialdatatype.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const QDateTime startTime(QDate(2026, 12, 5), QTime(13, 2, 48));
const char childFlag[] = "--log-child";
const char childWarning[] = "child warning for both outputs";
const char childAfterClose[] = "child warning after the file closed";

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Run as a separate process by defaultOutput_stillGetsEveryMessage: logs with a file open and after it closed.
int runLogChild(const QString& documentsDir) {
    std::unique_ptr<LogFile_t> file(openLogFile(documentsDir, startTime));
    if (!file)
        return 3;
    qWarning() << childWarning;
    file.reset();
    qWarning() << childAfterClose;
    return 0;
}

} // namespace

// Emits the registered types from a worker thread. The connections below go by signature, so the queued call needs
// the types registered under exactly these names.
class Emitter_t : public QObject {
    Q_OBJECT
signals:
    void signTag(SerialDataTypeE inType);
    void signError(QSerialPort::SerialPortError inError);
};

class Receiver_t : public QObject {
    Q_OBJECT
public:
    QList<SerialDataTypeE> tags;
    QList<QSerialPort::SerialPortError> errors;
    QList<QThread*> threads;
public slots:
    void slotTag(SerialDataTypeE inType) {
        tags << inType;
        threads << QThread::currentThread();
    }
    void slotError(QSerialPort::SerialPortError inError) {
        errors << inError;
        threads << QThread::currentThread();
    }
};

class StartupTest_t : public QObject {
    Q_OBJECT

private slots:
    void logFilePath_isBuiltFromFolderDateAndTime_data();
    void logFilePath_isBuiltFromFolderDateAndTime();
    void openLogFile_createsMissingFoldersAndTheFile();
    void openLogFile_sameSecondAsEarlierRun_truncatesItsFile();
    void openLogFile_withoutWritableDocuments_returnsNullAndLoggingGoesOn_data();
    void openLogFile_withoutWritableDocuments_returnsNullAndLoggingGoesOn();
    void openLogFile_removesTheOldestRunFilesBeyondTheBounds_data();
    void openLogFile_removesTheOldestRunFilesBeyondTheBounds();
    void messageLog_isCopiedOneLinePerMessageAndPassedOn();
    void messageLog_pastTheCap_keepsOnlyWarningsAndWorse_data();
    void messageLog_pastTheCap_keepsOnlyWarningsAndWorse();
    void messageLog_fromAnotherThread_reachesTheFile();
    void closedLogFile_getsNothingMoreWhileMessagesStillPassOn();
    void defaultOutput_stillGetsEveryMessage();
    void queuedSignals_carryRegisteredTypesAcrossThreadsWithoutWarning();
};

void StartupTest_t::logFilePath_isBuiltFromFolderDateAndTime_data() {
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("expected");
    QTest::newRow("afternoon") << startTime << "/docs/Velmaro/Logs/log__2026.12.05_13.02.48.txt";
    QTest::newRow("midnight") << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))
                              << "/docs/Velmaro/Logs/log__2027.01.01_00.00.00.txt";
    QTest::newRow("last second of the year")
        << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999)) << "/docs/Velmaro/Logs/log__2026.12.31_23.59.59.txt";
}

void StartupTest_t::logFilePath_isBuiltFromFolderDateAndTime() {
    QFETCH(QDateTime, time);
    QFETCH(QString, expected);
    QCOMPARE(logFilePath(QStringLiteral("/docs"), time), expected);
}

void StartupTest_t::openLogFile_createsMissingFoldersAndTheFile() {
    QTemporaryDir documents;
    QVERIFY(documents.isValid());
    LogCapture_t capture;

    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));

    QVERIFY(file);
    const QString expected = documents.path() + QStringLiteral("/Velmaro/Logs/log__2026.12.05_13.02.48.txt");
    QCOMPARE(file->fileName(), expected);
    QVERIFY(QFile::exists(expected));
    QCOMPARE(file->openMode(), QIODevice::WriteOnly);
    QCOMPARE(capture.texts(QtInfoMsg).size(), 1); // the greeting
    QVERIFY(capture.texts(QtInfoMsg).first().contains(expected));
}

void StartupTest_t::openLogFile_sameSecondAsEarlierRun_truncatesItsFile() {
    QTemporaryDir documents;
    LogCapture_t capture;
    const QString path = logFilePath(documents.path(), startTime);
    {
        std::unique_ptr<LogFile_t> first(openLogFile(documents.path(), startTime));
        QVERIFY(first);
        first->write(QByteArray(4096, '#'));
        qInfo() << "first run";
    }
    QVERIFY(readAll(path).contains("first run"));

    std::unique_ptr<LogFile_t> second(openLogFile(documents.path(), startTime));

    QVERIFY(second);
    const QByteArray content = readAll(path);
    QVERIFY(!content.contains("first run"));
    QVERIFY(!content.contains('#'));
    QCOMPARE(content.count('\n'), 1); // only the second run's greeting
}

void StartupTest_t::openLogFile_withoutWritableDocuments_returnsNullAndLoggingGoesOn_data() {
    QTest::addColumn<bool>("documentsIsAFile");
    QTest::newRow("documents path is a file") << true;
    QTest::newRow("no documents location") << false;
}

void StartupTest_t::openLogFile_withoutWritableDocuments_returnsNullAndLoggingGoesOn() {
    QFETCH(bool, documentsIsAFile);
    QTemporaryDir scratch;
    const QString documents = documentsIsAFile ? scratch.filePath(QStringLiteral("Documents")) : QString();
    if (documentsIsAFile) {
        QFile blocker(documents);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    LogCapture_t capture;

    std::unique_ptr<LogFile_t> file(openLogFile(documents, startTime));

    QVERIFY(!file);
    QVERIFY(capture.entries().empty()); // nothing is reported about it
    QVERIFY(!QFile::exists(QStringLiteral("/Velmaro")));
    qWarning() << "still logging";
    QCOMPARE(capture.texts(QtWarningMsg), QStringList{QStringLiteral("still logging")});
}

void StartupTest_t::openLogFile_removesTheOldestRunFilesBeyondTheBounds_data() {
    QTest::addColumn<QList<int>>("sizes"); // earlier runs' files, oldest name first
    QTest::addColumn<int>("newer");        // how many of them are named after this run's start: the clock went back
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<int>("kept"); // the newest-named ones that stay
    QTest::newRow("within the bounds") << QList<int>{10, 10, 10} << 0 << 4 << 30 << 3;
    QTest::newRow("too many") << QList<int>{10, 10, 10, 10} << 0 << 3 << 1000 << 2;
    QTest::newRow("too big, older small ones go too") << QList<int>{10, 10, 500, 10} << 0 << 100 << 100 << 1;
    QTest::newRow("clock went back") << QList<int>{10, 10, 10} << 2 << 2 << 1000 << 1;
}

void StartupTest_t::openLogFile_removesTheOldestRunFilesBeyondTheBounds() {
    QFETCH(QList<int>, sizes);
    QFETCH(int, newer);
    QFETCH(int, maxFiles);
    QFETCH(int, maxBytes);
    QFETCH(int, kept);
    QTemporaryDir documents;
    const QString folder = documents.filePath(QStringLiteral("Velmaro/Logs"));
    QVERIFY(QDir().mkpath(folder));
    LogCapture_t capture;
    const auto makeFile = [](const QString& path, int size, int age) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size && file.flush() &&
               file.setFileTime(startTime.addDays(-age), QFileDevice::FileModificationTime);
    };
    // Not run files, big enough to change the outcome if they were counted.
    QStringList expected = {QStringLiteral("log__2020.01.01_00.00.00.log"), QStringLiteral("notes.txt")};
    for (const QString& name : expected)
        QVERIFY(makeFile(folder + '/' + name, 1000, 0));
    const int older = sizes.size() - newer;
    for (int i = 0; i < sizes.size(); ++i) {
        // A minute apart around this run's start, modified in the opposite order.
        const int minutes = i < older ? i - older : i - older + 1;
        const QString path = logFilePath(documents.path(), startTime.addSecs(60 * minutes));
        QVERIFY(makeFile(path, sizes.at(i), i));
        if (i >= sizes.size() - kept)
            expected << QFileInfo(path).fileName();
    }

    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime, {logFileCapBytes, maxFiles, maxBytes}));

    QVERIFY(file);
    expected << QFileInfo(*file).fileName();
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
}

void StartupTest_t::messageLog_isCopiedOneLinePerMessageAndPassedOn() {
    QTemporaryDir documents;
    LogCapture_t capture;
    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));
    QVERIFY(file);
    capture.clear();

    qDebug() << "Data to FSM: " << QByteArray("\x01\x02", 2) << "; State is: " << 37;
    qInfo() << "IDLE";
    qWarning() << "two\nlines";
    qCritical() << "FSM error! Disconnect!";

    const QList<QByteArray> lines = readAll(file->fileName()).split('\n');
    QCOMPARE(lines.size(), 6); // greeting, four messages, the empty rest after the last newline
    QCOMPARE(lines.last(), QByteArray());
    const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d (\\w+) (.*)$"));
    const QStringList levels = {"info", "debug", "info", "warning", "critical"};
    for (int i = 0; i < levels.size(); ++i) {
        const QRegularExpressionMatch match = shape.match(QString::fromUtf8(lines.at(i)));
        QVERIFY2(match.hasMatch(), lines.at(i).constData());
        QCOMPARE(match.captured(1), levels.at(i));
    }
    QVERIFY(lines.at(1).endsWith("Data to FSM:  \"\\x01\\x02\" ; State is:  37"));
    QVERIFY(lines.at(3).endsWith("two\\nlines"));
    QCOMPARE(capture.entries().size(), 4);
    QCOMPARE(capture.texts(QtWarningMsg), QStringList{QStringLiteral("two\nlines")});
    QCOMPARE(capture.texts(QtCriticalMsg), QStringList{QStringLiteral("FSM error! Disconnect!")});
}

void StartupTest_t::messageLog_pastTheCap_keepsOnlyWarningsAndWorse_data() {
    QTest::addColumn<int>("room");        // bytes of the cap after the greeting
    QTest::addColumn<QString>("sent");    // the messages' levels, by initial
    QTest::addColumn<QString>("written"); // the levels of the lines after the greeting; the notice in capitals
    // A message line takes 35 bytes and its level's name: debug 40, info 39, warning 42, critical 43.
    QTest::newRow("info past the cap") << 79 << QString("didiwdc") << QString("diWwc");
    QTest::newRow("warning past the cap") << 40 << QString("dwdic") << QString("dWwc");
}

void StartupTest_t::messageLog_pastTheCap_keepsOnlyWarningsAndWorse() {
    QFETCH(int, room);
    QFETCH(QString, sent);
    QFETCH(QString, written);
    QTemporaryDir documents;
    LogCapture_t capture;
    qint64 greeting = 0;
    {
        std::unique_ptr<LogFile_t> probe(openLogFile(documents.path(), startTime));
        QVERIFY(probe);
        greeting = probe->size();
    }
    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime, {greeting + room}));
    QVERIFY(file);
    capture.clear();
    const QMap<QChar, QtMsgType> types = {
        {'d', QtDebugMsg}, {'i', QtInfoMsg}, {'w', QtWarningMsg}, {'c', QtCriticalMsg}};

    for (int i = 0; i < sent.size(); ++i)
        qt_message_output(types.value(sent.at(i)), {}, QStringLiteral("message %1").arg(i, 12, 10, QLatin1Char('0')));

    QString levels;
    for (const QString& line : QString::fromUtf8(readAll(file->fileName())).split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList fields = line.split(' '); // time, level, text
        levels += fields.at(2) == QLatin1String("message") ? fields.at(1).at(0) : fields.at(1).at(0).toUpper();
    }
    QCOMPARE(levels, written);
    QCOMPARE(int(capture.entries().size()), sent.size()); // all passed on
}

void StartupTest_t::messageLog_fromAnotherThread_reachesTheFile() {
    QTemporaryDir documents;
    LogCapture_t capture;
    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));
    QVERIFY(file);
    constexpr int perThread = 200;

    std::unique_ptr<QThread> worker(QThread::create([] {
        for (int i = 0; i < perThread; ++i)
            qInfo() << "serial thread" << i;
    }));
    worker->start();
    for (int i = 0; i < perThread; ++i)
        qInfo() << "gui thread" << i;
    QVERIFY(worker->wait(10000));

    const QStringList lines = QString::fromUtf8(readAll(file->fileName())).split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 1 + 2 * perThread + 1);
    QCOMPARE(lines.filter(QStringLiteral("serial thread")).size(), perThread);
    QCOMPARE(lines.filter(QStringLiteral("gui thread")).size(), perThread);
}

void StartupTest_t::closedLogFile_getsNothingMoreWhileMessagesStillPassOn() {
    QTemporaryDir documents;
    LogCapture_t capture;
    std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));
    QVERIFY(file);
    const QString path = file->fileName();
    qWarning() << "while open";

    file.reset();
    qWarning() << "after close";

    const QByteArray content = readAll(path);
    QVERIFY(content.contains("while open"));
    QVERIFY(!content.contains("after close"));
    QCOMPARE(capture.texts(QtWarningMsg), QStringList({"while open", "after close"}));
}

void StartupTest_t::defaultOutput_stillGetsEveryMessage() {
    QTemporaryDir documents;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1")); // stderr is a pipe here
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), documents.path()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);

    const QByteArray errors = child.readAllStandardError();
    QVERIFY2(errors.contains(childWarning), errors.constData());
    QVERIFY2(errors.contains(childAfterClose), errors.constData());
    const QByteArray content = readAll(logFilePath(documents.path(), startTime));
    QVERIFY(content.contains(childWarning));
    QVERIFY(!content.contains(childAfterClose));
}

void StartupTest_t::queuedSignals_carryRegisteredTypesAcrossThreadsWithoutWarning() {
    registerMetaTypes();
    LogCapture_t capture;
    QThread thread;
    Emitter_t emitter;
    Receiver_t receiver;
    emitter.moveToThread(&thread);
    QVERIFY(connect(&emitter, SIGNAL(signTag(SerialDataTypeE)), &receiver, SLOT(slotTag(SerialDataTypeE))));
    QVERIFY(connect(&emitter, SIGNAL(signError(QSerialPort::SerialPortError)), &receiver,
                    SLOT(slotError(QSerialPort::SerialPortError))));
    thread.start();

    QMetaObject::invokeMethod(&emitter, [&emitter] {
        emit emitter.signTag(SerialDataTypeE::TANK_RECORD);
        emit emitter.signError(QSerialPort::ResourceError);
    });

    QTRY_COMPARE(receiver.tags.size() + receiver.errors.size(), 2);
    thread.quit();
    QVERIFY(thread.wait(10000));
    QCOMPARE(receiver.tags, QList<SerialDataTypeE>{SerialDataTypeE::TANK_RECORD});
    QCOMPARE(receiver.errors, QList<QSerialPort::SerialPortError>{QSerialPort::ResourceError});
    QCOMPARE(receiver.threads, QList<QThread*>({QThread::currentThread(), QThread::currentThread()}));
    QVERIFY2(capture.entries().empty(), qPrintable(capture.texts(QtWarningMsg).join('\n')));
}

int main(int argc, char* argv[]) {
    if (argc == 3 && qstrcmp(argv[1], childFlag) == 0)
        return runLogChild(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    StartupTest_t test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup.moc"
