#pragma once
// The four tank kinds the tool offers. On the wire a kind is a combination of Shape, Orientation and InnerDiameter;
// this is the one place that maps between the two.

#include "devicerecords.h"

enum class TankKindE { Toroid = 0, CylinderP = 1, CylinderH = 2, CylinderV = 3 };

struct TankWireFields_t {
    QString Shape;
    QString Orientation;
    qint32 InnerDiameter = 0;
};

// Kind of a record read from the sensor.
TankKindE tankKindOf(const TankConfigRecord_t& record);

// Fields to write for a kind. toroidInnerDiameter is used for Toroid only; every other kind writes 0.
TankWireFields_t tankWireFields(TankKindE kind, qint32 toroidInnerDiameter);
