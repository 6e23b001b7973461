#pragma once
// Everything the emulated sensor keeps, its defaults, and its JSON form as a state file.

#include "devicerecords.h"
#include "wireobjects.h"

#include <QString>
#include <array>
#include <nlohmann/json.hpp>

struct SensorState_t {
    DeviceInfo_t info;
    TankConfig_t tankConfig;
    std::array<TankConfigRecord_t, TANK_RECORD_COUNT> records;
    OmnicommConfig_t omnicomm;
    Calibration_t calibration;
    bool installation = false; // measurement stream on
};

// A plausible sensor: a horizontal cylinder, a standard toroid and a custom toroid, the last one active.
SensorState_t defaultSensorState();

// The whole state as one object: Info, TankConfig, Records (array of 3), OmnicommConfig, Calibration, Installation.
nlohmann::json stateToJson(const SensorState_t& state);
// Reads a state object; sections left out keep their value in out. False with a reason on the first bad section,
// out then untouched.
bool stateFromJson(const nlohmann::json& object, SensorState_t& out, QString& error);
