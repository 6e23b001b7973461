// JSON command protocol: request texts and their wire bytes, frame decoding, reply classification and the parsers,
// including the pitfalls of the JSON library (throwing conversions, huge CBOR lengths, tags, invalid UTF-8).

#include "logcapture.h"
#include "lumo_cobs.h"
#include "requests.h"
#include "responses.h"
#include "stdoutcapture.h"
#include "wireframe.h"

#include <QtTest>
#include <cmath>
#include <cstring>
#include <vector>

using nlohmann::json;

Q_DECLARE_METATYPE(json)

namespace nlohmann {
// Readable failures. Device data may hold invalid UTF-8, which a plain dump() throws on.
char* toString(const json& value) {
    return QTest::toString(QString::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace)));
}
} // namespace nlohmann

namespace {
QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The wire bytes of a frame carrying any payload bytes, valid CBOR or not.
QByteArray wireOf(const QByteArray& payload) {
    std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
    std::memcpy(area.data() + COBS_HEADER_SIZE, payload.constData(), payload.size());
    std::vector<uint8_t> out(COBS_ENCODED_MAX(uint32_t(payload.size())));
    StdoutCapture_t quiet;
    const uint32_t n = CobsEncode(area.data() + COBS_HEADER_SIZE, uint16_t(payload.size()), out.data());
    return QByteArray(reinterpret_cast<const char*>(out.data()), int(n));
}

QByteArray wireOf(const json& value) {
    const std::vector<std::uint8_t> cbor = json::to_cbor(value);
    return wireOf(QByteArray(reinterpret_cast<const char*>(cbor.data()), int(cbor.size())));
}

json nestedArrays(int depth) {
    json value;
    for (int i = 0; i < depth; ++i)
        value = json::array({value});
    return value;
}

// The payload CRC's high byte is the last frame byte, so changing it leaves the header valid.
QByteArray withBadPayloadCrc(QByteArray wire) {
    const int last = wire.size() - 2;
    wire[last] = char(wire[last] ^ (wire[last] == '\x01' ? 0x02 : 0x01));
    return wire;
}

// The payload a frame carries, through the codec's own checks.
QByteArray payloadOf(const QByteArray& wire) {
    QByteArray item = wire;
    auto* bytes = reinterpret_cast<uint8_t*>(item.data());
    StdoutCapture_t quiet;
    if (CobsCheckHeader(bytes, CobsDecode(bytes, uint32_t(item.size()))) == 2)
        return QByteArray();
    const uint8_t* payload = nullptr;
    const uint16_t length = CobsCheckPayload(bytes, &payload);
    return QByteArray(reinterpret_cast<const char*>(payload), length);
}

// Runs f with the codec's printing and the message log captured; returns the debug lines.
template <typename F>
QStringList debugLines(F&& f) {
    LogCapture_t log;
    StdoutCapture_t quiet;
    f();
    return log.texts(QtDebugMsg);
}

const QByteArray INFO_WIRE = hex("04 08 02 01 02 06 0B D3 95 81 64 49 6E 66 6F 1E 20 00");

const json TANK_RECORD_REPLY = json::array({"TankConfig",
                                            {{"id", 1},
                                             {"Shape", "Toroidal"},
                                             {"Orientation", "Horizontal"},
                                             {"Height", 600},
                                             {"Length", 650},
                                             {"OuterDiameter", 630},
                                             {"InnerDiameter", 172},
                                             {"Wall", 3}}});

enum class ParserE { Info, TankConfig, TankConfigRecord, Installation, OmnicommConfig, Calibration };

int statusOf(ParserE parser, const json& value) {
    int status = 1;
    switch (parser) {
    case ParserE::Info:
        parseInfo(value, status);
        break;
    case ParserE::TankConfig:
        parseTankConfig(value, status);
        break;
    case ParserE::TankConfigRecord:
        parseTankConfigRecord(value, status);
        break;
    case ParserE::Installation:
        parseInstallation(value, status);
        break;
    case ParserE::OmnicommConfig:
        parseOmnicommConfig(value, status);
        break;
    case ParserE::Calibration:
        parseCalibration(value, status);
        break;
    }
    return status;
}
} // namespace

Q_DECLARE_METATYPE(ParserE)

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void builders_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("tank record 0") << reqTankRecord(0) << QByteArray(R"(["TankConfig", {"id":0}])");
        QTest::newRow("negative id as is") << reqTankRecord(-1) << QByteArray(R"(["TankConfig", {"id":-1}])");
        QTest::newRow("active record 2") << reqActiveRecord(2) << QByteArray(R"(["TankConfig", {"Active":2}])");
        QTest::newRow("tank config") << reqWriteTankConfig("Butane", 70, 0)
                                     << QByteArray(
                                            R"(["TankConfig", {"Qty":3,"Mixture":70,"Liquid":"Butane","Active":0}])");
        QTest::newRow("liquid text with a placeholder stays verbatim")
            << reqWriteTankConfig("%2", 5, 1)
            << QByteArray(R"(["TankConfig", {"Qty":3,"Mixture":5,"Liquid":"%2","Active":1}])");
        QTest::newRow("tank record write, size in Height and Length")
            << reqWriteTankRecord("Cylindric", "Horizontal", 640, 300, 0, 3)
            << QByteArray(R"(["TankConfig", {"id":2,"Shape":"Cylindric","Orientation":"Horizontal","Height":640,)"
                          R"("Length":640,"OuterDiameter":300,"InnerDiameter":0,"Wall":3}])");
        QTest::newRow("toroid record write")
            << reqWriteTankRecord("Toroidal", "Horizontal", 1000, 600, 172, 15)
            << QByteArray(R"(["TankConfig", {"id":2,"Shape":"Toroidal","Orientation":"Horizontal","Height":1000,)"
                          R"("Length":1000,"OuterDiameter":600,"InnerDiameter":172,"Wall":15}])");
        QTest::newRow("installation off") << reqInstallation(0) << QByteArray(R"(["Installation", {"on":0}])");
        QTest::newRow("installation on") << reqInstallation(1) << QByteArray(R"(["Installation", {"on":1}])");
        QTest::newRow("omnicomm, periodic off")
            << reqWriteOmnicommConfig(10, false, "mm", 0)
            << QByteArray(R"(["OmnicommConfig", {"Address":10, "TxMode":false, "TxPeriodSec":0, "Units":"mm"}])");
        QTest::newRow("omnicomm, periodic on")
            << reqWriteOmnicommConfig(254, true, "litres", 30)
            << QByteArray(R"(["OmnicommConfig", {"Address":254, "TxMode":true, "TxPeriodSec":30, "Units":"litres"}])");
        QTest::newRow("calibrate empty") << reqCalibrate(0) << QByteArray(R"(["Calibration", {"Percent":0}])");
        QTest::newRow("calibrate full") << reqCalibrate(100) << QByteArray(R"(["Calibration", {"Percent":100}])");
        QTest::newRow("calibration read") << reqCalibrationRead() << QByteArray(R"(["Calibration"])");
        QTest::newRow("calibration reset")
            << reqCalibrationReset() << QByteArray(R"(["Calibration", {"Reset": true}])");
    }
    void builders() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, text);
        QCOMPARE(request, text);
    }

    void responseNameOf_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("name");
        QTest::newRow("Info") << Cmd::INFO << "Info";
        QTest::newRow("TankConfig") << Cmd::TANK_CONFIG << "TankConfig";
        QTest::newRow("Installation") << Cmd::INSTALLATION << "Installation";
        QTest::newRow("OmnicommConfig") << Cmd::OMNICOMM_CONFIG << "OmnicommConfig";
        QTest::newRow("Calibration") << Cmd::CALIBRATION << "Calibration";
    }
    void responseNameOf() {
        QFETCH(QByteArray, request);
        QFETCH(QString, name);
        QCOMPARE(::responseNameOf(request), name);
    }

    // Blanks of the texts never reach the wire; map keys go out in byte order whatever the text's order.
    void requestToFrame_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("Info") << Cmd::INFO << hex("81 64 49 6E 66 6F");
        QTest::newRow("tank record write: keys sorted, upper case first")
            << reqWriteTankRecord("Cylindric", "Horizontal", 640, 300, 0, 3)
            << hex("82 6A 54 61 6E 6B 43 6F 6E 66 69 67 A8 66 48 65 69 67 68 74 19 02 80 6D 49 6E 6E 65 72 44 69 61 6D"
                   " 65 74 65 72 00 66 4C 65 6E 67 74 68 19 02 80 6B 4F 72 69 65 6E 74 61 74 69 6F 6E 6A 48 6F 72 69 7A"
                   " 6F 6E 74 61 6C 6D 4F 75 74 65 72 44 69 61 6D 65 74 65 72 19 01 2C 65 53 68 61 70 65 69 43 79 6C 69"
                   " 6E 64 72 69 63 64 57 61 6C 6C 03 62 69 64 02");
        QTest::newRow("calibration reset: simple value true")
            << reqCalibrationReset() << hex("82 6B 43 61 6C 69 62 72 61 74 69 6F 6E A1 65 52 65 73 65 74 F5");
        QTest::newRow("omnicomm: simple value false")
            << reqWriteOmnicommConfig(10, false, "mm", 0)
            << hex("82 6E 4F 6D 6E 69 63 6F 6D 6D 43 6F 6E 66 69 67 A4 67 41 64 64 72 65 73 73 0A 66 54 78 4D 6F 64 65"
                   " F4 6B 54 78 50 65 72 69 6F 64 53 65 63 00 65 55 6E 69 74 73 62 6D 6D");
        QTest::newRow("bytes after a zero byte ignored")
            << Cmd::INFO + QByteArray("\0garbage", 8) << hex("81 64 49 6E 66 6F");
    }
    void requestToFrame() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, payload);
        QByteArray frame;
        const QStringList lines = debugLines([&] { frame = ::requestToFrame(request); });
        QCOMPARE(payloadOf(frame), payload);
        QCOMPARE(frame.indexOf('\0'), frame.size() - 1);
        QVERIFY(lines.isEmpty());
    }

    void requestToFrame_infoIsTheEighteenByteFrame() { QCOMPARE(::requestToFrame(Cmd::INFO), INFO_WIRE); }

    void requestToFrame_rejected_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("warning");
        QTest::newRow("empty") << QByteArray() << "Request is not JSON:";
        QTest::newRow("closing bracket missing") << QByteArray(R"(["Info")") << "Request is not JSON:";
        QTest::newRow("quote inside a text argument")
            << reqWriteTankConfig("Bu\"tane", 70, 0) << "Request is not JSON:";
        QTest::newRow("CBOR of 1025 bytes") << "[\"" + QByteArray(1021, 'a') + "\"]"
                                            << "Request does not fit a frame:";
        QTest::newRow("nested 100000 deep")
            << QByteArray(100000, '[') + QByteArray(100000, ']') << "Request does not fit a frame";
    }
    void requestToFrame_rejected() {
        QFETCH(QByteArray, request);
        QFETCH(QString, warning);
        LogCapture_t log;
        QByteArray frame("not touched");
        {
            StdoutCapture_t quiet;
            frame = ::requestToFrame(request);
        }
        QVERIFY(frame.isEmpty());
        const QStringList warnings = log.texts(QtWarningMsg);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().startsWith(warning), qPrintable(warnings.first()));
    }

    void requestToFrame_cborOf1024Bytes_fitsAndDecodesBack() {
        // 0x81, then a text head of 3 bytes and 1020 bytes of text: 1024 bytes of CBOR.
        const QByteArray request = "[\"" + QByteArray(1020, 'a') + "\"]";
        const QByteArray frame = ::requestToFrame(request);
        QCOMPARE(payloadOf(frame).size(), MAX_PAYLOAD_SIZE);
        StdoutCapture_t quiet;
        QCOMPARE(::frameToJson(frame), json::parse(request.toStdString()));
    }

    void frameToJson_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<json>("value");
        QTest::newRow("Info example") << INFO_WIRE << json::array({"Info"});
        QTest::newRow("tank record reply") << wireOf(TANK_RECORD_REPLY) << TANK_RECORD_REPLY;
        QTest::newRow("indefinite-length array") << wireOf(hex("9F 64 49 6E 66 6F FF")) << json::array({"Info"});
        QTest::newRow("invalid UTF-8 text is kept as bytes")
            << wireOf(hex("81 62 FF FE")) << json::array({std::string("\xFF\xFE")});
        QTest::newRow("1023 levels of nesting") << wireOf(QByteArray(1023, '\x81') + '\xF6') << nestedArrays(1023);
        QTest::newRow("payload crc mismatch") << withBadPayloadCrc(INFO_WIRE) << json();
        QTest::newRow("header rejected: truncated") << INFO_WIRE.left(10) + '\0' << json();
        QTest::newRow("empty item") << QByteArray() << json();
        QTest::newRow("lone delimiter") << hex("00") << json();
        QTest::newRow("strict: a byte after the item") << wireOf(hex("81 64 49 6E 66 6F 00")) << json();
        QTest::newRow("truncated item") << wireOf(hex("82 64 49 6E")) << json();
        QTest::newRow("tag 0 refused") << wireOf(hex("C0 60")) << json();
        QTest::newRow("tag 1 refused") << wireOf(hex("C1 01")) << json();
        QTest::newRow("tag 5 refused") << wireOf(hex("C5 82 01 02")) << json();
        QTest::newRow("tag 6 refused") << wireOf(hex("C6 01")) << json();
        QTest::newRow("tag 24 refused") << wireOf(hex("D8 18 41 00")) << json();
        QTest::newRow("huge array length does not throw") << wireOf(hex("9B 80 00 00 00 00 00 00 00")) << json();
        QTest::newRow("huge map length does not throw") << wireOf(hex("BB 80 00 00 00 00 00 00 00")) << json();
        QTest::newRow("array length past the payload") << wireOf(hex("9A FF FF FF FF 01")) << json();
        QTest::newRow("payload of 1025 bytes refused")
            << wireOf(hex("81 79 03 FC") + QByteArray(1020, 'a') + 'b') << json();
    }
    void frameToJson() {
        QFETCH(QByteArray, item);
        QFETCH(json, value);
        json decoded;
        {
            StdoutCapture_t quiet;
            LogCapture_t log;
            decoded = ::frameToJson(item);
        }
        QCOMPARE(decoded, value);
    }

    void frameToJson_callerBytesUntouched() {
        QByteArray item(INFO_WIRE.constData(), INFO_WIRE.size());
        StdoutCapture_t quiet;
        QCOMPARE(::frameToJson(item), json::array({"Info"}));
        QCOMPARE(item, INFO_WIRE);
    }

    void responseName_data() {
        QTest::addColumn<json>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("name first") << json::array({"Info", json::object()}) << "Info";
        QTest::newRow("first string element names it") << json::parse(R"([{"Name":"x"}, 5, "Info", "ok"])") << "Info";
        QTest::newRow("no string") << json::parse(R"([1, {"a":"ok"}])") << "";
        QTest::newRow("null") << json() << "";
        QTest::newRow("a bare string is not a reply") << json("Info") << "";
        QTest::newRow("invalid UTF-8 replaced") << json::array({std::string("ok\xFF")}) << QString("ok\uFFFD");
    }
    void responseName() {
        QFETCH(json, value);
        QFETCH(QString, name);
        QCOMPARE(::responseName(value), name);
    }

    void dispatchFrame_data() {
        const json eight = json::parse(R"({"a":1,"b":2,"c":3,"d":4,"e":5,"f":6,"g":7,"h":8})");
        const json four = json::parse(R"({"Qty":3,"Mixture":70,"Liquid":"Mix","Active":2})");
        const json three = json::parse(R"({"a":1,"b":2,"c":3})");
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("tag"); // -1: none
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Info") << wireOf(json::parse(R"(["Info", {"Name":"V","HWVer":"1","FWVer":"2"}])"))
                              << int(SerialDataTypeE::INFO) << QStringList{"string", "cmd rx:  \"Info\""};
        QTest::newRow("TankConfig with a record")
            << wireOf(TANK_RECORD_REPLY) << int(SerialDataTypeE::TANK_RECORD)
            << QStringList{"string", "cmd rx:  \"TankConfig\"", "Cmd Name:  \"TankConfig\"", "Obj size:  8", "record"};
        QTest::newRow("any 8 members are a record")
            << wireOf(json::array({"TankConfig", eight})) << int(SerialDataTypeE::TANK_RECORD) << QStringList{"record"};
        QTest::newRow("4 members: tank config")
            << wireOf(json::array({"TankConfig", four})) << int(SerialDataTypeE::TANK_CONFIG)
            << QStringList{"Obj size:  4", "tank config"};
        QTest::newRow("no object: tank config")
            << wireOf(json::array({"TankConfig"})) << int(SerialDataTypeE::TANK_CONFIG) << QStringList{"tank config"};
        QTest::newRow("the last object decides: config")
            << wireOf(json::array({"TankConfig", eight, three})) << int(SerialDataTypeE::TANK_CONFIG)
            << QStringList{"Obj size:  8", "Obj size:  3", "tank config"};
        QTest::newRow("the last object decides: record")
            << wireOf(json::array({"TankConfig", three, eight})) << int(SerialDataTypeE::TANK_RECORD)
            << QStringList{"Obj size:  3", "Obj size:  8", "record"};
        QTest::newRow("Installation") << wireOf(json::parse(R"(["Installation", {"RawTOF":5,"mm":6}])"))
                                      << int(SerialDataTypeE::MEASUREMENT) << QStringList{"cmd rx:  \"Installation\""};
        QTest::newRow("Installation with 3 members still a measurement")
            << wireOf(json::array({"Installation", three})) << int(SerialDataTypeE::MEASUREMENT) << QStringList{};
        QTest::newRow("OmnicommConfig shares OK")
            << wireOf(json::parse(R"(["OmnicommConfig", {"Address":10}])")) << int(SerialDataTypeE::OK)
            << QStringList{"cmd rx:  \"OmnicommConfig\""};
        QTest::newRow("Calibration shares OK") << wireOf(json::parse(R"(["Calibration", {"Empty":1,"Full":2}])"))
                                               << int(SerialDataTypeE::OK) << QStringList{};
        QTest::newRow("ok") << wireOf(json::array({"ok"})) << int(SerialDataTypeE::OK) << QStringList{};
        QTest::newRow("error with data") << wireOf(json::parse(R"(["error", {"code":3}])"))
                                         << int(SerialDataTypeE::ERROR) << QStringList{};
        QTest::newRow("name after an object")
            << wireOf(json::parse(R"([{"Name":"x"}, "Info"])")) << int(SerialDataTypeE::INFO)
            << QStringList{"object", "string", "cmd rx:  \"Info\""};
        QTest::newRow("invalid UTF-8 in the data")
            << wireOf(json::array({"Info", {{"Name", "\xFF\xFE"}}})) << int(SerialDataTypeE::INFO) << QStringList{};
        QTest::newRow("unknown name") << wireOf(json::array({"Hello"})) << -1
                                      << QStringList{"Unparsed command: \"Hello\""};
        QTest::newRow("names are case-sensitive") << wireOf(json::array({"info"})) << -1 << QStringList{};
        QTest::newRow("invalid UTF-8 name") << wireOf(json::array({"In\xFF"
                                                                   "fo"}))
                                            << -1 << QStringList{};
        QTest::newRow("not an array") << wireOf(json("Info")) << -1 << QStringList{"Unparsed command: \"\""};
        QTest::newRow("payload crc mismatch")
            << withBadPayloadCrc(INFO_WIRE) << -1 << QStringList{"cmd rx:  \"\"", "Unparsed command: \"\""};
        QTest::newRow("CBOR tag") << wireOf(hex("82 C1 01 62 6F 6B")) << -1 << QStringList{"Unparsed command: \"\""};
    }
    void dispatchFrame() {
        QFETCH(QByteArray, item);
        QFETCH(int, tag);
        QFETCH(QStringList, lines);
        std::optional<SerialDataTypeE> result;
        const QStringList logged = debugLines([&] { result = ::dispatchFrame(item); });
        QCOMPARE(result.has_value() ? int(*result) : -1, tag);
        int from = 0;
        for (const QString& line : lines) {
            from = logged.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable("missing in order: " + line + "\nlogged: " + logged.join(" | ")));
            ++from;
        }
    }

    void parseInfo_readsReplyAndLogs() {
        int status = 1;
        DeviceInfo_t info;
        const QStringList lines = debugLines([&] {
            info = parseInfo(json::parse(R"(["Info", {"Name":"Velmaro","HWVer":"HW-7","FWVer":"2.0.4"}])"), status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(info.Name, QString("Velmaro"));
        QCOMPARE(info.HWVer, QString("HW-7"));
        QCOMPARE(info.FWVer, QString("2.0.4"));
        QCOMPARE(lines, (QStringList{"[Info] parsing", "Cmd Name:  \"Info\"",
                                     "Name:  \"Velmaro\"  HWVer:  \"HW-7\"  FWVer:  \"2.0.4\""}));
    }

    void parseTankConfig_readsReply() {
        int status = 1;
        TankConfig_t config;
        const QStringList lines = debugLines([&] {
            config =
                parseTankConfig(json::parse(R"(["TankConfig", {"Mixture":70,"Liquid":"Mix","Active":2}])"), status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(config.Mixture, 70);
        QCOMPARE(config.Liquid, QString("Mix"));
        QCOMPARE(config.Active, 2);
        QVERIFY(lines.contains("Active:  2  Mixture:  70  Liquid:  \"Mix\""));
    }

    void parseTankConfigRecord_readsReplyThroughTheWire() {
        int status = 1;
        TankConfigRecord_t r;
        QStringList lines;
        {
            StdoutCapture_t quiet;
            const json value = ::frameToJson(wireOf(TANK_RECORD_REPLY));
            lines = debugLines([&] { r = parseTankConfigRecord(value, status); });
        }
        QCOMPARE(status, 0);
        QCOMPARE(r.id, 1);
        QCOMPARE(r.Shape, QString("Toroidal"));
        QCOMPARE(r.Orientation, QString("Horizontal"));
        QCOMPARE(r.Height, 600);
        QCOMPARE(r.Length, 650);
        QCOMPARE(r.OuterDiameter, 630);
        QCOMPARE(r.InnerDiameter, 172);
        QCOMPARE(r.Wall, 3);
        QCOMPARE(lines, (QStringList{"[TankConfigRecord] parsing", "Cmd Name:  \"TankConfig\"", "id:  1",
                                     "Height:  600", "Shape:  \"Toroidal\"  Orientation:  \"Horizontal\"",
                                     "Length:  650", "OuterDiameter:  630", "InnerDiameter:  172", "Wall:  3"}));
    }

    void parseInstallation_data() {
        QTest::addColumn<json>("value");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rawTof");
        QTest::addColumn<int>("mm");
        QTest::newRow("two members") << json::parse(R"(["Installation", {"RawTOF":1234,"mm":560}])") << 0 << 1234
                                     << 560;
        QTest::newRow("three members: nothing read")
            << json::parse(R"(["Installation", {"RawTOF":1234,"mm":560,"x":0}])") << -1 << 0 << 0;
        QTest::newRow("one member: nothing read") << json::parse(R"(["Installation", {"RawTOF":1}])") << -1 << 0 << 0;
        QTest::newRow("two other members: defaults, still read")
            << json::parse(R"(["Installation", {"a":1,"b":2}])") << 0 << 0 << 0;
        QTest::newRow("a later 3-member object does not overwrite")
            << json::parse(R"(["Installation", {"RawTOF":7,"mm":8}, {"RawTOF":9,"mm":9,"x":9}])") << 0 << 7 << 8;
    }
    void parseInstallation() {
        QFETCH(json, value);
        QFETCH(int, status);
        QFETCH(int, rawTof);
        QFETCH(int, mm);
        int got = 1;
        Installation_t m;
        debugLines([&] { m = ::parseInstallation(value, got); });
        QCOMPARE(got, status);
        QCOMPARE(m.RawTOF, rawTof);
        QCOMPARE(m.mm, mm);
    }

    void parseOmnicommConfig_readsReplyAndLogs() {
        int status = 1;
        OmnicommConfig_t c;
        const QStringList lines = debugLines([&] {
            c = parseOmnicommConfig(
                json::parse(R"(["OmnicommConfig", {"Address":10,"TxMode":true,"TxPeriodSec":5,"Units":"litres"}])"),
                status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(c.Address, 10);
        QCOMPARE(c.TxMode, true);
        QCOMPARE(c.TxPeriodSec, 5);
        QCOMPARE(c.Units, QString("litres"));
        QCOMPARE(lines, (QStringList{"[OmnicommConfig] parsing", "Cmd Name:  \"OmnicommConfig\"", "Address:  10",
                                     "TxMode:  true", "TxPeriodSec:  5", "Units:  \"litres\""}));
    }

    void parseCalibration_readsReply() {
        int status = 1;
        Calibration_t c;
        const QStringList lines = debugLines(
            [&] { c = parseCalibration(json::parse(R"(["Calibration", {"Empty":120,"Full":3400}])"), status); });
        QCOMPARE(status, 0);
        QCOMPARE(c.Empty, 120);
        QCOMPARE(c.Full, 3400);
        QCOMPARE(lines.mid(2), (QStringList{"Empty:  120", "Full:  3400"}));
    }

    void parsers_status_data() {
        QTest::addColumn<ParserE>("parser");
        QTest::addColumn<json>("value");
        QTest::addColumn<int>("status");
        const QList<QPair<ParserE, const char*>> parsers{{ParserE::Info, "Info"},
                                                         {ParserE::TankConfig, "TankConfig"},
                                                         {ParserE::TankConfigRecord, "TankConfigRecord"},
                                                         {ParserE::Installation, "Installation"},
                                                         {ParserE::OmnicommConfig, "OmnicommConfig"},
                                                         {ParserE::Calibration, "Calibration"}};
        for (const auto& [parser, name] : parsers) {
            const bool needsTwo = parser == ParserE::Installation;
            QTest::addRow("%s: empty object counts", name)
                << parser << json::array({name, json::object()}) << (needsTwo ? -1 : 0);
            QTest::addRow("%s: object of wrong types counts", name)
                << parser << json::parse(R"(["x", {"Name":1,"Mixture":"a","id":[],"RawTOF":{},"TxMode":3}])")
                << (needsTwo ? -1 : 0);
            QTest::addRow("%s: name only", name) << parser << json::array({name}) << -1;
            QTest::addRow("%s: null", name) << parser << json() << -1;
            QTest::addRow("%s: bare object is no reply", name) << parser << json::parse(R"({"RawTOF":1,"mm":2})") << -1;
            QTest::addRow("%s: scalars only", name) << parser << json::parse(R"([1, 2.5, null, true, [{}]])") << -1;
        }
    }
    void parsers_status() {
        QFETCH(ParserE, parser);
        QFETCH(json, value);
        QFETCH(int, status);
        int got = 1;
        debugLines([&] { got = statusOf(parser, value); });
        QCOMPARE(got, status);
    }

    // Integer fields: no throw, no wrap, no silent cut; floats cut toward zero, booleans 0/1.
    void parsers_integerField_data() {
        QTest::addColumn<json>("height");
        QTest::addColumn<int>("read");
        QTest::newRow("positive") << json(640) << 640;
        QTest::newRow("negative") << json(-5) << -5;
        QTest::newRow("largest") << json(2147483647) << 2147483647;
        QTest::newRow("smallest") << json(std::int64_t(-2147483648LL)) << int(-2147483647 - 1);
        QTest::newRow("2^31 does not wrap") << json(std::uint64_t(2147483648ULL)) << 0;
        QTest::newRow("2^32 + 5 is not cut to 5") << json(std::uint64_t(4294967301ULL)) << 0;
        QTest::newRow("largest unsigned 64") << json(std::uint64_t(18446744073709551615ULL)) << 0;
        QTest::newRow("below the smallest") << json(std::int64_t(-2147483649LL)) << 0;
        QTest::newRow("float cut toward zero") << json(12.9) << 12;
        QTest::newRow("negative float cut toward zero") << json(-12.9) << -12;
        QTest::newRow("float near the top") << json(2147483647.9) << 2147483647;
        QTest::newRow("float out of range") << json(1e10) << 0;
        QTest::newRow("NaN") << json(std::nan("")) << 0;
        QTest::newRow("infinity") << json(HUGE_VAL) << 0;
        QTest::newRow("true") << json(true) << 1;
        QTest::newRow("false") << json(false) << 0;
        QTest::newRow("string") << json("640") << 0;
        QTest::newRow("null") << json() << 0;
        QTest::newRow("array") << json::array({640}) << 0;
        QTest::newRow("object") << json::object({{"v", 640}}) << 0;
    }
    void parsers_integerField() {
        QFETCH(json, height);
        QFETCH(int, read);
        int status = 1;
        TankConfigRecord_t r;
        debugLines([&] {
            r = parseTankConfigRecord(json::array({"TankConfig", {{"Height", height}, {"Wall", 3}}}), status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(r.Height, read);
        QCOMPARE(r.Wall, 3);
    }

    void parsers_textAndFlagFields_data() {
        QTest::addColumn<json>("value");
        QTest::addColumn<QString>("units");
        QTest::addColumn<bool>("txMode");
        QTest::newRow("text") << json("percent") << "percent" << false;
        QTest::newRow("boolean") << json(true) << "" << true;
        QTest::newRow("number is no text") << json(5) << "" << false;
        QTest::newRow("null is no text") << json() << "" << false;
        QTest::newRow("array is no text") << json::array({"mm"}) << "" << false;
        QTest::newRow("invalid UTF-8 replaced") << json(std::string("m\xFFm")) << QString("m\uFFFDm") << false;
    }
    void parsers_textAndFlagFields() {
        QFETCH(json, value);
        QFETCH(QString, units);
        QFETCH(bool, txMode);
        // TxMode gets the same value: only a real boolean counts.
        int status = 1;
        OmnicommConfig_t c;
        debugLines([&] {
            c = parseOmnicommConfig(json::array({"OmnicommConfig", {{"Units", value}, {"TxMode", value}}}), status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(c.Units, units);
        QCOMPARE(c.TxMode, txMode);
    }

    void parsers_flagFromInteger_staysFalse() {
        int status = 1;
        OmnicommConfig_t c;
        debugLines([&] { c = parseOmnicommConfig(json::parse(R"(["OmnicommConfig", {"TxMode":1}])"), status); });
        QCOMPARE(status, 0);
        QCOMPARE(c.TxMode, false);
    }

    void parsers_laterObjectReplacesEarlier() {
        int status = 1;
        DeviceInfo_t info;
        debugLines([&] {
            info =
                parseInfo(json::parse(R"(["Info", {"Name":"a","HWVer":"h","FWVer":"f"}, "x", {"Name":"b"}])"), status);
        });
        QCOMPARE(status, 0);
        QCOMPARE(info.Name, QString("b"));
        QCOMPARE(info.HWVer, QString());
        QCOMPARE(info.FWVer, QString());
    }

    // What the window does: decode the same item the worker classified and read its record.
    void builtRequestsRoundTripThroughTheWire_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("tank config") << reqWriteTankConfig("Propane", 95, 2);
        QTest::newRow("tank record") << reqWriteTankRecord("Toroidal", "Horizontal", 4095, 4095, 172, 15);
        QTest::newRow("omnicomm") << reqWriteOmnicommConfig(0, true, "percent", 30);
        QTest::newRow("calibration reset") << reqCalibrationReset();
    }
    void builtRequestsRoundTripThroughTheWire() {
        QFETCH(QByteArray, request);
        StdoutCapture_t quiet;
        QCOMPARE(::frameToJson(::requestToFrame(request)), json::parse(request.toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "test_protocol.moc"
