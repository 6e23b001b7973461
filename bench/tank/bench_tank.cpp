// The level-to-litres table of 1,000 rows (1 mm steps through tanks 1,000 mm high inside) and one readout, per kind.
// Run: bench_tank [--benchmark_filter=...]

#include "tanktable.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int WALL_MM = 3;
constexpr int THOUSAND_ROWS_HEIGHT_MM = 999 + 2 * WALL_MM; // rows 0..999

TankGeometry_t thousandRowTank(TankKindE kind) {
    // The dimension that is the height inside gives 1,000 rows; the other is a plausible size.
    const bool lying = kind == TankKindE::CylinderH;
    const int outer = lying ? THOUSAND_ROWS_HEIGHT_MM : 3000;
    const int length = lying ? 3000 : THOUSAND_ROWS_HEIGHT_MM;
    const int inner = kind == TankKindE::Toroid ? CATALOGUE_TOROID_INNER_DIAMETER_MM : 0;
    return *TankGeometry_t::fromRecord(makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length, inner, WALL_MM));
}

void table1000Rows(benchmark::State& state, TankKindE kind) {
    const TankGeometry_t tank = thousandRowTank(kind);
    std::size_t rows = 0;
    for (auto _ : state) {
        const TankTable_t table = tankTable(tank, 1);
        rows = table.size();
        benchmark::DoNotOptimize(table.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
}
BENCHMARK_CAPTURE(table1000Rows, toroid, TankKindE::Toroid)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table1000Rows, solid, TankKindE::CylinderP)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table1000Rows, lying_cylinder, TankKindE::CylinderH)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(table1000Rows, standing_cylinder, TankKindE::CylinderV)->Unit(benchmark::kMicrosecond);

// What the live readout adds per measurement: one fill.
void readout(benchmark::State& state, TankKindE kind) {
    const TankGeometry_t tank = thousandRowTank(kind);
    double level = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tank.fillAt(level));
        level = level < 999 ? level + 1 : 0;
    }
}
BENCHMARK_CAPTURE(readout, toroid, TankKindE::Toroid);
BENCHMARK_CAPTURE(readout, lying_cylinder, TankKindE::CylinderH);

} // namespace

BENCHMARK_MAIN();
