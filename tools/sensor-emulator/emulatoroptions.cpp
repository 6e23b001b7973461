#include "emulatoroptions.h"

#include "sensoremulator.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

const QString STATE = QStringLiteral("state");
const QString RATE = QStringLiteral("rate");
const QString STREAM_AT_START = QStringLiteral("stream-at-start");
const QString CORRUPT_EVERY = QStringLiteral("corrupt-every");
const QString SPLIT = QStringLiteral("split");
const QString SPLIT_GAP = QStringLiteral("split-gap");
const QString COALESCE = QStringLiteral("coalesce");
const QString COALESCE_HOLD = QStringLiteral("coalesce-hold");
const QString SILENT = QStringLiteral("silent");
const QString MEASURE_BEFORE_OK = QStringLiteral("measure-before-ok");
const QString IGNORE_REPEATED_STOP = QStringLiteral("ignore-repeated-stop");
const QString OVERRIDE = QStringLiteral("override");
const QString OVERRIDE_REPLY = QStringLiteral("override-reply");
const QString RECORD_ID = QStringLiteral("record-id");
const QString GARBAGE = QStringLiteral("garbage");
const QString DROP_AFTER = QStringLiteral("drop-after");
const QString REPLY_DELAY = QStringLiteral("reply-delay");
const QString DELAY_ONLY = QStringLiteral("delay-only");

constexpr int MAX_COUNT = 1000000;
constexpr int MAX_MS = 600000;

// The option's value as an integer in low..high; out untouched when the option is absent.
bool readInt(const QCommandLineParser& parser, const QString& name, int low, int high, int& out, QString& error) {
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        error = QStringLiteral("--%1 wants a whole number from %2 to %3").arg(name).arg(low).arg(high);
        return false;
    }
    out = value;
    return true;
}

bool readRecordIdFault(const QCommandLineParser& parser, RecordIdFaultE& out, QString& error) {
    if (!parser.isSet(RECORD_ID))
        return true;
    const QString value = parser.value(RECORD_ID);
    if (value == QLatin1String("shifted"))
        out = RecordIdFaultE::SHIFTED;
    else if (value == QLatin1String("out-of-range"))
        out = RecordIdFaultE::OUT_OF_RANGE;
    else {
        error = QStringLiteral("--record-id wants shifted or out-of-range");
        return false;
    }
    return true;
}

bool readGarbage(const QCommandLineParser& parser, QByteArray& out, QString& error) {
    if (!parser.isSet(GARBAGE))
        return true;
    const QString hex = parser.value(GARBAGE);
    if (!QRegularExpression(QStringLiteral("^([0-9A-Fa-f]{2})+$")).match(hex).hasMatch()) {
        error = QStringLiteral("--garbage wants hex bytes, e.g. 55aa00");
        return false;
    }
    out = QByteArray::fromHex(hex.toLatin1());
    return true;
}

bool readOverride(const QCommandLineParser& parser, EmulatorFaults_t& f, QString& error) {
    f.overridePrefix = parser.value(OVERRIDE);
    if (!parser.isSet(OVERRIDE_REPLY))
        return true;
    const nlohmann::json reply = nlohmann::json::parse(parser.value(OVERRIDE_REPLY).toStdString(), nullptr, false);
    if (!reply.is_array() || reply.empty()) {
        error = QStringLiteral("--override-reply wants a JSON array, e.g. [\"error\"]");
        return false;
    }
    f.overrideReply = reply;
    return true;
}

bool readFaults(const QCommandLineParser& parser, EmulatorFaults_t& f, QString& error) {
    f.streamAtStart = parser.isSet(STREAM_AT_START);
    f.coalesce = parser.isSet(COALESCE);
    f.measurementBeforeStreamOk = parser.isSet(MEASURE_BEFORE_OK);
    f.ignoreRepeatedStreamOff = parser.isSet(IGNORE_REPEATED_STOP);
    f.silentCommand = parser.value(SILENT);
    f.delayedPrefix = parser.value(DELAY_ONLY);
    return readOverride(parser, f, error) && readInt(parser, CORRUPT_EVERY, 1, MAX_COUNT, f.corruptEveryNth, error) &&
           readInt(parser, SPLIT, 2, MAX_COUNT, f.splitPieces, error) &&
           readInt(parser, SPLIT_GAP, 0, MAX_MS, f.splitGapMs, error) &&
           readInt(parser, COALESCE_HOLD, 0, MAX_MS, f.coalesceHoldMs, error) &&
           readRecordIdFault(parser, f.recordId, error) && readGarbage(parser, f.garbage, error) &&
           readInt(parser, DROP_AFTER, 1, MAX_COUNT, f.dropAfter, error) &&
           readInt(parser, REPLY_DELAY, 0, MAX_MS, f.replyDelayMs, error);
}

} // namespace

void addEmulatorOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {STATE, QStringLiteral("Load the sensor's initial state from <file> (JSON, as written by --dump)."),
         QStringLiteral("file")},
        {RATE, QStringLiteral("Measurements per second in installation mode, 0.1 to 100 (default 5)."),
         QStringLiteral("n")},
        {STREAM_AT_START, QStringLiteral("Installation mode on from the start: measurements arrive as the port "
                                         "opens.")},
        {CORRUPT_EVERY, QStringLiteral("Break the payload checksum of every <n>th frame sent."), QStringLiteral("n")},
        {SPLIT, QStringLiteral("Cut every write into <n> pieces."), QStringLiteral("n")},
        {SPLIT_GAP, QStringLiteral("Pause between the pieces of a split write (default 20)."), QStringLiteral("ms")},
        {COALESCE, QStringLiteral("Send frames in pairs, two in one write.")},
        {COALESCE_HOLD, QStringLiteral("How long a frame waits for its partner (default 300)."), QStringLiteral("ms")},
        {MEASURE_BEFORE_OK, QStringLiteral("Answer a stream-on with a first measurement before its \"ok\".")},
        {IGNORE_REPEATED_STOP, QStringLiteral("Leave a stream-off unanswered while the stream is already off.")},
        {SILENT, QStringLiteral("Never answer requests named <name>, e.g. Info."), QStringLiteral("name")},
        {OVERRIDE,
         QStringLiteral(
             "Answer requests whose JSON text begins with <text> with the override reply and change nothing, "
             "e.g. '[\"TankConfig\",{\"Active\":2}]'."),
         QStringLiteral("text")},
        {OVERRIDE_REPLY, QStringLiteral("The reply for --override, a JSON array (default [\"error\"])."),
         QStringLiteral("json")},
        {RECORD_ID, QStringLiteral("Tank record replies carry a wrong id: shifted (id + 1) or out-of-range (7)."),
         QStringLiteral("fault")},
        {GARBAGE, QStringLiteral("Write these bytes in front of every frame, in hex, e.g. 55aa00."),
         QStringLiteral("hex")},
        {DROP_AFTER, QStringLiteral("Drop the line after <n> frames, as when the cable is pulled."),
         QStringLiteral("n")},
        {REPLY_DELAY, QStringLiteral("Wait before every reply."), QStringLiteral("ms")},
        {DELAY_ONLY,
         QStringLiteral("Delay only the replies to requests whose JSON text begins with <text>, e.g. "
                        "'[\"OmnicommConfig\",{': a late reply that reaches the next connection."),
         QStringLiteral("text")},
    });
}

bool applyEmulatorOptions(const QCommandLineParser& parser, SensorEmulator_t& emulator, QString& error) {
    EmulatorFaults_t faults;
    if (!readFaults(parser, faults, error))
        return false;
    if (parser.isSet(RATE) && !emulator.setStreamRate(parser.value(RATE).toDouble())) {
        error = QStringLiteral("--rate wants a number from 0.1 to 100");
        return false;
    }
    if (parser.isSet(STATE) && !emulator.loadState(parser.value(STATE), error)) {
        error = QStringLiteral("--state %1: %2").arg(parser.value(STATE), error);
        return false;
    }
    emulator.setFaults(faults);
    return true;
}
