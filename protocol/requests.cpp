#include "requests.h"

#include "wireobjects.h"

using nlohmann::json;

namespace {

json withData(const char* command, json data) {
    return json::array({command, std::move(data)});
}

} // namespace

json reqRead(const char* command) {
    return json::array({command});
}

json reqTankRecord(int id) {
    return withData(CmdName::TANK_CONFIG, {{"id", id}});
}

json reqActiveRecord(int active) {
    return withData(CmdName::TANK_CONFIG, {{"Active", active}});
}

json reqWriteTankConfig(const TankConfig_t& config) {
    json data = tankConfigToJson(config);
    data["Qty"] = TANK_RECORD_COUNT;
    return withData(CmdName::TANK_CONFIG, std::move(data));
}

TankConfigRecord_t writtenRecord(const TankConfigRecord_t& record) {
    TankConfigRecord_t written = record;
    written.id = WRITABLE_RECORD_ID;
    written.Height = record.Length;
    return written;
}

json reqWriteTankRecord(const TankConfigRecord_t& record) {
    return withData(CmdName::TANK_CONFIG, recordToJson(writtenRecord(record)));
}

json reqInstallation(int on) {
    return withData(CmdName::INSTALLATION, {{"on", on}});
}

json reqWriteOmnicommConfig(const OmnicommConfig_t& config) {
    return withData(CmdName::OMNICOMM_CONFIG, omnicommToJson(config));
}

json reqCalibrate(int percent) {
    return withData(CmdName::CALIBRATION, {{"Percent", percent}});
}

json reqCalibrationReset() {
    return withData(CmdName::CALIBRATION, {{"Reset", true}});
}
