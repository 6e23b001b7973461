// The serial link end to end: a real front, its real serial thread and QSerialPort on the slave side of a
// pseudo-terminal, with the test acting as the sensor on the master side.

#include "logcapture.h"
#include "ptypair.h"
#include "requests.h"
#include "serialparser.h"
#include "serialparserworker.h"
#include "wireframe.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QtTest>
#include <memory>

namespace {
// The worked example of the frame codec: ["Info"] on the line, which the sensor may send back as a reply too.
const QByteArray INFO_FRAME = QByteArray::fromHex("0408020102060BD3958164496E666F1E2000");
constexpr int INTERVAL_MS = SerialParserWorker_t::DISPATCH_INTERVAL_MS;
// Items are timed when they reach the GUI thread, which may pick one up late and the next one on time.
constexpr int DELIVERY_JITTER_MS = 25;

QByteArray okFrame(int number) {
    return jsonToFrame(nlohmann::json::array({"ok", number}));
}

// The message log line the worker writes for the bytes it holds.
QString fromSerialLine(const QByteArray& bytes) {
    QString line;
    QDebug(&line) << "fromSerial: " << bytes;
    line.chop(1); // the blank QDebug leaves behind the last item
    return line;
}

struct Item_t {
    SerialDataTypeE tag;
    QByteArray bytes;
    qint64 atMs;
};

// One front on the slave side of its own pseudo-terminal, with everything it hands back to its owner recorded.
struct Link_t {
    PtyPair_t pty;
    QElapsedTimer clock;
    QVector<Item_t> items;
    QVector<QSerialPort::SerialPortError> errors;
    std::unique_ptr<SerialParser_t> front;

    explicit Link_t(const QString& portName = QString()) {
        clock.start();
        front = std::make_unique<SerialParser_t>(portName.isNull() ? pty.slavePath() : portName);
        QObject::connect(front.get(), &SerialParser_t::signFromDevice, front.get(),
                         [this](SerialDataTypeE tag, const QByteArray& bytes) {
                             items.append({tag, bytes, clock.elapsed()});
                         });
        QObject::connect(front.get(), &SerialParser_t::signError, front.get(),
                         [this](QSerialPort::SerialPortError error) { errors.append(error); });
    }

    // Opens the port and waits until the serial thread holds it open.
    bool open() {
        emit front->signOpen();
        return QTest::qWaitFor([this] { return pty.slaveDescriptorCount() == 2; }) &&
               QTest::qWaitFor([this] { return !errors.isEmpty(); }) && errors == QVector{QSerialPort::NoError};
    }

    bool waitForItems(int count) {
        return QTest::qWaitFor([this, count] { return items.size() >= count; });
    }
};

int realErrors(const QVector<QSerialPort::SerialPortError>& errors) {
    return errors.size() - errors.count(QSerialPort::NoError);
}
} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT

    std::unique_ptr<LogCapture_t> log;

private slots:
    void initTestCase() {
        qRegisterMetaType<SerialDataTypeE>("SerialDataTypeE");
        qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
    }
    void init() { log = std::make_unique<LogCapture_t>(); }
    void cleanup() { log.reset(); }

    void infoRequestWhileOpening_leavesAsTheExampleFrameAndLogsNothing() {
        Link_t link;
        QVERIFY(link.pty.isOpen());
        emit link.front->signOpen();
        link.front->slotToDevice(Cmd::INFO);
        QCOMPARE(link.pty.read(INFO_FRAME.size()), INFO_FRAME);
        QCOMPARE(link.pty.read(1, 200), QByteArray());
        QTRY_COMPARE(link.errors, QVector{QSerialPort::NoError});
        QVERIFY(log->entries().empty());
    }

    void badRequest_isDroppedWithAWarningAndTheLinkGoesOn_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("no closing bracket") << QByteArray(R"(["Info")");
        QTest::newRow("no brackets") << QByteArray(R"("Info")");
        QTest::newRow("brackets but not JSON") << QByteArray(R"([Info])");
        QTest::newRow("payload too large") << QByteArray(R"(["Info", ")") + QByteArray(MAX_PAYLOAD_SIZE, 'x') + "\"]";
    }
    void badRequest_isDroppedWithAWarningAndTheLinkGoesOn() {
        QFETCH(QByteArray, request);
        Link_t link;
        QVERIFY(link.open());
        link.front->slotToDevice(request);
        link.front->slotToDevice(Cmd::INFO);
        // Had the bad request left anything, it would arrive before the Info frame.
        QCOMPARE(link.pty.read(INFO_FRAME.size()), INFO_FRAME);
        QCOMPARE(log->texts(QtWarningMsg).size(), 1);
    }

    void replyInThreeChunks_isQueuedOnceAndLoggedWithTheGrowingBytes() {
        Link_t link;
        QVERIFY(link.open());
        const QVector<QByteArray> chunks{INFO_FRAME.left(6), INFO_FRAME.mid(6, 6), INFO_FRAME.mid(12)};
        QByteArray sent;
        for (int n = 0; n < chunks.size(); ++n) {
            QVERIFY(link.pty.write(chunks[n]));
            sent += chunks[n];
            QTRY_COMPARE(log->textsStartingWith("fromSerial:").size(), n + 1);
            QCOMPARE(log->textsStartingWith("fromSerial:").last(), fromSerialLine(sent));
        }
        for (const LogCapture_t::Entry_t& entry : log->entries()) {
            if (entry.text.startsWith("fromSerial:"))
                QCOMPARE(entry.type, QtInfoMsg);
        }
        QVERIFY(link.waitForItems(1));
        QVERIFY(link.pty.write(okFrame(1)));
        QVERIFY(link.waitForItems(2));
        QCOMPARE(link.items[0].tag, SerialDataTypeE::INFO);
        QCOMPARE(link.items[0].bytes, INFO_FRAME);
        QCOMPARE(link.items[1].bytes, okFrame(1));
    }

    void twoFramesInOneChunk_becomeTwoItemsHandedOnInOrder() {
        Link_t link;
        QVERIFY(link.open());
        const QByteArray ok = jsonToFrame(nlohmann::json::array({"ok"}));
        QVERIFY(link.pty.write(ok + INFO_FRAME));
        QVERIFY(link.waitForItems(2));
        QCOMPARE(link.items[0].tag, SerialDataTypeE::OK);
        QCOMPARE(link.items[0].bytes, ok);
        QCOMPARE(link.items[1].tag, SerialDataTypeE::INFO);
        QCOMPARE(link.items[1].bytes, INFO_FRAME);
        QVERIFY(link.items[1].atMs - link.items[0].atMs >= INTERVAL_MS - DELIVERY_JITTER_MS);
    }

    void junkEndingInZeroBeforeAFrame_costsOnlyTheJunk() {
        Link_t link;
        QVERIFY(link.open());
        QVERIFY(link.pty.write(QByteArray::fromHex("0511223344") + QByteArray(1, '\0') + INFO_FRAME));
        QVERIFY(link.waitForItems(1));
        QCOMPARE(link.items[0].tag, SerialDataTypeE::INFO);
        QCOMPARE(link.items[0].bytes, INFO_FRAME);
    }

    void itemsQueuedTogether_areHandedOnInOrderAnIntervalApartAndAWaitingMeasurementGivesWay() {
        Link_t link;
        QVERIFY(link.open());
        const auto measurement = [](int rawTof) {
            return jsonToFrame(nlohmann::json::array({"Installation", {{"RawTOF", rawTof}, {"mm", 5}}}));
        };
        const QVector<QByteArray> frames = {measurement(100), measurement(101), okFrame(0), measurement(102),
                                            measurement(103)};
        const qint64 sentAt = link.clock.elapsed();
        QVERIFY(link.pty.write(frames[0] + frames[1] + frames[2] + frames[3] + frames[4]));
        QVERIFY(link.waitForItems(3));
        QTest::qWait(2 * INTERVAL_MS);
        QCOMPARE(link.items.size(), 3);
        QVERIFY(link.items[0].atMs - sentAt >= INTERVAL_MS);
        const QVector<QByteArray> handedOn = {frames[1], frames[2], frames[4]};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(link.items[i].bytes, handedOn[i]);
            if (i > 0)
                QVERIFY2(link.items[i].atMs - link.items[i - 1].atMs >= INTERVAL_MS - DELIVERY_JITTER_MS,
                         qPrintable(QString::number(link.items[i].atMs - link.items[i - 1].atMs)));
        }
    }

    void sensorStreamingFasterThanTheInterval_isHandedOnWhileItStreams() {
        Link_t link;
        QVERIFY(link.open());
        int handedOnWhileStreaming = 0;
        for (int n = 0; n < 25; ++n) {
            QVERIFY(link.pty.write(okFrame(n)));
            QTest::qWait(INTERVAL_MS / 2);
            handedOnWhileStreaming = link.items.size();
        }
        QVERIFY(handedOnWhileStreaming > 0);
        for (int i = 0; i < handedOnWhileStreaming; ++i)
            QCOMPARE(link.items[i].bytes, okFrame(i));
    }

    void moreItemsThanTheQueueHolds_dropTheOldestWithWarnings() {
        Link_t link;
        QVERIFY(link.open());
        const int extra = 44;
        QByteArray burst;
        for (int n = 0; n < SerialParserWorker_t::RX_FRAMES_LIMIT + extra; ++n)
            burst += okFrame(n);
        QVERIFY(link.pty.write(burst));
        QVERIFY(link.waitForItems(1));
        QCOMPARE(link.items[0].bytes, okFrame(extra));
        QCOMPARE(log->textsStartingWith("Receive queue full").size(), extra);
    }

    void bytesWithoutZero_produceNoItemAndStayBounded() {
        Link_t link;
        QVERIFY(link.open());
        const int chunkSize = 1024;
        const int chunks = SerialParserWorker_t::RX_DATA_LIMIT / chunkSize + 2;
        // The bytes the last "fromSerial: " line shows: all 'U', so one character each.
        const auto lastHeld = [this, quoting = fromSerialLine(QByteArray()).size()] {
            const QStringList lines = log->textsStartingWith("fromSerial:");
            return lines.isEmpty() ? -1 : lines.last().size() - quoting;
        };
        int held = 0;
        for (int n = 0; n < chunks; ++n) {
            QVERIFY(link.pty.write(QByteArray(chunkSize, 'U')));
            held = held > SerialParserWorker_t::RX_DATA_LIMIT ? chunkSize : held + chunkSize;
            QTRY_COMPARE(lastHeld(), held);
        }
        QCOMPARE(log->texts(QtWarningMsg).size(), 1);
        QVERIFY(link.items.isEmpty());
        // The held bytes end as one undecodable item; the frame after them gets through.
        QVERIFY(link.pty.write(QByteArray(1, '\0') + INFO_FRAME));
        QVERIFY(link.waitForItems(1));
        QCOMPARE(link.items[0].bytes, INFO_FRAME);
        QCOMPARE(link.items.size(), 1);
    }

    void frameFailingACheck_emitsNothing_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<char>("value");
        QTest::newRow("payload crc") << 16 << '\x21';
        QTest::newRow("payload byte") << 14 << '\x6E';
        QTest::newRow("header crc") << 7 << '\xD4';
    }
    void frameFailingACheck_emitsNothing() {
        QFETCH(int, index);
        QFETCH(char, value);
        Link_t link;
        QVERIFY(link.open());
        QByteArray bad = INFO_FRAME;
        bad[index] = value;
        QVERIFY(link.pty.write(bad));
        QVERIFY(link.pty.write(okFrame(7)));
        QVERIFY(link.waitForItems(1));
        QCOMPARE(link.items[0].bytes, okFrame(7));
        QCOMPARE(link.items.size(), 1);
    }

    void portThatDoesNotExist_reportsNoErrorThenARealError_data() {
        QTest::addColumn<QString>("portName");
        QTest::newRow("device path") << "/dev/pts/velmaro-missing";
        QTest::newRow("port name") << "ttyVELMARO99";
    }
    void portThatDoesNotExist_reportsNoErrorThenARealError() {
        QFETCH(QString, portName);
        Link_t link(portName);
        emit link.front->signOpen();
        QTRY_COMPARE(link.errors.size(), 2);
        QCOMPARE(link.errors[0], QSerialPort::NoError);
        QCOMPARE(link.errors[1], QSerialPort::DeviceNotFoundError);
        const QStringList failures = log->textsStartingWith("Port open failed:");
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures.first().contains(QFileInfo(portName).fileName()), qPrintable(failures.first()));
        QVERIFY2(failures.first().contains("No such file or directory"), qPrintable(failures.first()));
    }

    void sensorUnplugged_reachesTheOwnerAsAFewErrors() {
        Link_t link;
        QVERIFY(link.open());
        link.pty.closeMaster();
        QTRY_VERIFY(realErrors(link.errors) > 0);
        // Qt 5.15 alone would go on reporting the hang-up hundreds of thousands of times a second.
        QTest::qWait(1000);
        const int reported = realErrors(link.errors);
        QVERIFY2(reported <= 3, qPrintable(QString::number(reported)));
        QCOMPARE(link.errors.count(QSerialPort::NoError), 1);
        QCOMPARE(link.pty.slaveDescriptorCount(), 1); // the worker closed its port
        // A request to the closed port is lost without a new error.
        link.front->slotToDevice(Cmd::INFO);
        QTest::qWait(200);
        QCOMPARE(realErrors(link.errors), reported);
    }

    void frontDeletedWhileOrAfterOpening_stopsItsThreadAndLeavesNoPortOpen() {
        PtyPair_t pty;
        for (int round = 0; round < 20; ++round) {
            auto front = std::make_unique<SerialParser_t>(pty.slavePath());
            emit front->signOpen();
            // Even rounds delete the front at once, odd ones once the port is open.
            if (round % 2)
                QVERIFY(QTest::qWaitFor([&pty] { return pty.slaveDescriptorCount() == 2; }));
            front.reset();
            QCOMPARE(log->entries().back().text, QString("Serial thread end"));
            QCOMPARE(pty.slaveDescriptorCount(), 1);
        }
    }

    void serialThreadEnd_isTheLastLineOfALink() {
        Link_t link;
        QVERIFY(link.open());
        link.front->slotToDevice(Cmd::INFO);
        QCOMPARE(link.pty.read(INFO_FRAME.size()), INFO_FRAME);
        QByteArray replies;
        for (int n = 0; n < 5; ++n)
            replies += okFrame(n);
        QVERIFY(link.pty.write(replies + okFrame(5).left(4)));
        QVERIFY(link.waitForItems(1));
        link.front.reset();
        const auto entries = log->entries();
        QCOMPARE(entries.back().type, QtInfoMsg);
        QCOMPARE(entries.back().text, QString("Serial thread end"));
        QCOMPARE(link.pty.slaveDescriptorCount(), 1);
        QVERIFY(link.pty.write(okFrame(6)));
        QTest::qWait(3 * INTERVAL_MS);
        QCOMPARE(log->entries().size(), entries.size());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_seriallink.moc"
