// The receive path: one item off the line through the codec, the CBOR decoding, the classification by name and every
// parser. The first input byte picks raw item bytes (odd) or a payload that is framed correctly first (even), so
// that the fuzzer reaches the CBOR and JSON stages past the CRCs.

#include "fuzzinput.h"
#include "lumo_cobs.h"
#include "responses.h"
#include "wireframe.h"

#include <cstdlib>
#include <vector>

namespace {
QByteArray framed(const QByteArray& payload) {
    const std::uint16_t len = std::uint16_t(qMin(payload.size(), 0xFFFF));
    std::vector<std::uint8_t> area(COBS_FRAME_OVERHEAD + len);
    std::memcpy(area.data() + COBS_HEADER_SIZE, payload.constData(), len);
    std::vector<std::uint8_t> out(COBS_ENCODED_MAX(std::uint32_t(len)));
    const std::uint32_t n = CobsEncode(area.data() + COBS_HEADER_SIZE, len, out.data());
    return QByteArray(reinterpret_cast<const char*>(out.data()), int(n));
}

void receive(const QByteArray& item) {
    if (!item.isEmpty()) {
        QByteArray copy = item;
        CobsRead(reinterpret_cast<std::uint8_t*>(copy.data()), std::uint32_t(copy.size()));
    }
    const nlohmann::json value = frameToJson(item);
    // A kind needs a name.
    if (replyKind(value) && responseName(value).isEmpty())
        std::abort();
    int status = 0;
    parseInfo(value, status);
    parseTankConfig(value, status);
    parseTankConfigRecord(value, status);
    parseInstallation(value, status);
    parseOmnicommConfig(value, status);
    parseCalibration(value, status);
    isTankRecord(value);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silenceMessageLog();
    FuzzInput_t input(data, size);
    const bool raw = input.byte() & 1;
    const QByteArray rest = input.rest();
    receive(raw ? rest : framed(rest));
    return 0;
}
