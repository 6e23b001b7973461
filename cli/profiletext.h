#pragma once
// A sensor's setup as text for people, with the sensor's own field names and values.

#include "sensorprofile.h"

QString profileText(const SensorProfile_t& profile);
