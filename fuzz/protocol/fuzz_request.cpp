// The request path: a request text (raw, or made by a builder from fuzzed arguments) to frame bytes. Every frame
// made must decode back to the JSON value of its text, and a builder given plain texts must always yield a frame.

#include "fuzzinput.h"
#include "requests.h"
#include "wireframe.h"

#include <cstdlib>

namespace {
// Texts the tool passes hold no quote, backslash or control character.
QString plainText(const QByteArray& bytes) {
    QString text;
    for (char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            text.append(QLatin1Char(c));
    }
    return text;
}

QByteArray build(std::uint8_t choice, FuzzInput_t& in) {
    switch (choice % 9) {
    case 0:
        return reqTankRecord(in.int32());
    case 1:
        return reqActiveRecord(in.int32());
    case 2: {
        const QString liquid = plainText(in.bytes());
        const int mixture = in.int32();
        return reqWriteTankConfig(liquid, mixture, in.int32());
    }
    case 3: {
        const QString shape = plainText(in.bytes());
        const QString orientation = plainText(in.bytes());
        const int size = in.int32();
        const int outer = in.int32();
        const int inner = in.int32();
        return reqWriteTankRecord(shape, orientation, size, outer, inner, in.int32());
    }
    case 4:
        return reqInstallation(in.int32());
    case 5: {
        const int address = in.int32();
        const bool txMode = in.byte() & 1;
        const QString units = plainText(in.bytes());
        return reqWriteOmnicommConfig(address, txMode, units, in.int32());
    }
    case 6:
        return reqCalibrate(in.int32());
    case 7:
        return reqCalibrationRead();
    default:
        return reqCalibrationReset();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silenceMessageLog();
    FuzzInput_t input(data, size);
    const std::uint8_t mode = input.byte();
    const bool raw = mode < 0x80;
    const QByteArray request = raw ? input.rest() : build(mode, input);
    const QByteArray frame = requestToFrame(request);

    if (frame.isEmpty()) {
        // Plain builder texts are far below the payload limit.
        if (!raw && request.size() < 900)
            std::abort();
        return 0;
    }
    const int end = request.indexOf('\0');
    const std::string text = (end < 0 ? request : request.left(end)).toStdString();
    const nlohmann::json expected = nlohmann::json::parse(text, nullptr, false);
    if (expected.is_discarded() || frameToJson(frame) != expected)
        std::abort();
    return 0;
}
