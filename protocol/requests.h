#pragma once
// The sensor's requests as JSON values: an array of the command name and, for a write or an action, one object.
// Built from the same writers as the sensor's own data objects, so a request carries exactly the sensor's keys.

#include "devicerecords.h"

#include <nlohmann/json.hpp>

// Command names: a request's first element, and the name of the data reply to its bare (read) form.
namespace CmdName {
inline constexpr char INFO[] = "Info";
inline constexpr char TANK_CONFIG[] = "TankConfig";
inline constexpr char INSTALLATION[] = "Installation";
inline constexpr char OMNICOMM_CONFIG[] = "OmnicommConfig";
inline constexpr char CALIBRATION[] = "Calibration";
} // namespace CmdName

// Bare read requests: ["Info"], ["TankConfig"], ["OmnicommConfig"], ["Calibration"].
nlohmann::json reqRead(const char* command);
nlohmann::json reqTankRecord(int id);
nlohmann::json reqActiveRecord(int active);
// Quantity 3 with the configuration's mixture, liquid and active record.
nlohmann::json reqWriteTankConfig(const TankConfig_t& config);
// The record as a write stores it: always the writable record, whatever record.id says; Height and Length both
// take record.Length.
TankConfigRecord_t writtenRecord(const TankConfigRecord_t& record);
nlohmann::json reqWriteTankRecord(const TankConfigRecord_t& record);
// The measurement stream on (1) or off (0).
nlohmann::json reqInstallation(int on);
nlohmann::json reqWriteOmnicommConfig(const OmnicommConfig_t& config);
// The present reading stored as the empty (0) or full (100) point.
nlohmann::json reqCalibrate(int percent);
nlohmann::json reqCalibrationReset();
