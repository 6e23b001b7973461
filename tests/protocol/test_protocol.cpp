// The protocol library without a line: the frame codec, JSON to and from frames, the classification and the readers of
// replies, and the rules of the tank list. Bad input gets one row per distinct fault, each with its clear outcome.

#include "logcapture.h"
#include "lumo_cobs.h"
#include "requests.h"
#include "responses.h"
#include "stdoutcapture.h"
#include "tankcatalogue.h"
#include "tankfixtures.h"
#include "wireframe.h"
#include "wireobjects.h"

#include <QtTest>
#include <cmath>
#include <functional>
#include <vector>

using nlohmann::json;

namespace nlohmann {
// Readable failures. Device data may hold invalid UTF-8, which a plain dump() throws on.
char* toString(const json& value) {
    return QTest::toString(QString::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace)));
}
} // namespace nlohmann

namespace {
// A decoder under test with its result written back as JSON, so that a row states a whole record. Status: that of a
// parser; for a strict reader 0, or -1 and a null result when it refuses.
using Decode_t = std::function<json(const json& in, int& status, WireFault_t& fault)>;

template <typename R>
Decode_t parser(R (*parse)(const json&, int&), json (*write)(const R&)) {
    return [=](const json& in, int& status, WireFault_t&) { return write(parse(in, status)); };
}

template <typename R>
Decode_t reader(bool (*read)(const json&, R&, WireFault_t*), json (*write)(const R&)) {
    return [=](const json& in, int& status, WireFault_t& fault) {
        R out;
        status = read(in, out, &fault) ? 0 : -1;
        return status == 0 ? write(out) : json();
    };
}

QString describe(const WireFault_t& fault) {
    const QStringList kinds{"wrong type", "missing", "out of range"}; // in the order of WireFaultE
    return fault.key + ": " + kinds.value(int(fault.kind));
}

// Runs f without the codec's printing and the message log's output.
template <typename F>
auto quietly(F&& f) {
    StdoutCapture_t out;
    LogCapture_t log;
    return f();
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QByteArray bytes(const uint8_t* data, uint32_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

uint16_t crcOf(const QByteArray& data, uint16_t start = 0) {
    return CobsCrc16(reinterpret_cast<const uint8_t*>(data.constData()), start, uint16_t(data.size()));
}

QByteArray withCrc(const QByteArray& data) {
    const uint16_t crc = crcOf(data);
    return data + char(crc & 0xFF) + char(crc >> 8);
}

// A decoded frame built here, independent of the encoder: header (length 8, version 2, flags 0), payload, CRCs.
QByteArray frameOf(char channel, const QByteArray& payload) {
    QByteArray header("\x08\x02", 2);
    header.append(channel).append('\0').append(char(payload.size() & 0xFF)).append(char(payload.size() >> 8));
    return withCrc(header) + withCrc(payload);
}

// The COBS form of a frame of under 254 bytes, built here so that any header can be sent.
QByteArray stuffed(const QByteArray& frame) {
    QByteArray item;
    for (const QByteArray& block : frame.split('\0'))
        item += char(block.size() + 1) + block;
    return item + '\0';
}

// What CobsCheckHeader says about a decoded frame: the channel, or the reason it prints when it rejects the frame.
QString verdictOn(const uint8_t* frame, uint32_t length) {
    StdoutCapture_t capture;
    const int channel = CobsCheckHeader(frame, length);
    return channel == 2 ? QString(capture.take().trimmed().split('\n').last()) : QString::number(channel);
}

// The COBS form of any payload bytes, CBOR or not; printed gets what the codec printed.
QByteArray encoded(const QByteArray& payload, QByteArray* printed = nullptr) {
    std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
    std::copy(payload.begin(), payload.end(), area.begin() + COBS_HEADER_SIZE);
    std::vector<uint8_t> out(COBS_ENCODED_MAX(uint32_t(payload.size())));
    StdoutCapture_t capture;
    const uint32_t n = CobsEncode(area.data() + COBS_HEADER_SIZE, uint16_t(payload.size()), out.data());
    if (printed)
        *printed = capture.take();
    return bytes(out.data(), n);
}

json patched(json object, const json& change) {
    object.merge_patch(change); // a null member removes the key
    return object;
}

constexpr TankKindE TOROID = TankKindE::Toroid;
constexpr TankKindE SOLID = TankKindE::CylinderP;
constexpr TankKindE HORIZONTAL = TankKindE::CylinderH;
constexpr TankKindE VERTICAL = TankKindE::CylinderV;

TankConfigRecord_t record(int id, TankKindE kind, int outer, int length, int inner = 0) {
    return makeTankRecord(id, kind, outer, length, inner, 3);
}

// The list as a complete reading leaves it: record 0 (a vertical 300x640), records 1 and 2, the active one selected,
// then the catalogue.
TankList_t readList(const TankConfigRecord_t& record1, const TankConfigRecord_t& record2, int active) {
    TankList_t list;
    for (const TankConfigRecord_t& r : {record(0, VERTICAL, 300, 640), record1, record2})
        list.push_back(entryFromRecord(r, r.id == active));
    fillStandardTanks(list);
    return list;
}

QStringList described(const TankList_t& list) {
    QStringList texts;
    for (const TankListEntry& e : list)
        texts << e.text + (e.selected ? " selected" : "") + (e.custom ? " custom" : "");
    return texts;
}

QByteArray handedToHook;

const QByteArray INFO_PAYLOAD = hex("81 64 49 6E 66 6F");
const QByteArray INFO_WIRE = hex("04 08 02 01 02 06 0B D3 95 81 64 49 6E 66 6F 1E 20 00");
const json OMNICOMM = json::parse(R"({"Address":10,"TxMode":true,"TxPeriodSec":0,"Units":"mm"})");
const TankConfigRecord_t TOROID_1 = record(1, TOROID, 650, 250, 172);
const json RECORD = recordToJson(record(0, TOROID, 630, 600, 172)); // built as the program builds it
} // namespace

// Replaces the codec's weak default hook in this program: keeps what would go out.
extern "C" int CobsTxCallback(const uint8_t* frameP, uint16_t len) {
    handedToHook = bytes(frameP, len);
    return len;
}

Q_DECLARE_METATYPE(json)
Q_DECLARE_METATYPE(Decode_t)
Q_DECLARE_METATYPE(TankKindE)
Q_DECLARE_METATYPE(TankConfigRecord_t)
Q_DECLARE_METATYPE(TankList_t)
Q_DECLARE_METATYPE(std::optional<TankKindE>)

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void crc16_checkValue_alsoWhenContinued() {
        QCOMPARE(crcOf("123456789"), uint16_t(0x31C3));
        QCOMPARE(crcOf("56789", crcOf("1234")), uint16_t(0x31C3));
    }

    void encode_dumpsThePayloadSixteenBytesToARow() {
        QByteArray printed;
        encoded(hex("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10"), &printed);
        QCOMPARE(printed, QByteArray("dbg> lumo_cobs: \ndata tx:\n\ndbg> lumo_cobs: \n"
                                     "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n     lumo_cobs: \n10 \n\n"));
    }

    void encodeAndSend_handsTheWireToTheHook() {
        uint8_t area[COBS_FRAME_OVERHEAD + 6] = {0, 0, 0, 0, 0, 0, 0, 0, 0x81, 0x64, 0x49, 0x6E, 0x66, 0x6F};
        uint8_t out[COBS_ENCODED_MAX(6u)];
        QCOMPARE(quietly([&] { return CobsEncodeAndSend(area + COBS_HEADER_SIZE, 6, out); }), INFO_WIRE.size());
        QCOMPARE(handedToHook, INFO_WIRE);
    }

    // Common COBS vectors and malformed items, frames with other headers, and frames around the block boundaries as
    // the encoder sends them; each decoded, its header checked, and read as CobsRead does.
    void receive_data() {
        QByteArray full;
        for (int b = 1; b <= 254; ++b)
            full.append(char(b));
        const QByteArray info = frameOf(1, INFO_PAYLOAD);
        const QByteArray badHeaderCrc = QByteArray(info).replace(6, 1, "\xD2");
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QByteArray>("frame"); // empty when not even a first block decodes
        QTest::addColumn<QString>("verdict");  // of the header check
        QTest::newRow("zero in the middle") << hex("03 11 22 02 33 00") << hex("11 22 00 33") << "size[4]";
        QTest::newRow("no zero after a full block") << "\xFF" + full + hex("02 FF 00") << full + '\xFF' << "size[255]";
        QTest::newRow("no delimiter: the walk ends at the end") << hex("03 11 22") << hex("11 22") << "size[2]";
        QTest::newRow("block past the end is dropped") << hex("02 11 05 22 33") << hex("11") << "size[1]";
        QTest::newRow("lone delimiter") << hex("00") << QByteArray() << "size[-1]";
        QTest::newRow("first block past the end") << hex("05 11 22") << QByteArray() << "size[-1]";
        QTest::newRow("Info example") << INFO_WIRE << info << "1";
        QTest::newRow("channel 0") << stuffed(frameOf(0, INFO_PAYLOAD)) << frameOf(0, INFO_PAYLOAD) << "0";
        QTest::newRow("channel 2") << stuffed(frameOf(2, INFO_PAYLOAD)) << frameOf(2, INFO_PAYLOAD)
                                   << "invalid channel";
        QTest::newRow("header crc mismatch") << stuffed(badHeaderCrc) << badHeaderCrc << "header crc";
        QTest::newRow("one byte short") << stuffed(info.left(15)) << info.left(15) << "size[15]";
        QTest::newRow("empty payload") << stuffed(frameOf(1, QByteArray())) << frameOf(1, QByteArray()) << "size[10]";
        QTest::newRow("no header") << stuffed(info.left(7)) << info.left(7) << "size[7]";
        for (int size : {1, 250, 251, 252, 253, 254, 255, 500, 501, 1024}) {
            QByteArray nonZero(size, '\0');
            for (int i = 0; i < size; ++i)
                nonZero[i] = char(i % 255 + 1);
            for (const QByteArray& payload : {QByteArray(size, '\0'), nonZero})
                QTest::addRow("%d %s", size, payload[0] ? "non-zero" : "zeros")
                    << encoded(payload) << frameOf(1, payload) << "1";
        }
    }
    void receive() {
        QFETCH(QByteArray, item);
        QFETCH(QByteArray, frame);
        QFETCH(QString, verdict);
        std::vector<uint8_t> block(item.begin(), item.end()); // exactly the item's size, for a sanitizer build
        const uint32_t length = CobsDecode(block.data(), uint32_t(block.size()));
        QCOMPARE(length, frame.isEmpty() ? COBS_DECODE_EMPTY : uint32_t(frame.size()));
        QCOMPARE(frame.isEmpty() ? frame : bytes(block.data(), length), frame);
        QCOMPARE(verdictOn(block.data(), length), verdict);
        const bool accepted = verdict == "0" || verdict == "1";
        QCOMPARE(quietly([&] { return int(CobsRead(reinterpret_cast<uint8_t*>(item.data()), item.size())); }),
                 accepted ? frame.size() - int(COBS_FRAME_OVERHEAD) : 2);
    }

    void jsonToFrame_data() {
        QTest::addColumn<json>("request");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QString>("warning");
        QTest::newRow("Info: the 18-byte example") << json::array({"Info"}) << INFO_WIRE << QString();
        QTest::newRow("CBOR of 1025 bytes")
            << json::array({std::string(1021, 'a')}) << QByteArray() << "Request does not fit a frame: 1025";
        json deep = json::array();
        for (int i = 0; i < 2000; ++i)
            deep = json::array({std::move(deep)});
        QTest::newRow("nested too deep: refused before encoding")
            << deep << QByteArray() << "Request does not fit a frame";
    }
    void jsonToFrame() {
        QFETCH(json, request);
        QFETCH(QByteArray, wire);
        QFETCH(QString, warning);
        LogCapture_t log;
        const QByteArray frame = [&] {
            StdoutCapture_t quiet;
            return ::jsonToFrame(request);
        }();
        QCOMPARE(frame, wire);
        QCOMPARE(log.texts(QtWarningMsg), warning.isEmpty() ? QStringList() : QStringList{warning});
    }

    // What a received item decodes to, and how it is classified.
    void frameToJson_data() {
        const json three = json::parse(R"({"a":1,"b":2,"c":3})");
        const json largest = json::array({std::string(1020, 'a')}); // 1 + 3 + 1020 bytes of CBOR
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<json>("value");
        QTest::addColumn<int>("kind"); // -1: none
        const auto add = [](const char* name, const json& value, int tag) {
            QTest::newRow(name) << quietly([&] { return ::jsonToFrame(value); }) << value << tag;
        };
        add("Info", json::array({"Info"}), int(ReplyKindE::DATA));
        add("a record", json::array({"TankConfig", RECORD, three}), int(ReplyKindE::DATA));
        add("Installation", json::array({"Installation"}), int(ReplyKindE::MEASUREMENT));
        add("ok", json::array({"ok"}), int(ReplyKindE::OK));
        add("error", json::array({"error"}), int(ReplyKindE::ERROR));
        add("unknown name", json::array({"info"}), -1);
        add("1024 bytes of CBOR: the most a frame carries", largest, -1);
        QTest::newRow("payload crc mismatch") << QByteArray(INFO_WIRE).replace(15, 1, "\x21") << json() << -1;
        QTest::newRow("header rejected") << INFO_WIRE.left(10) + '\0' << json() << -1;
        QTest::newRow("strict: a byte after the item") << encoded(hex("81 64 49 6E 66 6F 00")) << json() << -1;
        QTest::newRow("truncated CBOR") << encoded(hex("82 64 49 6E")) << json() << -1;
        QTest::newRow("tag refused") << encoded(hex("C1 01")) << json() << -1;
        QTest::newRow("huge array length does not throw") << encoded(hex("9B 80 00 00 00 00 00 00 00")) << json() << -1;
        QTest::newRow("payload of 1025 bytes") << encoded(hex("81 79 03 FD") + QByteArray(1021, 'a')) << json() << -1;
    }
    void frameToJson() {
        QFETCH(QByteArray, item);
        QFETCH(json, value);
        QFETCH(int, kind);
        QCOMPARE(quietly([&] { return ::frameToJson(item); }), value);
        const std::optional<ReplyKindE> got = quietly([&] { return replyKind(value); });
        QCOMPARE(got ? int(*got) : -1, kind);
    }

    // The lenient parsers of replies (status 0 once an object is read; integers neither thrown on, wrapped nor cut
    // silently) and the strict readers of stored objects (refusing at the first bad key).
    void decoders_data() {
        QTest::addColumn<Decode_t>("decode");
        QTest::addColumn<json>("in");
        QTest::addColumn<int>("status");
        QTest::addColumn<json>("out");
        QTest::addColumn<QString>("fault"); // where a strict reader refused
        const auto j = [](const char* text) { return json::parse(text); };
        const auto both = [](const json& v) { return json::array({"Calibration", {{"Empty", v}, {"Full", v}}}); };
        const auto read = [](int value) { return json{{"Empty", value}, {"Full", value}}; };
        const json info = j(R"({"Name":"V","HWVer":"1","FWVer":"2"})");
        const json measured = j(R"({"RawTOF":12,"mm":5})");
        const Decode_t measurement = parser(parseInstallation, installationToJson);
        const Decode_t calibration = parser(parseCalibration, calibrationToJson);
        const Decode_t omnicomm = parser(parseOmnicommConfig, omnicommToJson);
        const Decode_t strictRecord = reader(recordFromJson, recordToJson);
        QTest::newRow("tank record") << parser(parseTankConfigRecord, recordToJson)
                                     << json::array({"TankConfig", RECORD}) << 0 << RECORD << "";
        QTest::newRow("Installation") << measurement << json::array({"Installation", measured}) << 0 << measured << "";
        QTest::newRow("Installation of 3 members: none")
            << measurement << json::array({"Installation", patched(measured, {{"x", 3}})}) << -1
            << j(R"({"RawTOF":0,"mm":0})") << "";
        QTest::newRow("OmnicommConfig") << omnicomm << json::array({"OmnicommConfig", OMNICOMM}) << 0 << OMNICOMM << "";
        QTest::newRow("wrong types leave the defaults")
            << omnicomm << j(R"(["OmnicommConfig", {"Address":"10","TxMode":1,"Units":5}])") << 0
            << j(R"({"Address":0,"TxMode":false,"TxPeriodSec":0,"Units":""})") << "";
        QTest::newRow("name only: none") << calibration << j(R"(["Calibration"])") << -1 << read(0) << "";
        QTest::newRow("largest int, unsigned as CBOR has it")
            << calibration << both(std::uint64_t(2147483647)) << 0 << read(2147483647) << "";
        QTest::newRow("the least int") << calibration << both(json::number_integer_t(INT32_MIN)) << 0 << read(INT32_MIN)
                                       << "";
        QTest::newRow("a float half below the least int cuts to it")
            << calibration << both(-2147483648.5) << 0 << read(INT32_MIN) << "";
        QTest::newRow("2^31 does not wrap") << calibration << both(std::uint64_t(1) << 31) << 0 << read(0) << "";
        QTest::newRow("float cut toward zero") << calibration << both(-12.9) << 0 << read(-12) << "";
        QTest::newRow("NaN") << calibration << both(std::nan("")) << 0 << read(0) << "";
        QTest::newRow("true") << calibration << both(true) << 0 << read(1) << "";
        QTest::newRow("strict: info") << reader(infoFromJson, infoToJson) << info << 0 << info << "";
        QTest::newRow("strict: record 0") << strictRecord << RECORD << 0 << RECORD << "";
        QTest::newRow("strict: omnicomm")
            << reader(omnicommFromJson, omnicommToJson) << OMNICOMM << 0 << OMNICOMM << "";
        QTest::newRow("not an object") << strictRecord << json::array({RECORD}) << -1 << json() << ": wrong type";
        QTest::newRow("missing") << strictRecord << patched(RECORD, {{"Wall", nullptr}}) << -1 << json()
                                 << "Wall: missing";
        QTest::newRow("record id 3") << strictRecord << patched(RECORD, {{"id", 3}}) << -1 << json()
                                     << "id: out of range";
        // A sensor may hold what the tool would never write.
        const json odd = patched(RECORD, {{"Wall", 0}, {"OuterDiameter", 0}, {"Shape", "Spherical"}, {"Height", 601}});
        QTest::newRow("wall and diameter 0, unknown shape, height other than length")
            << strictRecord << odd << 0 << odd << "";
        QTest::newRow("tank configuration naming a fourth record")
            << reader(tankConfigFromJson, tankConfigToJson) << j(R"({"Mixture":70,"Liquid":"Butane","Active":3})") << -1
            << json() << "Active: out of range";
        QTest::newRow("wall beyond a dimension")
            << strictRecord << patched(RECORD, {{"Wall", 4096}}) << -1 << json() << "Wall: out of range";
        QTest::newRow("beyond 64 bits signed")
            << reader(calibrationFromJson, calibrationToJson) << j(R"({"Empty":18446744073709551615,"Full":0})") << -1
            << json() << "Empty: out of range";
    }
    void decoders() {
        QFETCH(Decode_t, decode);
        QFETCH(json, in);
        QFETCH(int, status);
        QFETCH(json, out);
        QFETCH(QString, fault);
        int gotStatus = 1;
        WireFault_t gotFault{QStringLiteral("untouched"), WireFaultE::Missing};
        QCOMPARE(quietly([&] { return decode(in, gotStatus, gotFault); }), out);
        QCOMPARE(gotStatus, status);
        QCOMPARE(fault.isEmpty() ? gotFault.key : describe(gotFault), fault.isEmpty() ? "untouched" : fault);
    }

    void parseTankText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("read"); // outer, length, complete
        QTest::newRow("catalogue text") << QByteArray("630x250 60L") << QList<int>{630, 250, 1};
        QTest::newRow("smallest") << QByteArray("1x1") << QList<int>{1, 1, 1};
        QTest::newRow("outer not a number") << QByteArray("abcx12") << QList<int>{0, 12, 0};
        QTest::newRow("no separator") << QByteArray("600") << QList<int>{600, 0, 0};
        QTest::newRow("separator first: the length still read") << QByteArray("x250") << QList<int>{0, 250, 0};
        QTest::newRow("a blank right after the separator ends the length")
            << QByteArray("630x 250") << QList<int>{630, 0, 0};
    }
    void parseTankText() {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, read);
        int outer = -1;
        int length = -1;
        const bool complete = ::parseTankText(text, outer, length);
        QCOMPARE((QList<int>{outer, length, complete}), read);
    }

    void nominalLitres_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("litres"); // 0: none
        QTest::newRow("catalogue text") << QByteArray("630x250 60L") << 60;
        QTest::newRow("no litres mark") << QByteArray("630x250 60") << 0;
        QTest::newRow("no litres at all") << QByteArray("630x250") << 0;
        QTest::newRow("not a positive number") << QByteArray("630x250 -5L") << 0;
        QTest::newRow("nothing before the blank") << QByteArray(" 42L") << 42;
    }
    void nominalLitres() {
        QFETCH(QByteArray, text);
        QFETCH(int, litres);
        QCOMPARE(::nominalLitres(text).value_or(0), litres);
    }

    void findEntry_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<int>("position"); // -1: not found
        // Records 0 and 1 vertical "300x640", 1 active, custom toroid 2; 13 toroids from 3, 4 solid, 8 horizontal and
        // 8 vertical cylinders.
        QTest::newRow("the active one of two equal records") << QByteArray("300x640") << VERTICAL << 1;
        QTest::newRow("custom record 2 never") << QByteArray("630x250") << TOROID << -1;
        QTest::newRow("standard toroid") << QByteArray("630x250 60L") << TOROID << 7;
        QTest::newRow("horizontal cylinder") << QByteArray("300x640 40L") << HORIZONTAL << 20;
        QTest::newRow("wrong kind") << QByteArray("600x200 42L") << SOLID << -1;
        QTest::newRow("the whole text, not a prefix") << QByteArray("600x200") << TOROID << -1;
    }
    void findEntry() {
        QFETCH(QByteArray, text);
        QFETCH(TankKindE, kind);
        QFETCH(int, position);
        const TankList_t list = readList(record(1, VERTICAL, 300, 640), record(2, TOROID, 630, 250, 172), 1);
        TankListEntry entry;
        int at = -1;
        QCOMPARE(::findEntry(list, text, kind, entry, at), position >= 0);
        QCOMPARE(at, std::max(position, 0));
        QCOMPARE(entry.text, position >= 0 ? text : QByteArray());
    }

    void matchStandardTank_data() {
        QTest::addColumn<TankConfigRecord_t>("custom");
        QTest::addColumn<int>("position"); // of the matching catalogue tank; -1: none, nothing changes
        QTest::newRow("toroid with inner 172") << record(2, TOROID, 600, 200, 172) << 3;
        QTest::newRow("another inner stays custom") << record(2, TOROID, 600, 200, 150) << -1;
        QTest::newRow("600x20 is not 600x200 42L") << record(2, TOROID, 600, 20, 172) << -1;
        QTest::newRow("solid") << record(2, SOLID, 720, 200) << 16;
        QTest::newRow("vertical, not the horizontal") << record(2, VERTICAL, 300, 1000) << 31;
        QTest::newRow("the catalogue's, not record 1") << record(2, TOROID, 650, 250, 172) << 11;
    }
    void matchStandardTank() {
        QFETCH(TankConfigRecord_t, custom);
        QFETCH(int, position);
        TankList_t list = readList(TOROID_1, custom, 2);
        QStringList expected = described(list);
        QVERIFY(!::matchStandardTank(list, list.size(), custom.InnerDiameter));
        QCOMPARE(::matchStandardTank(list, 2, custom.InnerDiameter), position >= 0);
        if (position >= 0) {
            expected[2] = QString::fromUtf8(list[std::size_t(position)].text) + " custom";
            expected[position] += " selected";
        }
        QCOMPARE(described(list), expected);
        TankListEntry selected;
        QVERIFY(selectedEntry(list, selected));
        QCOMPARE(selected.text, list[std::size_t(position >= 0 ? position : 2)].text);
    }

    void dimensionRanges_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<TankConfigRecord_t>("sensor"); // the sensor's one record
        QTest::addColumn<QList<int>>("ranges");         // heightMax, outerMax
        QTest::newRow("horizontal: outer up to 500")
            << HORIZONTAL << record(2, HORIZONTAL, 356, 920) << QList<int>{1045, 500};
        QTest::newRow("the record widens both")
            << HORIZONTAL << record(2, HORIZONTAL, 600, 2000) << QList<int>{2000, 600};
        QTest::newRow("up to 4095") << SOLID << record(2, SOLID, 720, 5000) << QList<int>{4095, 4095};
    }
    void dimensionRanges() {
        QFETCH(TankKindE, kind);
        QFETCH(TankConfigRecord_t, sensor);
        QFETCH(QList<int>, ranges);
        TankList_t list{entryFromRecord(sensor, true)};
        fillStandardTanks(list);
        const DimensionRanges_t got = ::dimensionRanges(list, kind);
        QCOMPARE((QList<int>{got.heightMax, got.outerMax}), ranges);
    }

    void tankComboItems_data() {
        QTest::addColumn<TankList_t>("list");
        QTest::addColumn<std::optional<TankKindE>>("shown");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("current");
        TankList_t standard;
        fillStandardTanks(standard);
        const std::optional<TankKindE> vertical = VERTICAL;
        const TankConfigRecord_t vertical1 = record(1, VERTICAL, 300, 780);
        const TankConfigRecord_t custom = record(2, VERTICAL, 300, 900);
        const QStringList verticals = QStringList{"300x640", "300x780"} + STANDARD_CYLINDERS;
        QTest::newRow("none selected: the first") << standard << std::make_optional(SOLID) << STANDARD_SOLIDS << 0;
        QTest::newRow("selected custom: the last item so far")
            << readList(vertical1, custom, 2) << vertical << verticals << 1;
        QTest::newRow("unselected custom: no move") << readList(vertical1, custom, 0) << vertical << verticals << 0;
        QTest::newRow("no shown kind: no items") << standard << std::optional<TankKindE>() << QStringList() << -1;
    }
    void tankComboItems() {
        QFETCH(TankList_t, list);
        QFETCH(std::optional<TankKindE>, shown);
        QFETCH(QStringList, texts);
        QFETCH(int, current);
        const TankComboItems_t items = ::tankComboItems(list, shown);
        QCOMPARE(items.texts, texts);
        QCOMPARE(items.currentIndex, current);
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "test_protocol.moc"
