// Tank kinds and unit names both ways: the mapping the window and the emulator rely on.

#include "devicerecords.h"
#include "tankkind.h"

#include <QtTest>

Q_DECLARE_METATYPE(TankKindE)

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void kindOfRecord_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<int>("inner");
        QTest::addColumn<TankKindE>("kind");
        QTest::newRow("toroid") << "Toroidal"
                                << "Horizontal" << 172 << TankKindE::Toroid;
        QTest::newRow("toroidal with inner 0 is solid") << "Toroidal"
                                                        << "Horizontal" << 0 << TankKindE::CylinderP;
        QTest::newRow("toroidal vertical still toroid") << "Toroidal"
                                                        << "Vertical" << 150 << TankKindE::Toroid;
        QTest::newRow("horizontal cylinder") << "Cylindric"
                                             << "Horizontal" << 0 << TankKindE::CylinderH;
        QTest::newRow("cylinder inner ignored") << "Cylindric"
                                                << "Horizontal" << 172 << TankKindE::CylinderH;
        QTest::newRow("vertical cylinder") << "Cylindric"
                                           << "Vertical" << 0 << TankKindE::CylinderV;
        QTest::newRow("empty orientation is vertical") << "Cylindric"
                                                       << "" << 0 << TankKindE::CylinderV;
        QTest::newRow("unknown shape, horizontal") << "Cube"
                                                   << "Horizontal" << 0 << TankKindE::CylinderH;
        QTest::newRow("shape is case-sensitive") << "toroidal"
                                                 << "Horizontal" << 172 << TankKindE::CylinderH;
        QTest::newRow("orientation is case-sensitive") << "Cylindric"
                                                       << "horizontal" << 0 << TankKindE::CylinderV;
    }
    void kindOfRecord() {
        QFETCH(QString, shape);
        QFETCH(QString, orientation);
        QFETCH(int, inner);
        QFETCH(TankKindE, kind);
        TankConfigRecord_t r;
        r.Shape = shape;
        r.Orientation = orientation;
        r.InnerDiameter = inner;
        QCOMPARE(tankKindOf(r), kind);
    }

    void makeTankRecord_wireFieldsAndKindReadBack_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<int>("inner"); // the inner diameter given to the builder
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<int>("written"); // InnerDiameter of the record
        QTest::addColumn<TankKindE>("readBack");
        QTest::newRow("toroid keeps its inner diameter") << TankKindE::Toroid << 150 << "Toroidal"
                                                         << "Horizontal" << 150 << TankKindE::Toroid;
        QTest::newRow("toroid with inner 0 reads back as solid") << TankKindE::Toroid << 0 << "Toroidal"
                                                                 << "Horizontal" << 0 << TankKindE::CylinderP;
        QTest::newRow("solid writes inner 0") << TankKindE::CylinderP << 150 << "Toroidal"
                                              << "Horizontal" << 0 << TankKindE::CylinderP;
        QTest::newRow("horizontal writes inner 0") << TankKindE::CylinderH << 150 << "Cylindric"
                                                   << "Horizontal" << 0 << TankKindE::CylinderH;
        QTest::newRow("vertical writes inner 0") << TankKindE::CylinderV << 150 << "Cylindric"
                                                 << "Vertical" << 0 << TankKindE::CylinderV;
    }
    void makeTankRecord_wireFieldsAndKindReadBack() {
        QFETCH(TankKindE, kind);
        QFETCH(int, inner);
        QFETCH(QString, shape);
        QFETCH(QString, orientation);
        QFETCH(int, written);
        QFETCH(TankKindE, readBack);
        const TankConfigRecord_t r = makeTankRecord(1, kind, 630, 250, inner, 7);
        QCOMPARE(r.id, 1);
        QCOMPARE(r.Shape, shape);
        QCOMPARE(r.Orientation, orientation);
        QCOMPARE(r.Height, 250);
        QCOMPARE(r.Length, 250);
        QCOMPARE(r.OuterDiameter, 630);
        QCOMPARE(r.InnerDiameter, written);
        QCOMPARE(r.Wall, 7);
        QCOMPARE(tankKindOf(r), readBack);
    }

    void units_data() {
        QTest::addColumn<QString>("wire");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("written");
        QTest::newRow("mm") << "mm" << 0 << "mm";
        QTest::newRow("litres") << "litres" << 1 << "litres";
        QTest::newRow("percent") << "percent" << 2 << "percent";
        QTest::newRow("percents is unknown") << "percents" << 0 << "mm";
        QTest::newRow("empty is unknown") << "" << 0 << "mm";
        QTest::newRow("case matters") << "Litres" << 0 << "mm";
    }
    void units() {
        QFETCH(QString, wire);
        QFETCH(int, index);
        QFETCH(QString, written);
        QCOMPARE(unitsIndex(wire), index);
        QCOMPARE(unitsName(index), written);
    }

    void unitsOutOfRangeIndexWritesPercent() { QCOMPARE(unitsName(7), QStringLiteral("percent")); }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
