#pragma once
// The sensor's data objects as JSON, both ways: the writers give the members the sensor sends in its data replies;
// the strict readers accept only what a sensor can hold, however it came to hold it (what it takes in a write is the
// sensor's business). Shared by the emulated sensor and the profile file.

#include "devicerecords.h"

#include <QString>
#include <nlohmann/json.hpp>

enum class WireFaultE { WrongType, Missing, OutOfRange };

// Why a strict reader refused: the key it stopped at (empty when the value itself is not an object) and how.
struct WireFault_t {
    QString key;
    WireFaultE kind = WireFaultE::WrongType;
};

nlohmann::json infoToJson(const DeviceInfo_t& info);
nlohmann::json tankConfigToJson(const TankConfig_t& config);
nlohmann::json recordToJson(const TankConfigRecord_t& record);
nlohmann::json omnicommToJson(const OmnicommConfig_t& config);
nlohmann::json calibrationToJson(const Calibration_t& calibration);
nlohmann::json installationToJson(const Installation_t& reading);

// Strict readers: every key present with the right type and a plausible value, else false, out untouched and, when
// fault is given, the first key refused. Keys beyond those read are not looked at.
bool infoFromJson(const nlohmann::json& object, DeviceInfo_t& out, WireFault_t* fault = nullptr);
// Mixture 0..100, Active 0..2, any Liquid.
bool tankConfigFromJson(const nlohmann::json& object, TankConfig_t& out, WireFault_t* fault = nullptr);
// Record ids 0..2, dimensions and Wall 0..4095, any Shape and Orientation, Height apart from Length.
bool recordFromJson(const nlohmann::json& object, TankConfigRecord_t& out, WireFault_t* fault = nullptr);
// Address and TxPeriodSec 0..255 (one byte each), TxMode boolean, any Units.
bool omnicommFromJson(const nlohmann::json& object, OmnicommConfig_t& out, WireFault_t* fault = nullptr);
// Empty and Full any 32-bit integers.
bool calibrationFromJson(const nlohmann::json& object, Calibration_t& out, WireFault_t* fault = nullptr);

// The integer member key of object when it is present, an integer and within low..high; else false, out untouched.
bool readIntMember(const nlohmann::json& object, const char* key, qint64 low, qint64 high, qint32& out,
                   WireFault_t* fault = nullptr);
// The string member key of object when it is present and a string; else false, out untouched.
bool readTextMember(const nlohmann::json& object, const char* key, QString& out, WireFault_t* fault = nullptr);
