#pragma once
// Tank records and the standard tank texts as the tests of the tank list build and expect them.

#include "devicerecords.h"
#include "tankkind.h"

#include <QStringList>

// A sensor tank record of the given kind and size, as the sensor would store it.
TankConfigRecord_t tankRecord(int id, TankKindE kind, int outer, int length, int inner = 0);

// The catalogue's texts per kind, in catalogue order; both cylinder orientations share one list.
extern const QStringList STANDARD_TOROIDS;
extern const QStringList STANDARD_SOLIDS;
extern const QStringList STANDARD_CYLINDERS;
