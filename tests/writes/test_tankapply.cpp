// "Применить" on the parameters tab against the emulated sensor: which record the sensor stores and which requests it
// receives, for standard and custom tanks of every shape and for the sensor's own records.

#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "tankcatalogue.h"
#include "writeflow.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;
using namespace WriteFlow;

namespace {

// The sensor's records 0 and 1 for a test; record 2 and the active record stay as the emulator has them.
json recordsZeroAndOne(const json& zero, const json& one, const json& state) {
    return {{"Records", {zero, one, state["Records"][2]}}};
}

} // namespace

class TankApplyTest_t : public QObject {
    Q_OBJECT

private slots:
    void tankApply_writesRecordTwoThenActivatesIt_data();
    void tankApply_writesRecordTwoThenActivatesIt();
    void sensorRecordItem_onlyActivatesThatRecord_data();
    void sensorRecordItem_onlyActivatesThatRecord();
    void sensorSkippedRecords_standardTankIsStillWritten_data();
    void sensorSkippedRecords_standardTankIsStillWritten();
    void itemWithoutListEntry_sendsNothingAndGivesTheControlsBack();
};

void TankApplyTest_t::tankApply_writesRecordTwoThenActivatesIt_data() {
    QTest::addColumn<TankKindE>("kind");
    QTest::addColumn<bool>("custom");
    QTest::addColumn<QString>("tank");   // list mode: the item chosen
    QTest::addColumn<QList<int>>("box"); // custom mode: outer, length or height, inner diameter box
    QTest::addColumn<int>("wall");       // the properties dialog's wall thickness
    QTest::addColumn<json>("expected");

    QTest::newRow("standard toroid 630x250 60L") << TankKindE::Toroid << false << "630x250 60L" << QList<int>() << 3
                                                 << tankRecord(2, TankKindE::Toroid, 630, 250, 172, 3);
    QTest::newRow("standard solid tank 720x200 65L: inner 0")
        << TankKindE::CylinderP << false << "720x200 65L" << QList<int>() << 3
        << tankRecord(2, TankKindE::CylinderP, 720, 200, 0, 3);
    QTest::newRow("standard vertical cylinder 300x1000 65L")
        << TankKindE::CylinderV << false << "300x1000 65L" << QList<int>() << 3
        << tankRecord(2, TankKindE::CylinderV, 300, 1000, 0, 3);
    QTest::newRow("standard horizontal cylinder 356x920 80L")
        << TankKindE::CylinderH << false << "356x920 80L" << QList<int>() << 3
        << tankRecord(2, TankKindE::CylinderH, 356, 920, 0, 3);
    QTest::newRow("standard tank with dialog wall 7: wall 3")
        << TankKindE::Toroid << false << "720x240 83L" << QList<int>() << 7
        << tankRecord(2, TankKindE::Toroid, 720, 240, 172, 3);
    QTest::newRow("custom toroid 700/150/240, wall 5")
        << TankKindE::Toroid << true << QString() << QList<int>{700, 240, 150} << 5
        << tankRecord(2, TankKindE::Toroid, 700, 240, 150, 5);
    QTest::newRow("custom horizontal cylinder, inner box 300: inner 0")
        << TankKindE::CylinderH << true << QString() << QList<int>{480, 900, 300} << 4
        << tankRecord(2, TankKindE::CylinderH, 480, 900, 0, 4);
    QTest::newRow("custom vertical cylinder, wall 15")
        << TankKindE::CylinderV << true << QString() << QList<int>{450, 480, 300} << 15
        << tankRecord(2, TankKindE::CylinderV, 450, 480, 0, 15);
    QTest::newRow("custom solid tank, inner box 300: inner 0")
        << TankKindE::CylinderP << true << QString() << QList<int>{690, 210, 300} << 2
        << tankRecord(2, TankKindE::CylinderP, 690, 210, 0, 2);
}

void TankApplyTest_t::tankApply_writesRecordTwoThenActivatesIt() {
    QFETCH(TankKindE, kind);
    QFETCH(bool, custom);
    QFETCH(QString, tank);
    QFETCH(QList<int>, box);
    QFETCH(int, wall);
    QFETCH(json, expected);

    WindowHarness_t h;
    // Record 0 active, so that the activation of record 2 shows in what the sensor stored.
    QVERIFY(h.loadState(0, {{"TankConfig", {{"Mixture", 70}, {"Liquid", "Mix"}, {"Active", 0}}}}));
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());

    showTankKind(h, kind, custom);
    if (custom) {
        h.widget<QSpinBox>("spboxCustomOutDiaP")->setValue(box[0]);
        h.widget<QSpinBox>("spboxCustomHeigthP")->setValue(box[1]);
        h.widget<QSpinBox>("spboxCustomInDiaP")->setValue(box[2]);
    } else {
        QVERIFY2(chooseTank(h, tank), qPrintable(tank));
    }
    wallBox(h)->setValue(wall);
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(!h.widget("btnApplyP")->isEnabled());

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    QCOMPARE(session.requestsSinceReading(), (QStringList{recordWrite(expected), activation(2)}));
    const json state = h.emulator().stateJson();
    QCOMPARE(state["Records"][2], expected);
    QCOMPARE(state["TankConfig"]["Active"], json(2));
    QVERIFY(h.widget("btnApplyP")->isEnabled());
    QVERIFY(h.propertiesDialog()->applyButton()->isEnabled());
}

void TankApplyTest_t::sensorRecordItem_onlyActivatesThatRecord_data() {
    QTest::addColumn<json>("zero");
    QTest::addColumn<json>("one");
    QTest::addColumn<TankKindE>("kind");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("active");

    const json cylinderH = tankRecord(0, TankKindE::CylinderH, 300, 640, 0, 3);
    const json toroid = tankRecord(1, TankKindE::Toroid, 630, 250, 172, 3);
    QTest::newRow("record 1, a toroid beside a horizontal cylinder")
        << cylinderH << toroid << TankKindE::Toroid << "630x250" << 1;
    QTest::newRow("record 1, a toroid beside another toroid")
        << tankRecord(0, TankKindE::Toroid, 600, 200, 172, 3) << toroid << TankKindE::Toroid << "630x250" << 1;
    QTest::newRow("record 1, a solid tank of a custom size")
        << cylinderH << tankRecord(1, TankKindE::CylinderP, 705, 215, 0, 6) << TankKindE::CylinderP << "705x215" << 1;
    QTest::newRow("record 1, a vertical cylinder beside a vertical cylinder")
        << tankRecord(0, TankKindE::CylinderV, 300, 780, 0, 3) << tankRecord(1, TankKindE::CylinderV, 300, 1000, 0, 3)
        << TankKindE::CylinderV << "300x1000" << 1;
    QTest::newRow("record 0, a horizontal cylinder") << cylinderH << toroid << TankKindE::CylinderH << "300x640" << 0;
}

void TankApplyTest_t::sensorRecordItem_onlyActivatesThatRecord() {
    QFETCH(json, zero);
    QFETCH(json, one);
    QFETCH(TankKindE, kind);
    QFETCH(QString, item);
    QFETCH(int, active);

    WindowHarness_t h;
    QVERIFY(h.loadState(0, recordsZeroAndOne(zero, one, h.emulator().stateJson())));
    const json before = h.emulator().stateJson();
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());

    showTankKind(h, kind, false);
    QVERIFY2(chooseTank(h, item), qPrintable(item));
    wallBox(h)->setValue(9); // an activation writes no wall
    h.widget<QPushButton>("btnApplyP")->click();

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    QCOMPARE(session.requestsSinceReading(), QStringList{activation(active)});
    json expected = before;
    expected["TankConfig"]["Active"] = active;
    QCOMPARE(h.emulator().stateJson(), expected);
    QVERIFY(h.widget("btnApplyP")->isEnabled());
}

void TankApplyTest_t::sensorSkippedRecords_standardTankIsStillWritten_data() {
    QTest::addColumn<QString>("tank");
    // Right after the sensor's records, where a full reading has records 1 and 2.
    QTest::newRow("first standard tank") << "600x200 42L";
    QTest::newRow("second standard tank") << "600x220 47L";
}

void TankApplyTest_t::sensorSkippedRecords_standardTankIsStillWritten() {
    QFETCH(QString, tank);
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"TankConfig", {{"Mixture", 70}, {"Liquid", "Mix"}, {"Active", 0}}}}));
    // Asked for record 0, the sensor sends record 2: the reading ends with that one record.
    EmulatorFaults_t faults;
    faults.overridePrefix = requestText(json::array({"TankConfig", {{"id", 0}}}));
    faults.overrideReply = json::array({"TankConfig", h.emulator().stateJson()["Records"][2]});
    h.emulator().setFaults(faults);
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    h.emulator().setFaults({});

    showTankKind(h, TankKindE::Toroid, false);
    QVERIFY(chooseTank(h, tank));
    h.widget<QPushButton>("btnApplyP")->click();
    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    int outer = 0;
    int size = 0;
    parseTankText(tank.toUtf8(), outer, size);
    const json expected = tankRecord(2, TankKindE::Toroid, outer, size, 172, 3);
    QCOMPARE(session.requestsSinceReading(), (QStringList{recordWrite(expected), activation(2)}));
    QCOMPARE(h.emulator().stateJson()["Records"][2], expected);
}

void TankApplyTest_t::itemWithoutListEntry_sendsNothingAndGivesTheControlsBack() {
    WindowHarness_t h;
    ModalBoxCloser_t closer;
    Session_t session(h);
    QVERIFY(session.connectAndRead());
    showTankKind(h, TankKindE::Toroid, false);
    auto* tanks = h.widget<QComboBox>("cboxTanksP");
    tanks->addItem(QStringLiteral("999x999 1L")); // a box out of step with the window's tank list
    tanks->setCurrentIndex(tanks->count() - 1);

    h.widget<QPushButton>("btnApplyP")->click();
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Выберите бак из списка.")});
    QTest::qWait(300);
    QCOMPARE(session.requestsSinceReading(), QStringList());
    for (QWidget* control : {h.widget("btnApplyP"), h.widget("btnSetDefaultP"),
                             static_cast<QWidget*>(h.propertiesDialog()->applyButton())})
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));

    // Idle again: the properties apply starts from there and goes through.
    h.propertiesDialog()->applyButton()->click();
    QVERIFY(closer.waitForCount(2));
    QCOMPARE(closer.texts().last(), SAVED_RESTART);
}

QTEST_MAIN(TankApplyTest_t)
#include "test_tankapply.moc"
