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

    void kindRoundTrip_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<int>("inner");
        QTest::newRow("toroid keeps its inner diameter") << TankKindE::Toroid << "Toroidal"
                                                         << "Horizontal" << 150;
        QTest::newRow("solid writes inner 0") << TankKindE::CylinderP << "Toroidal"
                                              << "Horizontal" << 0;
        QTest::newRow("horizontal writes inner 0") << TankKindE::CylinderH << "Cylindric"
                                                   << "Horizontal" << 0;
        QTest::newRow("vertical writes inner 0") << TankKindE::CylinderV << "Cylindric"
                                                 << "Vertical" << 0;
    }
    void kindRoundTrip() {
        QFETCH(TankKindE, kind);
        QFETCH(QString, shape);
        QFETCH(QString, orientation);
        QFETCH(int, inner);
        const TankWireFields_t f = tankWireFields(kind, 150);
        QCOMPARE(f.Shape, shape);
        QCOMPARE(f.Orientation, orientation);
        QCOMPARE(f.InnerDiameter, inner);
        TankConfigRecord_t r;
        r.Shape = f.Shape;
        r.Orientation = f.Orientation;
        r.InnerDiameter = f.InnerDiameter;
        QCOMPARE(tankKindOf(r), kind);
    }

    void toroidWithInnerZeroReadsBackAsSolid() {
        const TankWireFields_t f = tankWireFields(TankKindE::Toroid, 0);
        TankConfigRecord_t r;
        r.Shape = f.Shape;
        r.Orientation = f.Orientation;
        r.InnerDiameter = f.InnerDiameter;
        QCOMPARE(tankKindOf(r), TankKindE::CylinderP);
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
