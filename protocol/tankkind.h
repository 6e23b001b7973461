#pragma once
// The four tank kinds the tool offers. On the wire a kind is a combination of Shape, Orientation and InnerDiameter;
// this is the one place that maps between the two, and the one builder of a tank record.

#include "devicerecords.h"

enum class TankKindE { Toroid = 0, CylinderP = 1, CylinderH = 2, CylinderV = 3 };

// Kind of a record read from the sensor.
TankKindE tankKindOf(const TankConfigRecord_t& record);

// A tank record as the sensor stores it: Height equals Length, and only a Toroid carries innerDiameter (every other
// kind holds 0).
TankConfigRecord_t makeTankRecord(int id, TankKindE kind, int outer, int length, int innerDiameter, int wall);
