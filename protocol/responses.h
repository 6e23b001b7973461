#pragma once
// Classifying and reading the sensor's replies. All functions are stateless and never throw.

#include "devicerecords.h"

#include <QByteArray>
#include <QString>
#include <nlohmann/json.hpp>
#include <optional>

// The first string element of the value, or empty.
QString responseName(const nlohmann::json& value);
// True when the last object element of the value has exactly 8 members.
bool isTankRecord(const nlohmann::json& value);
// What a decoded reply is, by its name: data for a request, an acknowledgement, a refusal or a streamed measurement.
// What it answers is for the request awaiting it to decide.
enum class ReplyKindE { DATA, OK, ERROR, MEASUREMENT };
// The kind of a decoded reply, or none (logged) when it has no name the sensor sends.
std::optional<ReplyKindE> replyKind(const nlohmann::json& value);

// Each parser sets status to -1, then to 0 once it has read an object element; a later object overwrites.
//
// Reading rule, the same in all six parsers (they never throw):
// - A reply's elements are those of an array; any other value has none.
// - Each accepted object is read into a fresh default record that replaces what an earlier object gave.
// - A missing key, or a value of another type, leaves its field at the default; the object still counts (status 0).
// - Integer fields take integers within 32 bits, floating-point numbers cut toward zero when the result fits
//   32 bits, and booleans as 0 or 1. Anything else, an out-of-range number included, leaves the default: nothing
//   wraps or is cut silently.
// - Text fields take strings only (invalid UTF-8 becomes U+FFFD); TxMode takes booleans only.
DeviceInfo_t parseInfo(const nlohmann::json& value, int& status);
TankConfig_t parseTankConfig(const nlohmann::json& value, int& status);
TankConfigRecord_t parseTankConfigRecord(const nlohmann::json& value, int& status);
Installation_t parseInstallation(const nlohmann::json& value, int& status);
OmnicommConfig_t parseOmnicommConfig(const nlohmann::json& value, int& status);
Calibration_t parseCalibration(const nlohmann::json& value, int& status);
