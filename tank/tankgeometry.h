#pragma once
// The liquid volume of a tank below a level, from its record's shape, orientation, dimensions and wall.
//
// The model (of the candidates bench/tank/tank_fit compares, the one that meets the catalogue's nominal litres best):
// - The wall comes off every side: the inner space is the record's outer dimensions less one Wall at each face, so
//   a diameter or a height loses 2 * Wall and a toroid's hole grows by 2 * Wall.
// - The level is the liquid's height above the lowest point of the inner space (the inside of the bottom wall), in
//   mm, as the sensor reports it in Installation_t::mm. Every kind is symmetric top to bottom.
// - Toroid: a ring from the hole (InnerDiameter) to OuterDiameter, Length high. Its cross-section is a rectangle of
//   the ring's width by its height with corners rounded to TOROID_CORNER_SHARE of the smaller of the two; the volume
//   below a level is that part of the cross-section swept around the ring's middle circle (Pappus).
// - The solid tank (Shape "Toroidal", InnerDiameter 0): a disk of OuterDiameter, Length high, whose rim is a half
//   circle of half its height (flat top and bottom).
// - Cylinders: OuterDiameter across, Length long (horizontal) or high (vertical), each end a 2:1 semi-ellipsoidal head
//   (depth a quarter of the inner diameter) inside that length. Lying, the shell holds a circle segment along its
//   straight part and the two heads one ellipsoid's cap; standing, the heads are at bottom and top and the straight
//   part between them is linear in the level.

#include "devicerecords.h"
#include "tankkind.h"

#include <optional>

// Corner radius of a toroid's cross-section, as a share of the smaller of its width and height.
constexpr double TOROID_CORNER_SHARE = 0.4;

enum class LevelPlaceE { BELOW_BOTTOM, INSIDE, ABOVE_TOP };

// What a tank holds at one level.
struct TankFill_t {
    LevelPlaceE place = LevelPlaceE::INSIDE;
    double litres = 0;  // 0 below the bottom, the inner volume above the top
    double percent = 0; // of the inner volume, likewise 0 or 100 outside the tank
};

class TankGeometry_t {
public:
    // The record's inner space; none when it has none (a dimension not above twice the wall, a toroid's hole as wide
    // as the tank).
    static std::optional<TankGeometry_t> fromRecord(const TankConfigRecord_t& record);

    TankKindE kind() const { return tankKind; }
    // From the inner bottom to the inner top, mm.
    double innerHeightMm() const { return height; }
    double innerVolumeLitres() const { return fullLitres; }
    // levelMm from the inner bottom; a level below 0 or above the inner height is flagged, not clamped silently.
    TankFill_t fillAt(double levelMm) const;

private:
    TankGeometry_t() = default;
    // Litres below levelMm, for 0 <= levelMm <= height / 2; the upper half mirrors it.
    double lowerHalfLitres(double levelMm) const;

    TankKindE tankKind = TankKindE::Toroid;
    double height = 0;    // inner height, mm
    double radius = 0;    // cylinders: inner radius; solid: inner disk radius; toroid: radius of the ring's middle
    double width = 0;     // toroid: the ring's inner width, mm
    double corner = 0;    // toroid, solid: corner radius of the cross-section, mm
    double headDepth = 0; // cylinders: depth of each head, mm
    double straight = 0;  // cylinders: length of the straight shell between the heads, mm
    double fullLitres = 0;
};
