// Frame codec: CRC model, COBS boundaries and malformed input, header and payload checks, printed diagnostics.

#include "lumo_cobs.h"
#include "stdoutcapture.h"

#include <QtTest>
#include <cstring>
#include <memory>
#include <vector>

namespace {
QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// Bytes from..to inclusive.
QByteArray run(int from, int to) {
    QByteArray bytes;
    for (int b = from; b <= to; ++b)
        bytes.append(char(b));
    return bytes;
}

template <typename F>
QByteArray printed(F&& f) {
    StdoutCapture_t capture;
    f();
    return capture.take();
}

struct Encoded_t {
    QByteArray wire;  // COBS bytes with the delimiter
    QByteArray frame; // header, payload and payload CRC as the encoder left them around the payload
};

Encoded_t encode(const QByteArray& payload) {
    std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
    std::memcpy(area.data() + COBS_HEADER_SIZE, payload.constData(), payload.size());
    std::vector<uint8_t> out(COBS_ENCODED_MAX(uint32_t(payload.size())));
    uint32_t n = 0;
    printed([&] { n = CobsEncode(area.data() + COBS_HEADER_SIZE, uint16_t(payload.size()), out.data()); });
    return {QByteArray(reinterpret_cast<const char*>(out.data()), int(n)),
            QByteArray(reinterpret_cast<const char*>(area.data()), int(area.size()))};
}

// Decodes in a heap block of exactly the item's size (so a sanitizer build sees any stray access) and, separately,
// in a larger block whose tail must stay untouched.
struct Decoded_t {
    uint32_t length;
    QByteArray bytes; // the first length bytes of the buffer, when length is not COBS_DECODE_EMPTY
    bool tailIntact;
};

Decoded_t decode(const QByteArray& item) {
    const int n = item.size();
    std::unique_ptr<uint8_t[]> exact(new uint8_t[n ? n : 1]);
    std::memcpy(exact.get(), item.constData(), n);
    const uint32_t length = CobsDecode(exact.get(), uint32_t(n));

    std::vector<uint8_t> padded(n + 16, 0xA5);
    std::memcpy(padded.data(), item.constData(), n);
    CobsDecode(padded.data(), uint32_t(n));
    bool tailIntact = true;
    for (int i = n; i < n + 16; ++i)
        tailIntact = tailIntact && padded[i] == 0xA5;

    const int kept = length == COBS_DECODE_EMPTY ? 0 : int(length);
    return {length, QByteArray(reinterpret_cast<const char*>(exact.get()), kept), tailIntact};
}

// A decoded frame with the given header fields; both CRCs are correct.
QByteArray frameOf(uint8_t headerLen, uint8_t version, uint8_t channel, uint8_t flags, const QByteArray& payload) {
    QByteArray frame;
    frame.append(char(headerLen)).append(char(version)).append(char(channel)).append(char(flags));
    frame.append(char(payload.size() & 0xFF)).append(char(payload.size() >> 8));
    const uint16_t headerCrc = CobsCrc16(reinterpret_cast<const uint8_t*>(frame.constData()), 0, 6);
    frame.append(char(headerCrc & 0xFF)).append(char(headerCrc >> 8));
    frame.append(payload);
    const uint16_t payloadCrc =
        CobsCrc16(reinterpret_cast<const uint8_t*>(payload.constData()), 0, uint16_t(payload.size()));
    frame.append(char(payloadCrc & 0xFF)).append(char(payloadCrc >> 8));
    return frame;
}

// Bit-at-a-time CRC-16/XMODEM, independent of the table.
uint16_t crcBitwise(const QByteArray& data) {
    uint16_t crc = 0;
    for (char c : data) {
        crc ^= uint16_t(uint8_t(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    }
    return crc;
}

uint16_t crcOf(const QByteArray& data, uint16_t start = 0) {
    return CobsCrc16(reinterpret_cast<const uint8_t*>(data.constData()), start, uint16_t(data.size()));
}

const QByteArray INFO_PAYLOAD = hex("81 64 49 6E 66 6F");
const QByteArray INFO_FRAME = hex("08 02 01 00 06 00 D3 95 81 64 49 6E 66 6F 1E 20");
const QByteArray INFO_WIRE = hex("04 08 02 01 02 06 0B D3 95 81 64 49 6E 66 6F 1E 20 00");
const QByteArray INFO_HEADER_LINE =
    "dbg> lumo_cobs: \nheader_len[8], protocol_ver[2], ch[1], flags[0x00], data_len[6]\n\n";
} // namespace

class TestCobs : public QObject {
    Q_OBJECT

private slots:
    void crc16_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("crc");
        QTest::newRow("check value of 123456789") << QByteArray("123456789") << 0 << 0x31C3;
        QTest::newRow("header of the Info example") << hex("08 02 01 00 06 00") << 0 << 0x95D3;
        QTest::newRow("payload of the Info example") << INFO_PAYLOAD << 0 << 0x201E;
        QTest::newRow("length 0 gives the start value") << QByteArray() << 0x1234 << 0x1234;
        QTest::newRow("continues from a start value") << QByteArray("56789") << int(crcOf("1234")) << 0x31C3;
    }
    void crc16() {
        QFETCH(QByteArray, data);
        QFETCH(int, start);
        QFETCH(int, crc);
        QCOMPARE(int(crcOf(data, uint16_t(start))), crc);
    }

    void crc16_everyTableEntryMatchesBitwiseModel() {
        for (int b = 0; b < 256; ++b) {
            const QByteArray data(1, char(b)); // one byte: exactly table entry b
            QCOMPARE(crcOf(data), crcBitwise(data));
        }
        QByteArray mixed;
        for (uint32_t x = 1; mixed.size() < 1000; x = x * 1103515245u + 12345u)
            mixed.append(char(x >> 16));
        QCOMPARE(crcOf(mixed), crcBitwise(mixed));
    }

    void encode_infoExample_givesTheEighteenBytesAndDump() {
        std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + INFO_PAYLOAD.size());
        std::memcpy(area.data() + COBS_HEADER_SIZE, INFO_PAYLOAD.constData(), INFO_PAYLOAD.size());
        uint8_t out[32];
        uint32_t n = 0;
        const QByteArray text = printed([&] { n = CobsEncode(area.data() + COBS_HEADER_SIZE, 6, out); });
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(out), int(n)), INFO_WIRE);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(area.data()), int(area.size())), INFO_FRAME);
        QCOMPARE(text, QByteArray("dbg> lumo_cobs: \ndata tx:\n\ndbg> lumo_cobs: \n81 64 49 6E 66 6F \n\n"));
    }

    void decode_infoExample_givesFrameChannelAndPayload() {
        QByteArray item = INFO_WIRE;
        auto* bytes = reinterpret_cast<uint8_t*>(item.data());
        const uint32_t length = CobsDecode(bytes, uint32_t(item.size()));
        QCOMPARE(length, 16u);
        QCOMPARE(item.left(16), INFO_FRAME);

        uint8_t channel = 2;
        QCOMPARE(printed([&] { channel = CobsCheckHeader(bytes, length); }), INFO_HEADER_LINE);
        QCOMPARE(int(channel), 1);

        const uint8_t* payload = nullptr;
        uint16_t payloadLength = 0;
        QCOMPARE(printed([&] { payloadLength = CobsCheckPayload(bytes, &payload); }),
                 QByteArray("dbg> lumo_cobs: \npayload size[6]\n\n"));
        QCOMPARE(int(payloadLength), 6);
        QCOMPARE(payload, bytes + 8);
    }

    void dump_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("dump");
        QTest::newRow("empty payload") << QByteArray() << QByteArray("dbg> lumo_cobs: \n\n\n");
        QTest::newRow("16 bytes, one row")
            << run(0, 15) << QByteArray("dbg> lumo_cobs: \n00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n\n");
        QTest::newRow("17 bytes, second row")
            << run(0, 16)
            << QByteArray("dbg> lumo_cobs: \n00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \n     lumo_cobs: \n"
                          "10 \n\n");
        QTest::newRow("32 bytes, two full rows")
            << run(0xE0, 0xFF)
            << QByteArray("dbg> lumo_cobs: \nE0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF \n     lumo_cobs: \n"
                          "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF \n\n");
    }
    void dump() {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, dump);
        std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
        std::memcpy(area.data() + COBS_HEADER_SIZE, payload.constData(), payload.size());
        std::vector<uint8_t> out(COBS_ENCODED_MAX(uint32_t(payload.size())));
        const QByteArray text =
            printed([&] { CobsEncode(area.data() + COBS_HEADER_SIZE, uint16_t(payload.size()), out.data()); });
        QCOMPARE(text, "dbg> lumo_cobs: \ndata tx:\n\n" + dump);
    }

    // Vectors 1 to 11 of the common COBS examples, plus the walk's ends and malformed items.
    void decode_data() {
        const QByteArray full = run(1, 254);
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QByteArray>("decoded");
        QTest::addColumn<uint>("length");
        QTest::newRow("one zero") << hex("01 01 00") << hex("00") << 1u;
        QTest::newRow("two zeros") << hex("01 01 01 00") << hex("00 00") << 2u;
        QTest::newRow("zero, byte, zero") << hex("01 02 11 01 00") << hex("00 11 00") << 3u;
        QTest::newRow("zero in the middle") << hex("03 11 22 02 33 00") << hex("11 22 00 33") << 4u;
        QTest::newRow("no zero") << hex("05 11 22 33 44 00") << hex("11 22 33 44") << 4u;
        QTest::newRow("ends in three zeros") << hex("02 11 01 01 01 00") << hex("11 00 00 00") << 4u;
        QTest::newRow("254 non-zero: one full block, nothing after") << "\xFF" + full + '\0' << full << 254u;
        QTest::newRow("zero then 254 non-zero: full block ends the frame")
            << "\x01\xFF" + full + '\0' << '\0' + full << 255u;
        QTest::newRow("255 non-zero") << "\xFF" + full + hex("02 FF 00") << full + '\xFF' << 255u;
        QTest::newRow("full block then a zero at the end")
            << "\xFF" + run(2, 255) + hex("01 01 00") << run(2, 255) + '\0' << 255u;
        QTest::newRow("253 non-zero, zero, one byte")
            << "\xFE" + run(3, 255) + hex("02 01 00") << run(3, 255) + hex("00 01") << 255u;
        QTest::newRow("508 non-zero: two full blocks") << "\xFF" + full + "\xFF" + full + '\0' << full + full << 508u;
        QTest::newRow("no delimiter: the end of the input ends the walk") << hex("03 11 22") << hex("11 22") << 2u;
        QTest::newRow("two frames in one item: the first only") << hex("03 11 22 00 03 33 44 00") << hex("11 22") << 2u;
        QTest::newRow("block past the end is dropped") << hex("02 11 05 22 33") << hex("11") << 1u;
        QTest::newRow("block past the delimiter is dropped") << hex("02 11 05 22 00") << hex("11") << 1u;
        QTest::newRow("empty item") << QByteArray() << QByteArray() << COBS_DECODE_EMPTY;
        QTest::newRow("lone delimiter") << hex("00") << QByteArray() << COBS_DECODE_EMPTY;
        QTest::newRow("first block past the end") << hex("05 11 22") << QByteArray() << COBS_DECODE_EMPTY;
    }
    void decode() {
        QFETCH(QByteArray, item);
        QFETCH(QByteArray, decoded);
        QFETCH(uint, length);
        const Decoded_t d = ::decode(item);
        QCOMPARE(d.length, length);
        QCOMPARE(d.bytes, decoded);
        QVERIFY(d.tailIntact);
    }

    // Frames of many sizes and fills go out without inner zeros and come back byte for byte through every check.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("payload");
        const QList<int> sizes{1,   2,   243, 244, 245, 246, 247, 250,  251,  252, 253,
                               254, 255, 497, 498, 499, 500, 501, 1014, 1024, 4000};
        for (int size : sizes) {
            QByteArray nonZero(size, '\x5A');
            QByteArray zeros(size, '\0');
            QByteArray counting(size, '\0');
            QByteArray countingNonZero(size, '\0');
            for (int i = 0; i < size; ++i) {
                counting[i] = char(i);
                countingNonZero[i] = char(i % 255 + 1);
            }
            QTest::addRow("%d non-zero", size) << nonZero;
            QTest::addRow("%d zeros", size) << zeros;
            QTest::addRow("%d counting", size) << counting;
            QTest::addRow("%d counting non-zero", size) << countingNonZero;
        }
    }
    void roundTrip() {
        QFETCH(QByteArray, payload);
        const Encoded_t e = encode(payload);
        QVERIFY(uint32_t(e.wire.size()) <= COBS_ENCODED_MAX(uint32_t(payload.size())));
        QCOMPARE(e.wire.indexOf('\0'), e.wire.size() - 1);
        QCOMPARE(e.frame, frameOf(8, 2, 1, 0, payload));

        const Decoded_t d = ::decode(e.wire);
        QCOMPARE(d.bytes, e.frame);
        QVERIFY(d.tailIntact);
        QByteArray item = e.wire;
        auto* bytes = reinterpret_cast<uint8_t*>(item.data());
        const uint8_t* start = nullptr;
        uint8_t channel = 2;
        uint16_t length = 0;
        printed([&] {
            channel = CobsCheckHeader(bytes, CobsDecode(bytes, uint32_t(item.size())));
            length = CobsCheckPayload(bytes, &start);
        });
        QCOMPARE(int(channel), 1);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(start), length), payload);
    }

    void encode_fullBlockAtFrameEnd_noEmptyBlockFollows() {
        // A zero, then 252 payload bytes and the CRC: the frame's last 254 bytes are non-zero when the CRC is.
        QByteArray payload;
        for (int fill = 1; fill < 256 && payload.isEmpty(); ++fill) {
            const QByteArray candidate = '\0' + QByteArray(252, char(fill));
            const uint16_t crc = crcOf(candidate);
            if ((crc & 0xFF) != 0 && (crc >> 8) != 0)
                payload = candidate;
        }
        QVERIFY(!payload.isEmpty());
        const Encoded_t e = encode(payload);
        const int n = e.wire.size();
        QCOMPARE(e.wire.at(n - 1), '\0');
        QCOMPARE(uint8_t(e.wire.at(n - 256)), uint8_t(0xFF));
        QCOMPARE(e.wire.mid(n - 255, 254), e.frame.right(254));

        QByteArray item = e.wire;
        auto* bytes = reinterpret_cast<uint8_t*>(item.data());
        const uint32_t length = CobsDecode(bytes, uint32_t(n));
        QCOMPARE(length, uint32_t(e.frame.size()));
        uint8_t channel = 2;
        printed([&] { channel = CobsCheckHeader(bytes, length); });
        QCOMPARE(int(channel), 1);
    }

    void encode_frameEndingInZero_endsWithBlockOfCodeOne() {
        QByteArray payload;
        for (int b = 0; b < 65536 && payload.isEmpty(); ++b) {
            const QByteArray candidate{char(b & 0xFF), char(b >> 8 | 1)};
            if ((crcOf(candidate) >> 8) == 0)
                payload = candidate;
        }
        QVERIFY(!payload.isEmpty());
        const Encoded_t e = encode(payload);
        QCOMPARE(e.frame.at(e.frame.size() - 1), '\0');
        QCOMPARE(e.wire.right(2), hex("01 00"));
        QCOMPARE(::decode(e.wire).bytes, e.frame);
    }

    void decode_twoFramesInOneItem_givesTheFirstFrame() {
        const Decoded_t d = ::decode(INFO_WIRE + encode(hex("82 62 6F 6B A0")).wire);
        QCOMPARE(d.bytes, INFO_FRAME);
    }

    void checkHeader_data() {
        const QByteArray frame = frameOf(8, 2, 1, 0, INFO_PAYLOAD);
        QByteArray badCrc = frame;
        badCrc[6] = char(badCrc[6] ^ 0x01);
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<uint>("length");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("channel 1 accepted") << frame << 16u << 1 << INFO_HEADER_LINE;
        QTest::newRow("channel 0 accepted")
            << frameOf(8, 2, 0, 0, INFO_PAYLOAD) << 16u << 0
            << QByteArray("dbg> lumo_cobs: \nheader_len[8], protocol_ver[2], ch[0], flags[0x00], data_len[6]\n\n");
        QTest::newRow("channel 2 rejected")
            << frameOf(8, 2, 2, 0, INFO_PAYLOAD) << 16u << 2
            << QByteArray("dbg> lumo_cobs: \nheader_len[8], protocol_ver[2], ch[2], flags[0x00], data_len[6]\n\n"
                          "wrn> lumo_cobs: \ninvalid channel\n\n");
        QTest::newRow("channel 255 rejected")
            << frameOf(8, 2, 255, 0, INFO_PAYLOAD) << 16u << 2
            << QByteArray("dbg> lumo_cobs: \nheader_len[8], protocol_ver[2], ch[255], flags[0x00], data_len[6]\n\n"
                          "wrn> lumo_cobs: \ninvalid channel\n\n");
        QTest::newRow("other protocol_ver, flags and header_len accepted")
            << frameOf(3, 7, 1, 0xA5, INFO_PAYLOAD) << 16u << 1
            << QByteArray("dbg> lumo_cobs: \nheader_len[3], protocol_ver[7], ch[1], flags[0xA5], data_len[6]\n\n");
        QTest::newRow("header crc mismatch")
            << badCrc << 16u << 2 << INFO_HEADER_LINE + "err> lumo_cobs: \nheader crc\n\n";
        QTest::newRow("length one short") << frame << 15u << 2 << INFO_HEADER_LINE + "err> lumo_cobs: \nsize[15]\n\n";
        QTest::newRow("length one long") << frame + 'x' << 17u << 2
                                         << INFO_HEADER_LINE + "err> lumo_cobs: \nsize[17]\n\n";
        QTest::newRow("empty payload: 10 bytes rejected")
            << frameOf(8, 2, 1, 0, QByteArray()) << 10u << 2
            << QByteArray("dbg> lumo_cobs: \nheader_len[8], protocol_ver[2], ch[1], flags[0x00], data_len[0]\n\n"
                          "err> lumo_cobs: \nsize[10]\n\n");
        QTest::newRow("seven bytes: no header fields read")
            << frame.left(7) << 7u << 2 << QByteArray("err> lumo_cobs: \nsize[7]\n\n");
        QTest::newRow("nothing decoded: size printed as -1")
            << QByteArray() << COBS_DECODE_EMPTY << 2 << QByteArray("err> lumo_cobs: \nsize[-1]\n\n");
    }
    void checkHeader() {
        QFETCH(QByteArray, frame);
        QFETCH(uint, length);
        QFETCH(int, result);
        QFETCH(QByteArray, output);
        // Exactly the available bytes on the heap, so a sanitizer build catches any read beyond them.
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[frame.size() + 1]);
        std::memcpy(bytes.get(), frame.constData(), frame.size());
        uint8_t answer = 0;
        QCOMPARE(printed([&] { answer = CobsCheckHeader(bytes.get(), length); }), output);
        QCOMPARE(int(answer), result);
    }

    void checkPayload_crcMismatch_rejectedAndPointerUntouched() {
        QByteArray frame = frameOf(8, 2, 1, 0, INFO_PAYLOAD);
        frame[15] = char(frame[15] ^ 0x80);
        const uint8_t sentinel = 0;
        const uint8_t* payload = &sentinel;
        uint16_t length = 1;
        QCOMPARE(
            printed([&] { length = CobsCheckPayload(reinterpret_cast<const uint8_t*>(frame.constData()), &payload); }),
            QByteArray("err> lumo_cobs: \npayload crc\n\n"));
        QCOMPARE(int(length), 0);
        QCOMPARE(payload, &sentinel);
    }

    void encodeEmpty_staysInItsBufferAndIsRejectedOnReceipt() {
        uint8_t buffer[18 + 8];
        std::memset(buffer, 0xA5, sizeof buffer);
        uint32_t n = 0;
        printed([&] { n = CobsEncodeEmpty(buffer); });
        for (size_t i = 18; i < sizeof buffer; ++i)
            QCOMPARE(int(buffer[i]), 0xA5);
        const QByteArray wire(reinterpret_cast<const char*>(buffer), int(n));
        QCOMPARE(wire.indexOf('\0'), int(n) - 1);
        const Decoded_t d = ::decode(wire);
        QCOMPARE(d.bytes, frameOf(8, 2, 1, 0, QByteArray()));
        uint8_t result = 0;
        const QByteArray text =
            printed([&] { result = CobsCheckHeader(reinterpret_cast<const uint8_t*>(d.bytes.constData()), d.length); });
        QCOMPARE(int(result), 2);
        QVERIFY(text.endsWith("err> lumo_cobs: \nsize[10]\n\n"));
    }

    void read_data() {
        QByteArray badPayload = INFO_WIRE;
        badPayload[14] = char(badPayload[14] ^ 0x01);
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("result");
        QTest::newRow("Info example: payload length") << INFO_WIRE << 6;
        QTest::newRow("payload crc mismatch: 0") << badPayload << 0;
        QTest::newRow("lone delimiter: header rejected") << hex("00") << 2;
        QTest::newRow("header crc mismatch: header rejected")
            << QByteArray(INFO_WIRE).replace(hex("04 08 02 01"), hex("04 08 02 02")) << 2;
    }
    void read() {
        QFETCH(QByteArray, item);
        QFETCH(int, result);
        QByteArray viaRead = item;
        QByteArray viaMultiRead = item;
        uint8_t tx[4];
        uint16_t fromRead = 1;
        uint16_t fromMultiRead = 1;
        printed([&] {
            fromRead = CobsRead(reinterpret_cast<uint8_t*>(viaRead.data()), uint32_t(viaRead.size()));
            fromMultiRead = CobsMultiRead(reinterpret_cast<uint8_t*>(viaMultiRead.data()),
                                          uint32_t(viaMultiRead.size()), tx, sizeof tx);
        });
        QCOMPARE(int(fromRead), result);
        QCOMPARE(int(fromMultiRead), result);
    }

    void multiRead_missingArgumentInReleaseBuild_rejected() {
#ifndef NDEBUG
        QSKIP("debug builds assert on a missing argument");
#else
        uint8_t rx[] = {0};
        uint8_t tx[4];
        QCOMPARE(int(CobsMultiRead(nullptr, 1, tx, sizeof tx)), 2);
        QCOMPARE(int(CobsMultiRead(rx, 1, nullptr, sizeof tx)), 2);
        QCOMPARE(int(CobsMultiRead(rx, 0, tx, sizeof tx)), 2);
        QCOMPARE(int(CobsMultiRead(rx, 1, tx, 0)), 2);
#endif
    }

    void encodeAndSend_defaultHook_reportsAndFails() {
        std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + INFO_PAYLOAD.size());
        std::memcpy(area.data() + COBS_HEADER_SIZE, INFO_PAYLOAD.constData(), INFO_PAYLOAD.size());
        uint8_t out[32];
        int result = 0;
        const QByteArray text = printed([&] { result = CobsEncodeAndSend(area.data() + COBS_HEADER_SIZE, 6, out); });
        QCOMPARE(result, -1);
        QVERIFY(text.endsWith("81 64 49 6E 66 6F \n\nerr> lumo_cobs: \nCobsTxCallback\n\n"));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(out), INFO_WIRE.size()), INFO_WIRE);
    }

    void encodeAndSend_frameLongerThanHookLength_notHandedOn() {
        const uint16_t len = 65535;
        std::vector<uint8_t> area(COBS_FRAME_OVERHEAD + len, 0x33);
        std::vector<uint8_t> out(COBS_ENCODED_MAX(uint32_t(len)));
        int result = 0;
        const QByteArray text =
            printed([&] { result = CobsEncodeAndSend(area.data() + COBS_HEADER_SIZE, len, out.data()); });
        QCOMPARE(result, -1);
        QVERIFY(!text.contains("CobsTxCallback"));
    }

    void multiReadCallback_default_reports() {
        QCOMPARE(printed([] { CobsMultiReadCallback(); }), QByteArray("err> lumo_cobs: \nCobsMultiReadCallback\n\n"));
    }
};

QTEST_GUILESS_MAIN(TestCobs)
#include "test_cobs.moc"
