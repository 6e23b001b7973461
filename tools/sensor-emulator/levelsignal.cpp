#include "levelsignal.h"

#include "tankkind.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double SWELL_PERIOD_S = 90.0;
constexpr double SWELL_SHARE = 0.25; // of the tank's height, around its middle
struct Ripple_t {
    double amplitudeMm;
    double periodS;
};
constexpr Ripple_t RIPPLES[] = {{1.5, 2.3}, {0.8, 0.7}}; // surface waves
constexpr double FALLBACK_HEIGHT_MM = 500.0;
// Raw units: the transducer's own delay at an empty tank, and the span up to a full one. The live plot's fixed range
// is -5..200, so the raw reading of a real-sized tank stays well inside it.
constexpr double TOF_EMPTY = 10.0;
constexpr double TOF_SPAN = 170.0;

double wave(double seconds, double period) {
    return std::sin(2.0 * M_PI * seconds / period);
}

// Height of the liquid space: a lying cylinder's diameter, a standing one's length, a toroid's height.
double tankHeightMm(const TankConfigRecord_t& tank) {
    switch (tankKindOf(tank)) {
    case TankKindE::CylinderH:
        return tank.OuterDiameter;
    case TankKindE::CylinderV:
        return tank.Length;
    case TankKindE::Toroid:
    case TankKindE::CylinderP:
        break;
    }
    return tank.Height;
}

} // namespace

Installation_t simulatedReading(const TankConfigRecord_t& tank, qint64 msec) {
    const double seconds = msec / 1000.0;
    const double tankHeight = tankHeightMm(tank);
    const double height = tankHeight > 0 ? tankHeight : FALLBACK_HEIGHT_MM;
    double level = height * (0.5 + SWELL_SHARE * wave(seconds, SWELL_PERIOD_S));
    for (const Ripple_t& ripple : RIPPLES)
        level += ripple.amplitudeMm * wave(seconds, ripple.periodS);
    Installation_t reading;
    reading.mm = static_cast<qint32>(std::lround(level));
    reading.RawTOF = static_cast<qint32>(std::lround(TOF_EMPTY + TOF_SPAN * std::clamp(level / height, 0.0, 1.0)));
    return reading;
}
