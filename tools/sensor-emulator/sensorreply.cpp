#include "sensorreply.h"

#include <QString>
#include <algorithm>
#include <initializer_list>

using nlohmann::json;

namespace {

constexpr int TANK_RECORD_MEMBERS = 8;
constexpr int TANK_CONFIG_WRITE_MEMBERS = 4; // Qty, Mixture, Liquid, Active
constexpr int OMNICOMM_MEMBERS = 4;

// data is the request's object, or null for a bare read.
using HandlerF = json (*)(const json& data, const Installation_t& reading, SensorState_t& state);

json ok() {
    return json::array({WireNames::REPLY_OK});
}

json error() {
    return json::array({WireNames::REPLY_ERROR});
}

json dataReply(const char* name, const json& object) {
    return json::array({name, object});
}

bool isOneOf(const QString& name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&name](const char* known) { return name == QLatin1String(known); });
}

// What the sensor takes in a write, beyond what it may hold: known names, a wall the tool offers, Height as Length.
bool takes(const TankConfig_t& c) {
    return isOneOf(c.Liquid, {WireNames::LIQUID_PROPANE, WireNames::LIQUID_BUTANE, WireNames::LIQUID_MIX});
}

bool takes(const TankConfigRecord_t& r) {
    return isOneOf(r.Shape, {WireNames::SHAPE_CYLINDRIC, WireNames::SHAPE_TOROIDAL}) &&
           isOneOf(r.Orientation, {WireNames::ORIENTATION_HORIZONTAL, WireNames::ORIENTATION_VERTICAL}) &&
           r.Wall >= MIN_WALL_MM && r.Wall <= MAX_WALL_MM && r.Height == r.Length;
}

bool takes(const OmnicommConfig_t& c) {
    return isOneOf(c.Units, {WireNames::UNITS_MM, WireNames::UNITS_LITRES, WireNames::UNITS_PERCENT});
}

// A one-member object whose member is key.
bool isSingle(const json& data, const char* key) {
    return data.size() == 1 && data.contains(key);
}

json infoReply(const json& data, const Installation_t&, SensorState_t& state) {
    return data.is_null() ? dataReply("Info", infoToJson(state.info)) : error();
}

json tankConfigReply(const json& data, const Installation_t&, SensorState_t& state) {
    if (data.is_null())
        return dataReply("TankConfig", tankConfigToJson(state.tankConfig));
    qint32 value = 0;
    if (isSingle(data, "id")) {
        if (!readIntMember(data, "id", 0, TANK_RECORD_COUNT - 1, value))
            return error();
        return dataReply("TankConfig", recordToJson(state.records[value]));
    }
    if (isSingle(data, "Active")) {
        if (!readIntMember(data, "Active", 0, TANK_RECORD_COUNT - 1, value))
            return error();
        state.tankConfig.Active = value;
        return ok();
    }
    if (data.size() == TANK_CONFIG_WRITE_MEMBERS) {
        TankConfig_t config;
        if (!readIntMember(data, "Qty", TANK_RECORD_COUNT, TANK_RECORD_COUNT, value) ||
            !tankConfigFromJson(data, config) || !takes(config))
            return error();
        state.tankConfig = config;
        return ok();
    }
    TankConfigRecord_t record;
    if (data.size() == TANK_RECORD_MEMBERS && recordFromJson(data, record) && takes(record) &&
        record.id == WRITABLE_RECORD_ID) {
        state.records[WRITABLE_RECORD_ID] = record;
        return ok();
    }
    return error();
}

json installationReply(const json& data, const Installation_t& reading, SensorState_t& state) {
    if (data.is_null())
        return dataReply("Installation", installationToJson(reading));
    qint32 on = 0;
    if (!isSingle(data, "on") || !readIntMember(data, "on", 0, 1, on))
        return error();
    state.installation = on == 1;
    return ok();
}

json omnicommReply(const json& data, const Installation_t&, SensorState_t& state) {
    if (data.is_null())
        return dataReply("OmnicommConfig", omnicommToJson(state.omnicomm));
    OmnicommConfig_t config;
    if (data.size() != OMNICOMM_MEMBERS || !omnicommFromJson(data, config) || !takes(config))
        return error();
    state.omnicomm = config;
    return ok();
}

json calibrationReply(const json& data, const Installation_t& reading, SensorState_t& state) {
    if (data.is_null())
        return dataReply("Calibration", calibrationToJson(state.calibration));
    if (isSingle(data, "Reset") && data["Reset"] == true) {
        state.calibration = Calibration_t();
        return ok();
    }
    qint32 percent = 0;
    if (!isSingle(data, "Percent") || !readIntMember(data, "Percent", 0, 100, percent) ||
        (percent != 0 && percent != 100))
        return error();
    (percent == 0 ? state.calibration.Empty : state.calibration.Full) = reading.RawTOF;
    return ok();
}

struct Command_t {
    const char* name;
    HandlerF handler;
};

constexpr Command_t COMMANDS[] = {
    {"Info", infoReply},
    {"TankConfig", tankConfigReply},
    {"Installation", installationReply},
    {"OmnicommConfig", omnicommReply},
    {"Calibration", calibrationReply},
};

} // namespace

json replyTo(const json& request, const Installation_t& reading, SensorState_t& state) {
    if (!request.is_array() || request.empty() || request.size() > 2 || !request[0].is_string())
        return error();
    const json data = request.size() == 2 ? request[1] : json();
    if (request.size() == 2 && !data.is_object())
        return error();
    const std::string name = request[0].get<std::string>();
    for (const Command_t& command : COMMANDS) {
        if (name == command.name)
            return command.handler(data, reading, state);
    }
    return error();
}

bool isRecordReply(const json& reply) {
    return reply.is_array() && reply.size() == 2 && reply[0] == "TankConfig" && reply[1].is_object() &&
           reply[1].size() == TANK_RECORD_MEMBERS;
}
