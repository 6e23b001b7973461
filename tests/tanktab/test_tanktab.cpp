// The parameters tab's tank selection on the real window: the state after construction, what a reading of the
// sensor's records shows (fed as the connection feeds it), what the shape buttons and the custom box rebuild, and
// that an apply right after reading the emulated sensor writes back exactly what it holds.
#include "logcapture.h"
#include "mainwindow.h"
#include "modalboxcloser.h"
#include "sensorstate.h"
#include "tankfixtures.h"
#include "tankkind.h"
#include "widgetlookup.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <algorithm>
#include <array>

namespace {
using Records_t = std::array<TankConfigRecord_t, TANK_RECORD_COUNT>;
}
Q_DECLARE_METATYPE(TankConfigRecord_t)
Q_DECLARE_METATYPE(Records_t)

namespace {

// Records 0 and 1 of kinds other than the one under test, with record 2 as given.
Records_t withRecord2(const TankConfigRecord_t& r2) {
    return {makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
            makeTankRecord(1, TankKindE::CylinderP, 720, 200, 0, 3), r2};
}

// What the connection does with a complete reading.
void read(MainWindow_t& window, const Records_t& records, int active) {
    window.clearTankList();
    for (const TankConfigRecord_t& r : records)
        window.addDeviceRecord(r, r.id == active);
    window.fillStandardTanks();
    window.applyActiveTankToUi();
}

QStringList items(const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QString checkedShape(const QWidget& window) {
    for (const char* name : {"rbuttToroidP", "rbuttCylinderP_P", "rbuttCylinderHV_P"})
        if (child<QRadioButton>(window, name)->isChecked())
            return QString::fromLatin1(name);
    return {};
}

QString checkedOrientation(const QWidget& window) {
    return child<QRadioButton>(window, "rbuttCylinderH_P")->isChecked() ? "rbuttCylinderH_P" : "rbuttCylinderV_P";
}

bool shows(const QWidget& window, const char* name) {
    return child(window, name)->isVisibleTo(&window);
}

bool showsPicture(const QWidget& window, const char* label, const QString& path) {
    // Both through QPixmap: it stores premultiplied pixels, which do not convert back to the file's exactly.
    return child<QLabel>(window, label)->pixmap(Qt::ReturnByValue).toImage() == QPixmap(path).toImage();
}

} // namespace

class TankTabTest_t : public QObject {
    Q_OBJECT

private slots:
    void construction_startsOnStandardToroidsAfterOneShapelessRebuild();
    void reading_showsActiveCatalogueTank_data();
    void reading_showsActiveCatalogueTank();
    void reading_showsActiveCustomTank_data();
    void reading_showsActiveCustomTank();
    void reading_twiceDoesNotPileUpEntries();
    void horizontalCylinderClicked_clampsSelectedToroidDiameterTo500();
    void shapeClicks_showTheKindsListAndPicture_data();
    void shapeClicks_showTheKindsListAndPicture();
    void customBox_swapsListForDimensionsAndBack();
    void rebuild_logsItsStepsInOrder_data();
    void rebuild_logsItsStepsInOrder();
    void applyAfterReading_leavesTheSensorAsItWas_data();
    void applyAfterReading_leavesTheSensorAsItWas();
};

void TankTabTest_t::construction_startsOnStandardToroidsAfterOneShapelessRebuild() {
    LogCapture_t log;
    MainWindow_t window;

    QCOMPARE(log.texts(QtCriticalMsg).count("no more tank types!"), 1);
    const std::vector<LogCapture_t::Entry_t> entries = log.entries();
    const auto isText = [](const QString& text) {
        return [text](const LogCapture_t::Entry_t& entry) { return entry.text == text; };
    };
    const auto noShape = std::find_if(entries.begin(), entries.end(), isText("no more tank types!"));
    const auto toroid = std::find_if(entries.begin(), entries.end(), isText("Toroid"));
    QVERIFY(toroid != entries.end());
    QVERIFY(noShape < toroid);

    auto* tanks = child<QComboBox>(window, "cboxTanksP");
    QCOMPARE(items(tanks), STANDARD_TOROIDS);
    QCOMPARE(tanks->currentText(), QStringLiteral("600x200 42L"));
    QCOMPARE(checkedShape(window), QStringLiteral("rbuttToroidP"));
    QVERIFY(shows(window, "wdgtTankComboP"));
    QVERIFY(!shows(window, "frameCustomTankP"));
    QVERIFY(!shows(window, "frameRadioHV_P"));
    QCOMPARE(child<QLabel>(window, "lblCustomOutDiaP")->text(), QStringLiteral("Внешний диаметр, мм:"));
    QCOMPARE(child<QLabel>(window, "lblCustomHeigthP")->text(), QStringLiteral("Высота, мм:"));
    QVERIFY(showsPicture(window, "lblCylinderHV_P", ":/Images/CylinderH.png"));
}

void TankTabTest_t::reading_showsActiveCatalogueTank_data() {
    QTest::addColumn<Records_t>("records");
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QStringList>("expectedItems");
    QTest::addColumn<QString>("current");

    QTest::newRow("record 2 toroid 600x200 inner 172 is the catalogue tank")
        << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3)) << 2 << "rbuttToroidP"
        << STANDARD_TOROIDS << "600x200 42L";
    QTest::newRow("record 2 solid 720x270 is the catalogue tank")
        << withRecord2(makeTankRecord(2, TankKindE::CylinderP, 720, 270, 0, 3)) << 2 << "rbuttCylinderP_P"
        << QStringList{"720x200"} + STANDARD_SOLIDS << "720x270 93L";
    QTest::newRow("record 2 horizontal 356x1005 is the catalogue tank")
        << withRecord2(makeTankRecord(2, TankKindE::CylinderH, 356, 1005, 0, 3)) << 2 << "rbuttCylinderHV_P"
        << STANDARD_CYLINDERS << "356x1005 90L";
    QTest::newRow("record 0 vertical 300x640 is listed first and current")
        << Records_t{makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                     makeTankRecord(1, TankKindE::Toroid, 630, 250, 172, 3),
                     makeTankRecord(2, TankKindE::CylinderH, 356, 920, 0, 3)}
        << 0 << "rbuttCylinderHV_P" << QStringList{"300x640"} + STANDARD_CYLINDERS << "300x640";
    QTest::newRow("record 1 toroid is listed before the catalogue and current")
        << Records_t{makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                     makeTankRecord(1, TankKindE::Toroid, 630, 250, 172, 3),
                     makeTankRecord(2, TankKindE::CylinderH, 356, 920, 0, 3)}
        << 1 << "rbuttToroidP" << QStringList{"630x250"} + STANDARD_TOROIDS << "630x250";
}

void TankTabTest_t::reading_showsActiveCatalogueTank() {
    QFETCH(Records_t, records);
    QFETCH(int, active);
    QFETCH(QString, shape);
    QFETCH(QStringList, expectedItems);
    QFETCH(QString, current);
    MainWindow_t window;
    // A custom tank shown before must not survive a reading whose active tank is a listed one.
    child<QCheckBox>(window, "cboxIsCustomP")->click();

    read(window, records, active);

    QCOMPARE(checkedShape(window), shape);
    QVERIFY(!child<QCheckBox>(window, "cboxIsCustomP")->isChecked());
    QVERIFY(shows(window, "wdgtTankComboP"));
    QVERIFY(!shows(window, "frameCustomTankP"));
    auto* tanks = child<QComboBox>(window, "cboxTanksP");
    QCOMPARE(items(tanks), expectedItems);
    QCOMPARE(tanks->currentText(), current);
}

void TankTabTest_t::reading_showsActiveCustomTank_data() {
    QTest::addColumn<TankConfigRecord_t>("record2");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("orientation"); // checked orientation button, empty when the frame is hidden
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner"); // -1: the inner diameter row is hidden
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("outerLabel");
    QTest::addColumn<QString>("heightLabel");

    QTest::newRow("toroid 600x200 inner 150 is no catalogue tank")
        << makeTankRecord(2, TankKindE::Toroid, 600, 200, 150, 3) << "rbuttToroidP"
        << "" << 600 << 150 << 200 << "Внешний диаметр, мм:"
        << "Высота, мм:";
    QTest::newRow("horizontal 350x900 is in no catalogue text")
        << makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3) << "rbuttCylinderHV_P"
        << "rbuttCylinderH_P" << 350 << -1 << 900 << "Диаметр, мм"
        << "Длина, мм:";
    QTest::newRow("vertical 350x900 is in no catalogue text, and higher than 500")
        << makeTankRecord(2, TankKindE::CylinderV, 350, 900, 0, 3) << "rbuttCylinderHV_P"
        << "rbuttCylinderV_P" << 350 << -1 << 900 << "Диаметр, мм"
        << "Длина, мм:";
    QTest::newRow("toroid written with inner 0 reads back as a solid tank")
        << makeTankRecord(2, TankKindE::Toroid, 600, 200, 0, 3) << "rbuttCylinderP_P"
        << "" << 600 << -1 << 200 << "Диаметр, мм"
        << "Высота, мм:";
}

void TankTabTest_t::reading_showsActiveCustomTank() {
    QFETCH(TankConfigRecord_t, record2);
    QFETCH(QString, shape);
    QFETCH(QString, orientation);
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(int, height);
    QFETCH(QString, outerLabel);
    QFETCH(QString, heightLabel);
    MainWindow_t window;

    read(window, withRecord2(record2), 2);

    QCOMPARE(checkedShape(window), shape);
    QCOMPARE(shows(window, "frameRadioHV_P"), !orientation.isEmpty());
    if (!orientation.isEmpty())
        QCOMPARE(checkedOrientation(window), orientation);
    QVERIFY(child<QCheckBox>(window, "cboxIsCustomP")->isChecked());
    QVERIFY(shows(window, "frameCustomTankP"));
    QVERIFY(!shows(window, "wdgtTankComboP"));
    QCOMPARE(child<QSpinBox>(window, "spboxCustomOutDiaP")->value(), outer);
    QCOMPARE(child<QSpinBox>(window, "spboxCustomHeigthP")->value(), height);
    QCOMPARE(shows(window, "spboxCustomInDiaP"), inner >= 0);
    QCOMPARE(shows(window, "lblCustomInDiaP"), inner >= 0);
    if (inner >= 0)
        QCOMPARE(child<QSpinBox>(window, "spboxCustomInDiaP")->value(), inner);
    QCOMPARE(child<QLabel>(window, "lblCustomOutDiaP")->text(), outerLabel);
    QCOMPARE(child<QLabel>(window, "lblCustomHeigthP")->text(), heightLabel);
    QVERIFY(!shows(window, "lblCustomVolumeP"));
    QVERIFY(!shows(window, "spboxCustomVolumeP"));
}

void TankTabTest_t::reading_twiceDoesNotPileUpEntries() {
    MainWindow_t window;
    const Records_t records = {makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                               makeTankRecord(1, TankKindE::Toroid, 630, 250, 172, 3),
                               makeTankRecord(2, TankKindE::CylinderH, 356, 920, 0, 3)};

    read(window, records, 0);
    read(window, records, 0);

    QCOMPARE(items(child<QComboBox>(window, "cboxTanksP")), QStringList{"300x640"} + STANDARD_CYLINDERS);
    // The catalogue starts right after the three records.
    TankListEntry entry;
    int position = -1;
    QVERIFY(window.findEntry("600x200 42L", TankKindE::Toroid, entry, position));
    QCOMPARE(position, 3);
}

void TankTabTest_t::horizontalCylinderClicked_clampsSelectedToroidDiameterTo500() {
    MainWindow_t window;
    read(window, withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3)), 2);
    QCOMPARE(child<QComboBox>(window, "cboxTanksP")->currentText(), QStringLiteral("600x200 42L"));

    child<QRadioButton>(window, "rbuttCylinderHV_P")->click();

    QCOMPARE(child<QSpinBox>(window, "spboxCustomOutDiaP")->value(), 500);
    QCOMPARE(child<QSpinBox>(window, "spboxCustomHeigthP")->value(), 200);
    QVERIFY(shows(window, "frameRadioHV_P"));
    QCOMPARE(items(child<QComboBox>(window, "cboxTanksP")), STANDARD_CYLINDERS);
}

void TankTabTest_t::shapeClicks_showTheKindsListAndPicture_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("expectedItems");
    QTest::addColumn<QString>("cylinderPicture");
    QTest::addColumn<bool>("orientationShown");

    QTest::newRow("solid") << QStringList{"rbuttCylinderP_P"} << STANDARD_SOLIDS << ":/Images/CylinderH.png" << false;
    QTest::newRow("cylindric, horizontal at start")
        << QStringList{"rbuttCylinderHV_P"} << STANDARD_CYLINDERS << ":/Images/CylinderH.png" << true;
    QTest::newRow("cylindric, vertical") << QStringList{"rbuttCylinderHV_P", "rbuttCylinderV_P"} << STANDARD_CYLINDERS
                                         << ":/Images/CylinderV.png" << true;
    QTest::newRow("vertical, then back to horizontal")
        << QStringList{"rbuttCylinderHV_P", "rbuttCylinderV_P", "rbuttCylinderH_P"} << STANDARD_CYLINDERS
        << ":/Images/CylinderH.png" << true;
    QTest::newRow("vertical, then toroid keeps the vertical picture")
        << QStringList{"rbuttCylinderHV_P", "rbuttCylinderV_P", "rbuttToroidP"} << STANDARD_TOROIDS
        << ":/Images/CylinderV.png" << false;
}

void TankTabTest_t::shapeClicks_showTheKindsListAndPicture() {
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, expectedItems);
    QFETCH(QString, cylinderPicture);
    QFETCH(bool, orientationShown);
    MainWindow_t window;

    for (const QString& name : clicks)
        child<QRadioButton>(window, name.toLatin1().constData())->click();

    auto* tanks = child<QComboBox>(window, "cboxTanksP");
    QCOMPARE(items(tanks), expectedItems);
    QCOMPARE(tanks->currentIndex(), 0);
    QVERIFY(showsPicture(window, "lblCylinderHV_P", cylinderPicture));
    QCOMPARE(shows(window, "frameRadioHV_P"), orientationShown);
}

void TankTabTest_t::customBox_swapsListForDimensionsAndBack() {
    MainWindow_t window;
    auto* custom = child<QCheckBox>(window, "cboxIsCustomP");

    custom->click();
    QVERIFY(shows(window, "frameCustomTankP"));
    QVERIFY(!shows(window, "wdgtTankComboP"));
    QVERIFY(shows(window, "spboxCustomInDiaP"));
    QVERIFY(!shows(window, "spboxCustomVolumeP"));
    QVERIFY(!shows(window, "lblCustomVolumeP"));

    custom->click();
    QVERIFY(!shows(window, "frameCustomTankP"));
    QVERIFY(shows(window, "wdgtTankComboP"));
    QCOMPARE(items(child<QComboBox>(window, "cboxTanksP")), STANDARD_TOROIDS);
}

void TankTabTest_t::rebuild_logsItsStepsInOrder_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("logged"); // info lines of the last click's rebuild

    QTest::newRow("toroid") << QStringList{"rbuttToroidP"}
                            << QStringList{"slotUpdateTankList", "Not CylinderHV", "Toroid", "Not Custom"};
    QTest::newRow("solid") << QStringList{"rbuttCylinderP_P"}
                           << QStringList{"slotUpdateTankList", "Not CylinderHV", "CylinderP", "Not Custom"};
    QTest::newRow("cylindric, custom") << QStringList{"rbuttCylinderHV_P", "cboxIsCustomP"}
                                       << QStringList{"slotUpdateTankList", "CylinderHV", "Custom"};
}

void TankTabTest_t::rebuild_logsItsStepsInOrder() {
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, logged);
    MainWindow_t window;
    const QString last = clicks.takeLast();
    for (const QString& name : clicks)
        child<QAbstractButton>(window, name.toLatin1().constData())->click();

    LogCapture_t log;
    child<QAbstractButton>(window, last.toLatin1().constData())->click();

    QCOMPARE(log.texts(QtInfoMsg), logged);
    QVERIFY(log.texts(QtCriticalMsg).isEmpty());
}

void TankTabTest_t::applyAfterReading_leavesTheSensorAsItWas_data() {
    QTest::addColumn<Records_t>("records"); // the emulator's record 2 is the active one
    QTest::newRow("toroid 600x20 stays 600x20, not 600x200 42L")
        << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 20, 172, 3));
    QTest::newRow("vertical cylinder 350x900 keeps its height")
        << withRecord2(makeTankRecord(2, TankKindE::CylinderV, 350, 900, 0, 3));
    QTest::newRow("record 0, the same as the active record 2, is not activated in its place")
        << Records_t{makeTankRecord(0, TankKindE::CylinderH, 350, 900, 0, 3),
                     makeTankRecord(1, TankKindE::CylinderP, 720, 200, 0, 3),
                     makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3)};
}

void TankTabTest_t::applyAfterReading_leavesTheSensorAsItWas() {
    QFETCH(Records_t, records);
    WindowHarness_t h;
    nlohmann::json stored = nlohmann::json::array();
    for (const TankConfigRecord_t& r : records)
        stored.push_back(recordToJson(r));
    QVERIFY(h.loadState(0, {{"Records", stored}}));
    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    h.widget<QPushButton>("btnApplyP")->click();

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{QStringLiteral("Настройки успешно сохранены!")});
    // An apply writes nothing but record 2 and the active record.
    const nlohmann::json after = h.emulator().stateJson();
    QCOMPARE(QString::fromStdString(after["Records"][2].dump()), QString::fromStdString(stored[2].dump()));
    QCOMPARE(after["TankConfig"]["Active"].get<int>(), 2);
}

QTEST_MAIN(TankTabTest_t)
#include "test_tanktab.moc"
