#pragma once
// What the emulated sensor answers to one request, and what the request changes in its state.

#include "sensorstate.h"

#include <nlohmann/json.hpp>

// The reply to request: ["ok"] for an accepted write or action, the name and an object for a read, ["error"] for
// anything malformed, implausible or unknown (state then unchanged). reading is the measurement at this moment:
// a calibration stores its RawTOF, a bare Installation request returns it.
nlohmann::json replyTo(const nlohmann::json& request, const Installation_t& reading, SensorState_t& state);

// True when reply carries a tank record (a TankConfig reply whose object has 8 members).
bool isRecordReply(const nlohmann::json& reply);
