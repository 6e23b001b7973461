#pragma once
// Every conversation with the sensor as a step list: the reading at connection, each write, the calibration and the
// measurement stream switch.

#include "sensorsequence.h"

enum class CalibrationPointE { EMPTY, FULL };

// Stream off, identity, tank configuration, the tank records, RS485 settings.
Sequence_t readingSequence();
// Record 2 := record, then its activation; a refused record is the user's input refused.
Sequence_t tankSequence(const TankConfigRecord_t& record);
Sequence_t activationSequence(int id);
// The tank configuration (mixture, liquid, active record), then record 2 with its new wall.
Sequence_t propertiesSequence(const TankConfig_t& config, const TankConfigRecord_t& record);
Sequence_t omnicommSequence(const OmnicommConfig_t& config);
// The present reading stored as one point, then the calibration read back.
Sequence_t calibrationSequence(CalibrationPointE point);
Sequence_t calibrationResetSequence();
// The stored calibration; a refusal leaves it unknown.
Sequence_t calibrationReadSequence();
// The target's record 2 (when it is the active one), the activation, the tank configuration and the RS485 settings,
// each refusal ending the writing; then what the sensor holds is read back, a refused read left unconfirmed.
Sequence_t profileSequence(const SensorSnapshot_t& target);
Sequence_t streamSequence(bool on);
