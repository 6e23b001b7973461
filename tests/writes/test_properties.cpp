// The properties dialog's apply against the emulated sensor: the mixture with its liquid name and the unchanged
// active record first, then record 2 with the new wall; and a tank apply before it, whose record and activation the
// properties apply must keep.

#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "writeflow.h"

#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;
using namespace WriteFlow;

namespace {

json tankConfig(int mixture, const char* liquid, int active) {
    return {{"TankConfig", {{"Mixture", mixture}, {"Liquid", liquid}, {"Active", active}}}};
}

} // namespace

class PropertiesTest_t : public QObject {
    Q_OBJECT

private slots:
    void propertiesApply_writesMixtureThenRecordTwoWithTheNewWall_data();
    void propertiesApply_writesMixtureThenRecordTwoWithTheNewWall();
    void tankApplyThenPropertiesApply_writesBackWhatWasApplied_data();
    void tankApplyThenPropertiesApply_writesBackWhatWasApplied();
};

void PropertiesTest_t::propertiesApply_writesMixtureThenRecordTwoWithTheNewWall_data() {
    QTest::addColumn<int>("active"); // as the sensor has it
    QTest::addColumn<int>("mixture");
    QTest::addColumn<int>("wall");
    QTest::addColumn<QString>("liquid");

    QTest::newRow("record 0 active, 95% propane") << 0 << 95 << 5 << "Propane";
    QTest::newRow("record 0 active, 94% propane") << 0 << 94 << 1 << "Butane";
    QTest::newRow("record 1 active, 5% propane") << 1 << 5 << 15 << "Butane";
    QTest::newRow("record 2 active, 70% propane") << 2 << 70 << 8 << "Butane";
}

void PropertiesTest_t::propertiesApply_writesMixtureThenRecordTwoWithTheNewWall() {
    QFETCH(int, active);
    QFETCH(int, mixture);
    QFETCH(int, wall);
    QFETCH(QString, liquid);
    WindowHarness_t h;
    QVERIFY(h.loadState(0, tankConfig(40, "Mix", active)));
    const json before = h.emulator().stateJson();
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());

    h.propertiesDialog()->setMixture(mixture);
    wallBox(h)->setValue(wall);
    h.propertiesDialog()->applyButton()->click();
    QVERIFY(!h.propertiesDialog()->applyButton()->isEnabled());
    QVERIFY(!h.widget("btnApplyP")->isEnabled());

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED_RESTART});
    json record = before["Records"][2];
    record["Wall"] = wall;
    QCOMPARE(session.requestsSinceReading(),
             (QStringList{tankConfigWrite(mixture, qPrintable(liquid), active), recordWrite(record)}));
    json expected = before;
    expected["TankConfig"] = tankConfig(mixture, qPrintable(liquid), active)["TankConfig"];
    expected["Records"][2] = record;
    QCOMPARE(h.emulator().stateJson(), expected);
    QVERIFY(h.propertiesDialog()->applyButton()->isEnabled());
    QVERIFY(h.widget("btnApplyP")->isEnabled());
}

void PropertiesTest_t::tankApplyThenPropertiesApply_writesBackWhatWasApplied_data() {
    QTest::addColumn<TankKindE>("kind");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QString>("tank");
    QTest::addColumn<int>("active");     // after the tank apply
    QTest::addColumn<json>("recordTwo"); // after the properties apply with wall 9

    const json sensorRecordTwo = tankRecord(2, TankKindE::Toroid, 600, 200, 172, 9);
    QTest::newRow("standard vertical cylinder")
        << TankKindE::CylinderV << false << "300x1000 65L" << 2 << tankRecord(2, TankKindE::CylinderV, 300, 1000, 0, 9);
    QTest::newRow("custom horizontal cylinder")
        << TankKindE::CylinderH << true << QString() << 2 << tankRecord(2, TankKindE::CylinderH, 480, 900, 0, 9);
    QTest::newRow("the sensor's record 1") << TankKindE::Toroid << false << "630x250" << 1 << sensorRecordTwo;
    QTest::newRow("the sensor's record 0") << TankKindE::CylinderH << false << "300x640" << 0 << sensorRecordTwo;
}

void PropertiesTest_t::tankApplyThenPropertiesApply_writesBackWhatWasApplied() {
    QFETCH(TankKindE, kind);
    QFETCH(bool, custom);
    QFETCH(QString, tank);
    QFETCH(int, active);
    QFETCH(json, recordTwo);
    WindowHarness_t h;
    // The emulator's records: 0 a horizontal cylinder 300x640, 1 the toroid 630x250, 2 a custom toroid 600/172/200.
    QVERIFY(h.loadState(0, tankConfig(70, "Mix", 2)));
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());

    showTankKind(h, kind, custom);
    if (custom) {
        h.widget<QSpinBox>("spboxCustomOutDiaP")->setValue(480);
        h.widget<QSpinBox>("spboxCustomHeigthP")->setValue(900);
    } else {
        QVERIFY2(chooseTank(h, tank), qPrintable(tank));
    }
    wallBox(h)->setValue(4);
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});

    h.propertiesDialog()->setMixture(60);
    wallBox(h)->setValue(9);
    h.propertiesDialog()->applyButton()->click();
    QVERIFY(closer.waitForCount(2));
    QCOMPARE(closer.texts().last(), SAVED_RESTART);
    QCOMPARE(session.requestsSinceReading().mid(session.requestsSinceReading().size() - 2),
             (QStringList{tankConfigWrite(60, "Butane", active), recordWrite(recordTwo)}));
    const json state = h.emulator().stateJson();
    QCOMPARE(state["TankConfig"], tankConfig(60, "Butane", active)["TankConfig"]);
    QCOMPARE(state["Records"][2], recordTwo);
}

QTEST_MAIN(PropertiesTest_t)
#include "test_properties.moc"
