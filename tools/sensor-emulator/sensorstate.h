#pragma once
// Everything the emulated sensor keeps, its defaults, and its JSON form (the state file and the wire objects).

#include "devicerecords.h"

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

// Wire objects: the members the sensor sends in its data replies.
nlohmann::json infoToJson(const DeviceInfo_t& info);
nlohmann::json tankConfigToJson(const TankConfig_t& config);
nlohmann::json recordToJson(const TankConfigRecord_t& record);
nlohmann::json omnicommToJson(const OmnicommConfig_t& config);
nlohmann::json calibrationToJson(const Calibration_t& calibration);
nlohmann::json installationToJson(const Installation_t& reading);

// Strict readers of wire objects: every key present with the right type and a plausible value, else false and
// the output untouched. Keys beyond those read are not looked at.
bool tankConfigFromJson(const nlohmann::json& object, TankConfig_t& out);
// Record ids 0..2, Height equal to Length, dimensions 0..4095, Wall 1..15, known shape and orientation.
bool recordFromJson(const nlohmann::json& object, TankConfigRecord_t& out);
bool omnicommFromJson(const nlohmann::json& object, OmnicommConfig_t& out);

// The integer member key of object when it is present, an integer and within low..high; else false, out untouched.
bool readIntMember(const nlohmann::json& object, const char* key, qint64 low, qint64 high, qint32& out);

// The whole state as one object: Info, TankConfig, Records (array of 3), OmnicommConfig, Calibration, Installation.
nlohmann::json stateToJson(const SensorState_t& state);
// Reads a state object; sections left out keep their value in out. False with a reason on the first bad section,
// out then untouched.
bool stateFromJson(const nlohmann::json& object, SensorState_t& out, QString& error);
