// Start-up's per-run log file: its name and folder, the copy of the message log into it up to the cap, and the removal
// of the oldest run files beyond the folder's bounds, all with the bounds the program ships with; Qt's own texts in the
// system's language.
#include "logcapture.h"
#include "logfile.h"
#include "qttranslation.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>

namespace {

// Every field of the file name has a leading zero.
const QDateTime startTime(QDate(2027, 1, 2), QTime(3, 4, 5));
constexpr qint64 MB = 1024 * 1024;

} // namespace

class StartupTest_t : public QObject {
    Q_OBJECT

private slots:
    void openLogFile_withoutUsableDocuments_returnsNullSilently() {
        QTemporaryFile documentsIsAFile;
        QVERIFY(documentsIsAFile.open());
        LogCapture_t capture;
        QVERIFY(!std::unique_ptr<LogFile_t>(openLogFile(QString(), startTime)));
        QVERIFY(!QFile::exists(QStringLiteral("/Velmaro")));
        QVERIFY(!std::unique_ptr<LogFile_t>(openLogFile(documentsIsAFile.fileName(), startTime)));
        QVERIFY(capture.entries().empty());
    }

    void openLogFile_removesTheOldestRunFilesBeyondTheBounds_data() {
        QTest::addColumn<QVector<qint64>>("sizes"); // earlier runs' files, oldest name first
        QTest::addColumn<int>("kept");              // the newest-named ones that stay
        QTest::newRow("101 files") << QVector<qint64>(100, 1) << 99;
        // Exactly 200 MB stays; past it every older file goes, even an empty one.
        QTest::newRow("200 MB") << QVector<qint64>{0, 150 * MB, 1, 100 * MB - 1, 100 * MB} << 3;
    }
    void openLogFile_removesTheOldestRunFilesBeyondTheBounds() {
        QFETCH(QVector<qint64>, sizes);
        QFETCH(int, kept);
        QTemporaryDir documents;
        const QString folder = documents.filePath(QStringLiteral("Velmaro/Logs"));
        QVERIFY(QDir().mkpath(folder));
        LogCapture_t capture;
        // Sparse, so that hundreds of megabytes cost nothing.
        const auto makeFile = [](const QString& path, qint64 size, int age) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.resize(size) &&
                   file.setFileTime(startTime.addDays(-age), QFileDevice::FileModificationTime);
        };
        // Not run files, and an earlier run's file of the same second, which is truncated: all big enough to change
        // the outcome if they were counted.
        QStringList expected = {QStringLiteral("log__2020.01.01_00.00.00.log"), QStringLiteral("notes.txt"),
                                QStringLiteral("log__2027.01.02_03.04.05.txt")};
        for (const QString& name : expected)
            QVERIFY(makeFile(folder + '/' + name, 200 * MB, 0));
        for (int i = 0; i < sizes.size(); ++i) {
            // A minute apart before this run's start, modified in the opposite order.
            const QString path = logFilePath(documents.path(), startTime.addSecs(60 * (i - sizes.size())));
            QVERIFY(makeFile(path, sizes.at(i), i));
            if (i >= sizes.size() - kept)
                expected << QFileInfo(path).fileName();
        }

        std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));

        QVERIFY(file);
        expected.sort();
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    }

    void messageLog_isCopiedUpToTheCapThenOnlyWarningsAndWorse_andNotAfterClosing() {
        QTemporaryDir documents;
        LogCapture_t capture;
        std::unique_ptr<LogFile_t> file(openLogFile(documents.path(), startTime));
        QVERIFY(file);
        QFile written(file->fileName());
        capture.clear();
        // Room for exactly the first two lines below: "time level text", 24 bytes and the level's name.
        const qint64 room = 29 + 28;
        QVERIFY(file->write(QByteArray(logFileCapBytes - file->pos() - room - 1, '#') + '\n'));
        const qint64 start = file->pos();
        const QtMsgType sent[] = {QtDebugMsg,   QtInfoMsg,  QtDebugMsg,   QtInfoMsg,
                                  QtWarningMsg, QtDebugMsg, QtCriticalMsg};

        for (const QtMsgType type : sent)
            qt_message_output(type, {}, QStringLiteral("line\nend"));
        file.reset();
        qWarning() << "after closing";

        // The levels of the lines written, by initial: in capitals for other texts than the messages, each on one line.
        const QRegularExpression shape(QStringLiteral(R"(^\d\d:\d\d:\d\d\.\d{3} (\w)\w+ (?:(line\\nend)|.+)$)"));
        QVERIFY(written.open(QIODevice::ReadOnly) && written.seek(start));
        QString levels;
        for (const QString& line : QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = shape.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            levels += match.captured(2).isNull() ? match.captured(1).toUpper() : match.captured(1);
        }
        QCOMPARE(levels, QStringLiteral("diWwc"));
        QCOMPARE(capture.entries().size(), std::size(sent) + 1); // every message passed on
    }

    // The standard buttons take their texts from this context.
    void qtTranslation_isTheSystemsLanguageElseRussian_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("no language set") << QStringLiteral("C") << QStringLiteral("Отмена");
        QTest::newRow("English, only Qt's untranslated texts") << QStringLiteral("en_US") << QStringLiteral("Отмена");
        QTest::newRow("German") << QStringLiteral("de_DE") << QStringLiteral("Abbrechen");
    }
    void qtTranslation_isTheSystemsLanguageElseRussian() {
        QFETCH(QString, locale);
        QFETCH(QString, cancel);
        const std::unique_ptr<QTranslator> translator(
            installQtTranslation(*QCoreApplication::instance(), QLocale(locale)));
        QVERIFY(translator);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }
};

QTEST_GUILESS_MAIN(StartupTest_t)
#include "test_startup.moc"
