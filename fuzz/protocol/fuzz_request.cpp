// The request path: a request (a JSON text, or a builder's value from fuzzed arguments) to frame bytes. Every frame
// made must decode back to the same JSON value, and a builder's request must always fit a frame.

#include "fuzzinput.h"
#include "requests.h"
#include "wireframe.h"

#include <cstdlib>

using nlohmann::json;

namespace {

QString text(FuzzInput_t& in) {
    return QString::fromUtf8(in.bytes().left(64)); // names the tool passes are short
}

json build(std::uint8_t choice, FuzzInput_t& in) {
    switch (choice % 9) {
    case 0:
        return reqTankRecord(in.int32());
    case 1:
        return reqActiveRecord(in.int32());
    case 2: {
        TankConfig_t config;
        config.Liquid = text(in);
        config.Mixture = in.int32();
        config.Active = in.int32();
        return reqWriteTankConfig(config);
    }
    case 3: {
        TankConfigRecord_t record;
        record.Shape = text(in);
        record.Orientation = text(in);
        record.Length = in.int32();
        record.OuterDiameter = in.int32();
        record.InnerDiameter = in.int32();
        record.Wall = in.int32();
        return reqWriteTankRecord(record);
    }
    case 4:
        return reqInstallation(in.int32());
    case 5: {
        OmnicommConfig_t config;
        config.Address = in.int32();
        config.TxMode = in.byte() & 1;
        config.Units = text(in);
        config.TxPeriodSec = in.int32();
        return reqWriteOmnicommConfig(config);
    }
    case 6:
        return reqCalibrate(in.int32());
    case 7:
        return reqRead(CmdName::CALIBRATION);
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
    const QByteArray rest = raw ? input.rest() : QByteArray();
    const json request = raw ? json::parse(rest.cbegin(), rest.cend(), nullptr, false) : build(mode, input);
    if (request.is_discarded())
        return 0;
    const QByteArray frame = jsonToFrame(request);
    if (frame.isEmpty()) {
        if (!raw) // a builder's request is far below the payload limit
            std::abort();
        return 0;
    }
    if (frameToJson(frame) != request)
        std::abort();
    return 0;
}
