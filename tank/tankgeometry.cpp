#include "tankgeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double MM3_PER_LITRE = 1e6;
// A 2:1 semi-ellipsoidal head is a quarter of the diameter deep.
constexpr double HEAD_DEPTH_PER_RADIUS = 0.5;

// Area of a circle of radius r below a chord at height t above its bottom, 0 <= t <= 2r.
double segmentArea(double r, double t) {
    const double d = r - t;
    return r * r * std::acos(std::clamp(d / r, -1.0, 1.0)) - d * std::sqrt(std::max(0.0, 2 * r * t - t * t));
}

// A corner of radius r at the bottom of a profile: how far it reaches out at height z is
// s(z) = sqrt(r^2 - (r - z)^2) up to z = r and r above. These are the integrals of s and of s^2 from 0 to y.
double cornerReach(double r, double y) {
    return segmentArea(r, std::min(y, r)) / 2 + r * std::max(0.0, y - r);
}
double cornerReachSquared(double r, double y) {
    const double t = std::min(y, r);
    return r * t * t - t * t * t / 3 + r * r * std::max(0.0, y - r);
}

} // namespace

std::optional<TankGeometry_t> TankGeometry_t::fromRecord(const TankConfigRecord_t& record) {
    TankGeometry_t g;
    g.tankKind = tankKindOf(record);
    const double wall = record.Wall;
    const double outer = record.OuterDiameter - 2 * wall;
    const double length = record.Length - 2 * wall;
    switch (g.tankKind) {
    case TankKindE::Toroid: {
        const double hole = record.InnerDiameter + 2 * wall;
        g.height = length;
        g.width = (outer - hole) / 2;
        g.radius = (outer + hole) / 4;
        g.corner = TOROID_CORNER_SHARE * std::min(g.width, g.height);
        if (g.width <= 0)
            return std::nullopt;
        break;
    }
    case TankKindE::CylinderP:
        g.height = length;
        g.radius = outer / 2;
        g.corner = std::min(g.height / 2, g.radius);
        break;
    case TankKindE::CylinderH:
    case TankKindE::CylinderV: {
        g.radius = outer / 2;
        // Heads deeper than half the length would overlap: a short tank is all head.
        g.headDepth = std::min(HEAD_DEPTH_PER_RADIUS * g.radius, length / 2);
        g.straight = length - 2 * g.headDepth;
        g.height = g.tankKind == TankKindE::CylinderH ? outer : length;
        break;
    }
    }
    if (g.height <= 0 || outer <= 0 || length <= 0)
        return std::nullopt;
    g.fullLitres = 2 * g.lowerHalfLitres(g.height / 2);
    return g;
}

double TankGeometry_t::lowerHalfLitres(double y) const {
    double mm3 = 0;
    switch (tankKind) {
    case TankKindE::Toroid:
        // Cross-section below y, swept around the ring's middle circle.
        mm3 = 2 * M_PI * radius * ((width - 2 * corner) * y + 2 * cornerReach(corner, y));
        break;
    case TankKindE::CylinderP: {
        // Disks of radius (radius - corner) + s(z), stacked.
        const double core = radius - corner;
        mm3 = M_PI * (core * core * y + 2 * core * cornerReach(corner, y) + cornerReachSquared(corner, y));
        break;
    }
    case TankKindE::CylinderH:
        // The two heads together are an ellipsoid: a sphere of the shell's radius squeezed to the heads' depth.
        mm3 = segmentArea(radius, y) * straight + headDepth / radius * M_PI * y * y * (3 * radius - y) / 3;
        break;
    case TankKindE::CylinderV: {
        const double t = std::min(y, headDepth);
        mm3 = M_PI * radius * radius *
              (t * t / headDepth - t * t * t / (3 * headDepth * headDepth) + std::max(0.0, y - headDepth));
        break;
    }
    }
    return mm3 / MM3_PER_LITRE;
}

TankFill_t TankGeometry_t::fillAt(double levelMm) const {
    TankFill_t fill;
    if (levelMm < 0) {
        fill.place = LevelPlaceE::BELOW_BOTTOM;
        return fill;
    }
    if (levelMm > height) {
        fill.place = LevelPlaceE::ABOVE_TOP;
        fill.litres = fullLitres;
        fill.percent = 100;
        return fill;
    }
    fill.litres = levelMm <= height / 2 ? lowerHalfLitres(levelMm) : fullLitres - lowerHalfLitres(height - levelMm);
    fill.percent = 100 * fill.litres / fullLitres;
    return fill;
}
