#pragma once
// The liquid level the emulated sensor measures: a slow swell around half the tank's height with a little ripple.

#include "devicerecords.h"

// The reading msec after the emulator started, for the tank in use. RawTOF is never 0, so a calibration taken
// from it never looks unset.
Installation_t simulatedReading(const TankConfigRecord_t& tank, qint64 msec);
