// How well candidate tank models meet the catalogue's nominal litres: for each kind the root mean square of the
// deviations over its catalogue tanks, with the wall taken off and kept, then every catalogue tank against the model
// the tank library uses. The candidates are closed-form full volumes; the library's own figures come from the
// library. Run: bench/tank/tank_fit

#include "tankcatalogue.h"
#include "tankgeometry.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int CATALOGUE_WALL_MM = 3; // what the tool writes for a catalogue tank
constexpr double MM3_PER_LITRE = 1e6;

struct CatalogueTank_t {
    TankKindE kind;
    QByteArray text;
    int outer;
    int length;
    int nominal;
};

std::vector<CatalogueTank_t> catalogue() {
    TankList_t list;
    fillStandardTanks(list);
    std::vector<CatalogueTank_t> tanks;
    for (const TankListEntry& entry : list) {
        CatalogueTank_t tank{entry.kind, entry.text, 0, 0, nominalLitres(entry.text).value_or(0)};
        parseTankText(entry.text, tank.outer, tank.length);
        tanks.push_back(tank);
    }
    return tanks;
}

// Inner dimensions: outer diameter, height or length, and a toroid's hole.
struct Inner_t {
    double outer;
    double length;
    double hole;
};
using ModelF = std::function<double(const Inner_t&)>; // mm^3

struct Candidate_t {
    TankKindE kind;
    const char* name;
    ModelF volume;
};

ModelF toroidRoundedRectangle(double cornerShare) {
    return [cornerShare](const Inner_t& t) {
        const double width = (t.outer - t.hole) / 2;
        const double corner = cornerShare * std::min(width, t.length);
        return 2 * M_PI * (t.outer + t.hole) / 4 * (width * t.length - (4 - M_PI) * corner * corner);
    };
}

ModelF cylinderWithHeads(double depthPerDiameter) {
    return [depthPerDiameter](const Inner_t& t) {
        const double head = depthPerDiameter * t.outer;
        return M_PI / 4 * t.outer * t.outer * (t.length - 2 * head) + M_PI / 3 * t.outer * t.outer * head;
    };
}

const std::vector<Candidate_t> CANDIDATES = {
    {TankKindE::Toroid, "circle of the height around the middle circle",
     [](const Inner_t& t) { return 2 * M_PI * (t.outer - t.length) / 2 * M_PI * t.length * t.length / 4; }},
    {TankKindE::Toroid, "ellipse, width x height",
     [](const Inner_t& t) {
         const double width = (t.outer - t.hole) / 2;
         return 2 * M_PI * (t.outer + t.hole) / 4 * M_PI * width * t.length / 4;
     }},
    {TankKindE::Toroid, "rectangle, corners 0.5 of the smaller side", toroidRoundedRectangle(0.5)},
    {TankKindE::Toroid, "rectangle, corners 0.4 of the smaller side", toroidRoundedRectangle(0.4)},
    {TankKindE::Toroid, "rectangle, corners 0.3 of the smaller side", toroidRoundedRectangle(0.3)},
    {TankKindE::Toroid, "rectangle (annular cylinder)",
     [](const Inner_t& t) { return M_PI / 4 * (t.outer * t.outer - t.hole * t.hole) * t.length; }},
    {TankKindE::CylinderP, "disk with a half-round rim",
     [](const Inner_t& t) {
         const double rim = t.length / 2;
         const double core = t.outer / 2 - rim;
         return M_PI * core * core * t.length + 2 * M_PI * (M_PI * rim * rim / 2) * (core + 4 * rim / (3 * M_PI));
     }},
    {TankKindE::CylinderP, "oblate spheroid",
     [](const Inner_t& t) { return 4.0 / 3 * M_PI * t.outer * t.outer / 4 * t.length / 2; }},
    {TankKindE::CylinderP, "flat disk", [](const Inner_t& t) { return M_PI / 4 * t.outer * t.outer * t.length; }},
    {TankKindE::CylinderH, "flat ends", cylinderWithHeads(0)},
    {TankKindE::CylinderH, "2:1 semi-ellipsoidal heads", cylinderWithHeads(0.25)},
    {TankKindE::CylinderH, "hemispherical heads", cylinderWithHeads(0.5)},
};

double deviationPercent(double litres, int nominal) {
    return 100 * (litres - nominal) / nominal;
}

double rmsPercent(const Candidate_t& candidate, int wall, const std::vector<CatalogueTank_t>& tanks) {
    double sum = 0;
    int count = 0;
    for (const CatalogueTank_t& tank : tanks) {
        if (tank.kind != candidate.kind)
            continue;
        const double hole = tank.kind == TankKindE::Toroid ? CATALOGUE_TOROID_INNER_DIAMETER_MM + 2 * wall : 0;
        const Inner_t inner{tank.outer - 2.0 * wall, tank.length - 2.0 * wall, hole};
        const double deviation = deviationPercent(candidate.volume(inner) / MM3_PER_LITRE, tank.nominal);
        sum += deviation * deviation;
        ++count;
    }
    return std::sqrt(sum / count);
}

const char* const KIND_NAMES[] = {"toroid", "solid", "lying cylinder", "standing cylinder"};

} // namespace

int main() {
    const std::vector<CatalogueTank_t> tanks = catalogue();
    std::printf("Candidate models: RMS deviation from the nominal litres (wall %d mm taken off / kept)\n",
                CATALOGUE_WALL_MM);
    for (const Candidate_t& candidate : CANDIDATES) {
        std::printf("  %-15s %-48s %5.1f %% / %5.1f %%\n", KIND_NAMES[static_cast<int>(candidate.kind)], candidate.name,
                    rmsPercent(candidate, CATALOGUE_WALL_MM, tanks), rmsPercent(candidate, 0, tanks));
    }
    std::printf("\nThe library's model, each catalogue tank (wall %d mm):\n", CATALOGUE_WALL_MM);
    std::printf("  %-18s %-14s %8s %10s %9s %10s\n", "kind", "catalogue", "nominal", "computed", "deviation",
                "height mm");
    for (const CatalogueTank_t& tank : tanks) {
        const int hole = tank.kind == TankKindE::Toroid ? CATALOGUE_TOROID_INNER_DIAMETER_MM : 0;
        const TankGeometry_t geometry = *TankGeometry_t::fromRecord(
            makeTankRecord(WRITABLE_RECORD_ID, tank.kind, tank.outer, tank.length, hole, CATALOGUE_WALL_MM));
        std::printf("  %-18s %-14s %6d L %8.1f L %+8.1f %% %10.0f\n", KIND_NAMES[static_cast<int>(tank.kind)],
                    tank.text.constData(), tank.nominal, geometry.innerVolumeLitres(),
                    deviationPercent(geometry.innerVolumeLitres(), tank.nominal), geometry.innerHeightMm());
    }
    return 0;
}
