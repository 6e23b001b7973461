// The tank model against closed forms worked out by hand for wall-free tanks, and the table's CSV.

#include "tankgeometry.h"
#include "tanktable.h"

#include <QtTest>
#include <cmath>

Q_DECLARE_METATYPE(TankConfigRecord_t)

namespace {

constexpr double LITRES_EPSILON = 1e-6;

TankConfigRecord_t tank(TankKindE kind, int outer, int length, int inner = 0, int wall = 0) {
    return makeTankRecord(2, kind, outer, length, inner, wall);
}

TankGeometry_t geometry(const TankConfigRecord_t& record) {
    const std::optional<TankGeometry_t> g = TankGeometry_t::fromRecord(record);
    if (!g)
        qFatal("no inner space");
    return *g;
}

// One tank of each kind, with a wall, for the properties every kind shares.
void addEveryKind() {
    QTest::addColumn<TankConfigRecord_t>("record");
    QTest::newRow("catalogue toroid 630x250") << tank(TankKindE::Toroid, 630, 250, 172, 3);
    QTest::newRow("toroid taller than wide") << tank(TankKindE::Toroid, 500, 300, 172, 3);
    QTest::newRow("solid 720x270") << tank(TankKindE::CylinderP, 720, 270, 0, 3);
    QTest::newRow("lying cylinder 356x1045") << tank(TankKindE::CylinderH, 356, 1045, 0, 3);
    QTest::newRow("standing cylinder 300x640") << tank(TankKindE::CylinderV, 300, 640, 0, 3);
    QTest::newRow("cylinder shorter than its heads") << tank(TankKindE::CylinderH, 400, 150, 0, 3);
}

} // namespace

class TankTest_t : public QObject {
    Q_OBJECT

private slots:
    void innerVolume_matchesClosedForm_data();
    void innerVolume_matchesClosedForm();
    void fill_emptyHalfFull_data() { addEveryKind(); }
    void fill_emptyHalfFull();
    void fill_neverFallsAsLevelRises_data() { addEveryKind(); }
    void fill_neverFallsAsLevelRises();
    void fill_outsideTankIsFlagged_data() { addEveryKind(); }
    void fill_outsideTankIsFlagged();
    void wall_comesOffEverySide_data();
    void wall_comesOffEverySide();
    void standingCylinder_linearBetweenHeads();
    void noInnerSpace_isRefused_data();
    void noInnerSpace_isRefused();
    void table_rows_data();
    void table_rows();
    void csv_lines_data();
    void csv_lines();
};

void TankTest_t::innerVolume_matchesClosedForm_data() {
    QTest::addColumn<TankConfigRecord_t>("record");
    QTest::addColumn<double>("litres");
    QTest::addColumn<double>("heightMm");
    // Ring 200 wide and high around a middle circle of radius 200, corners of radius 80:
    // 2 pi 200 (200 * 200 - (4 - pi) 80^2).
    QTest::newRow("toroid") << tank(TankKindE::Toroid, 600, 200, 200) << 43.361760951 << 200.0;
    // Core disk of radius 260 and 200 high, plus a half-circle rim of radius 100 swept at 260 + 400 / (3 pi).
    QTest::newRow("solid") << tank(TankKindE::CylinderP, 720, 200) << 72.324094324 << 200.0;
    // Shell 800 long of radius 200, plus the two heads 100 deep: pi 200^2 (800 + 4/3 100).
    QTest::newRow("lying cylinder") << tank(TankKindE::CylinderH, 400, 1000) << 117.286125734 << 400.0;
    QTest::newRow("standing cylinder") << tank(TankKindE::CylinderV, 400, 1000) << 117.286125734 << 1000.0;
}

void TankTest_t::innerVolume_matchesClosedForm() {
    QFETCH(TankConfigRecord_t, record);
    QFETCH(double, litres);
    QFETCH(double, heightMm);
    const TankGeometry_t g = geometry(record);
    QVERIFY2(std::abs(g.innerVolumeLitres() - litres) < LITRES_EPSILON,
             qPrintable(QString::number(g.innerVolumeLitres(), 'f', 9)));
    QCOMPARE(g.innerHeightMm(), heightMm);
}

void TankTest_t::fill_emptyHalfFull() {
    QFETCH(TankConfigRecord_t, record);
    const TankGeometry_t g = geometry(record);
    QCOMPARE(g.fillAt(0).litres, 0.0);
    QCOMPARE(g.fillAt(0).place, LevelPlaceE::INSIDE);
    // Every kind is symmetric top to bottom, so half the height holds half.
    QVERIFY(std::abs(g.fillAt(g.innerHeightMm() / 2).litres - g.innerVolumeLitres() / 2) < LITRES_EPSILON);
    QVERIFY(std::abs(g.fillAt(g.innerHeightMm() / 4).percent + g.fillAt(g.innerHeightMm() * 3 / 4).percent - 100) <
            1e-9);
    QCOMPARE(g.fillAt(g.innerHeightMm()).litres, g.innerVolumeLitres());
    QCOMPARE(g.fillAt(g.innerHeightMm()).percent, 100.0);
    QCOMPARE(g.fillAt(g.innerHeightMm()).place, LevelPlaceE::INSIDE);
}

void TankTest_t::fill_neverFallsAsLevelRises() {
    QFETCH(TankConfigRecord_t, record);
    const TankGeometry_t g = geometry(record);
    double previous = 0;
    for (double level = 0.25; level <= g.innerHeightMm(); level += 0.25) {
        const double litres = g.fillAt(level).litres;
        QVERIFY2(litres > previous, qPrintable(QString::number(level)));
        previous = litres;
    }
}

void TankTest_t::fill_outsideTankIsFlagged() {
    QFETCH(TankConfigRecord_t, record);
    const TankGeometry_t g = geometry(record);
    const TankFill_t below = g.fillAt(-1);
    QCOMPARE(below.place, LevelPlaceE::BELOW_BOTTOM);
    QCOMPARE(below.litres, 0.0);
    const TankFill_t above = g.fillAt(g.innerHeightMm() + 1);
    QCOMPARE(above.place, LevelPlaceE::ABOVE_TOP);
    QCOMPARE(above.litres, g.innerVolumeLitres());
}

void TankTest_t::wall_comesOffEverySide_data() {
    QTest::addColumn<TankConfigRecord_t>("withWall");
    QTest::addColumn<TankConfigRecord_t>("inner");
    QTest::newRow("toroid: its hole grows")
        << tank(TankKindE::Toroid, 630, 250, 172, 5) << tank(TankKindE::Toroid, 620, 240, 182);
    QTest::newRow("solid") << tank(TankKindE::CylinderP, 650, 270, 0, 3) << tank(TankKindE::CylinderP, 644, 264);
    QTest::newRow("lying cylinder") << tank(TankKindE::CylinderH, 300, 640, 0, 3)
                                    << tank(TankKindE::CylinderH, 294, 634);
}

void TankTest_t::wall_comesOffEverySide() {
    QFETCH(TankConfigRecord_t, withWall);
    QFETCH(TankConfigRecord_t, inner);
    QCOMPARE(geometry(withWall).innerVolumeLitres(), geometry(inner).innerVolumeLitres());
    QCOMPARE(geometry(withWall).innerHeightMm(), geometry(inner).innerHeightMm());
}

void TankTest_t::standingCylinder_linearBetweenHeads() {
    // Radius 200, heads 100 deep: from 100 to 900 mm every mm adds pi 200^2 mm^3.
    const TankGeometry_t g = geometry(tank(TankKindE::CylinderV, 400, 1000));
    const double perMm = M_PI * 200 * 200 / 1e6;
    for (double level : {100.0, 250.0, 499.0, 700.0, 899.0})
        QVERIFY(std::abs(g.fillAt(level + 1).litres - g.fillAt(level).litres - perMm) < LITRES_EPSILON);
    QVERIFY(g.fillAt(50).litres - g.fillAt(49).litres < perMm); // in the bottom head
}

void TankTest_t::noInnerSpace_isRefused_data() {
    QTest::addColumn<TankConfigRecord_t>("record");
    QTest::newRow("wall as thick as half the height") << tank(TankKindE::Toroid, 600, 20, 172, 10);
    QTest::newRow("hole as wide as the tank") << tank(TankKindE::Toroid, 600, 200, 600);
    QTest::newRow("zero diameter") << tank(TankKindE::CylinderH, 0, 640);
    QTest::newRow("zero length") << tank(TankKindE::CylinderV, 300, 0);
    QTest::newRow("solid of no height") << tank(TankKindE::CylinderP, 720, 6, 0, 3);
}

void TankTest_t::noInnerSpace_isRefused() {
    QFETCH(TankConfigRecord_t, record);
    QVERIFY(!TankGeometry_t::fromRecord(record));
}

void TankTest_t::table_rows_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("levels");
    // Inner height 194 mm: the top is always the last row.
    QTest::newRow("default step") << DEFAULT_TABLE_STEP_MM
                                  << QList<int>{0,   10,  20,  30,  40,  50,  60,  70,  80,  90, 100,
                                                110, 120, 130, 140, 150, 160, 170, 180, 190, 194};
    QTest::newRow("step dividing the height") << 97 << QList<int>{0, 97, 194};
    QTest::newRow("step beyond the height") << 500 << QList<int>{0, 194};
}

void TankTest_t::table_rows() {
    QFETCH(int, step);
    QFETCH(QList<int>, levels);
    const TankGeometry_t g = geometry(tank(TankKindE::Toroid, 600, 200, 172, 3));
    const TankTable_t table = tankTable(g, step);
    QList<int> got;
    for (const TankTableRow_t& row : table) {
        got << row.levelMm;
        QCOMPARE(row.litres, g.fillAt(row.levelMm).litres);
    }
    QCOMPARE(got, levels);
    QCOMPARE(table.back().percent, 100.0);
}

void TankTest_t::csv_lines_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QChar>("decimalMark");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("neutral") << QChar(',') << QChar('.') << CsvFormat_t().header
                             << QStringList{"level_mm,litres,percent", "0,0.00,0.00", "10,1.00,2.50",
                                            "194,39.12,100.00", ""};
    QTest::newRow("Russian spreadsheet") << QChar(';') << QChar(',')
                                         << QStringList{"Уровень, мм", "Объём, л", "x;\"y\""}
                                         << QStringList{"Уровень, мм;Объём, л;\"x;\"\"y\"\"\"", "0;0,00;0,00",
                                                        "10;1,00;2,50", "194;39,12;100,00", ""};
    QTest::newRow("tab and comma") << QChar('\t') << QChar(',') << QStringList{"a", "b", "c"}
                                   << QStringList{"a\tb\tc", "0\t0,00\t0,00", "10\t1,00\t2,50", "194\t39,12\t100,00",
                                                  ""};
}

void TankTest_t::csv_lines() {
    QFETCH(QChar, separator);
    QFETCH(QChar, decimalMark);
    QFETCH(QStringList, header);
    QFETCH(QStringList, lines);
    const TankTable_t rows{{0, 0, 0}, {10, 1.004, 2.5}, {194, 39.123, 100}};
    QCOMPARE(tankTableCsv(rows, CsvFormat_t{separator, decimalMark, header}).split('\n'), lines);
    QVERIFY(isValidCsvFormat({separator, decimalMark, header}));
    QVERIFY(!isValidCsvFormat({separator, separator, header}));
}

QTEST_GUILESS_MAIN(TankTest_t)
#include "test_tank.moc"
