#pragma once
// A sensor's setup as text: one "key: value" line per fact, with the profile file's names and the sensor's values.

#include "sensorprofile.h"

QString profileText(const SensorProfile_t& profile);
