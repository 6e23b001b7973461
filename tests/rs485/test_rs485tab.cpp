// The RS485 tab through the real window against the emulated sensor: what the tab shows of the sensor's settings,
// what a write sends, and the period box following the periodic-output check box.

#include "modalboxcloser.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using nlohmann::json;

Q_DECLARE_METATYPE(json)

namespace {

const QString SAVED = QStringLiteral("Настройки успешно сохранены!");
const QString READ_REQUEST = QStringLiteral(R"(["OmnicommConfig"])");

json omnicomm(int address, bool txMode, const char* units, int periodSec) {
    return {{"Address", address}, {"TxMode", txMode}, {"Units", units}, {"TxPeriodSec", periodSec}};
}

// The tab's widgets as the window names them.
struct OmniTab_t {
    explicit OmniTab_t(const WindowHarness_t& h)
        : address(h.widget<QSpinBox>("spboxOmniAddr")), units(h.widget<QComboBox>("cboxOmniUnits")),
          txMode(h.widget<QCheckBox>("cboxOmniTxMode")), period(h.widget<QSpinBox>("spboxOmniTxPeriod")),
          apply(h.widget<QPushButton>("btnOmniApply")) {}

    // Whether the inputs and the apply button are enabled as one group; the period box is left out, it follows
    // the check box.
    bool groupEnabled() const {
        return address->isEnabled() && units->isEnabled() && txMode->isEnabled() && apply->isEnabled();
    }
    bool groupDisabled() const {
        return !address->isEnabled() && !units->isEnabled() && !txMode->isEnabled() && !apply->isEnabled() &&
               !period->isEnabled();
    }
    // Ticks or unticks the check box as the user does, with a click.
    void setTicked(bool ticked) const {
        if (txMode->isChecked() != ticked)
            txMode->click();
    }

    QSpinBox* address;
    QComboBox* units;
    QCheckBox* txMode;
    QSpinBox* period;
    QPushButton* apply;
};

} // namespace

class Rs485TabTest_t : public QObject {
    Q_OBJECT

private slots:
    void reading_showsTheSensorsSettings_data();
    void reading_showsTheSensorsSettings();
    void apply_writesTheTabsSettings_data();
    void apply_writesTheTabsSettings();
    void uncheckedWriteReadBack_showsPeriodZeroDisabled();
    void tickingAndUntickingByHand_switchesThePeriodBoxAtOnce();
};

void Rs485TabTest_t::reading_showsTheSensorsSettings_data() {
    QTest::addColumn<json>("reply");
    QTest::addColumn<int>("unitsIndex");
    QTest::addColumn<QString>("unitsText");

    // The sensor's reply is given whole, so names that the sensor's own store would refuse can be sent too.
    QTest::newRow("mm") << omnicomm(1, false, "mm", 0) << 0 << QStringLiteral("мм");
    QTest::newRow("litres") << omnicomm(17, true, "litres", 12) << 1 << QStringLiteral("Литры");
    QTest::newRow("percent") << omnicomm(254, true, "percent", 30) << 2 << QStringLiteral("Проценты");
    QTest::newRow("unknown name percents: mm") << omnicomm(0, false, "percents", 7) << 0 << QStringLiteral("мм");
    QTest::newRow("empty name: mm") << omnicomm(99, true, "", 1) << 0 << QStringLiteral("мм");
    QTest::newRow("name in capitals: mm") << omnicomm(5, false, "LITRES", 5) << 0 << QStringLiteral("мм");
}

void Rs485TabTest_t::reading_showsTheSensorsSettings() {
    QFETCH(json, reply);
    QFETCH(int, unitsIndex);
    QFETCH(QString, unitsText);

    WindowHarness_t h;
    EmulatorFaults_t faults;
    faults.overridePrefix = READ_REQUEST;
    faults.overrideReply = json::array({"OmnicommConfig", reply});
    h.emulator().setFaults(faults);
    const OmniTab_t tab(h);
    const bool txMode = reply["TxMode"].get<bool>();
    // Start from values the reading must replace, so that none of them is right by chance.
    tab.units->setCurrentIndex((unitsIndex + 1) % tab.units->count());
    tab.txMode->setChecked(!txMode);
    tab.address->setValue(reply["Address"].get<int>() == 10 ? 11 : 10);
    tab.period->setValue(reply["TxPeriodSec"].get<int>() == 5 ? 6 : 5);

    ModalBoxCloser_t closer;
    QVERIFY(h.connectAndRead());

    QCOMPARE(tab.address->value(), reply["Address"].get<int>());
    QCOMPARE(tab.units->currentIndex(), unitsIndex);
    QCOMPARE(tab.units->currentText(), unitsText);
    QCOMPARE(tab.txMode->isChecked(), txMode);
    QCOMPARE(tab.period->value(), reply["TxPeriodSec"].get<int>());
    QCOMPARE(tab.period->isEnabled(), txMode);
    QVERIFY(tab.groupEnabled());
    QVERIFY(closer.texts().isEmpty());
}

void Rs485TabTest_t::apply_writesTheTabsSettings_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("unitsIndex");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("periodShown");
    QTest::addColumn<json>("written");

    QTest::newRow("unticked: TxMode false, period 0 whatever the box shows")
        << 3 << 0 << false << 17 << omnicomm(3, false, "mm", 0);
    QTest::newRow("unticked at the box's top: still period 0")
        << 200 << 2 << false << 30 << omnicomm(200, false, "percent", 0);
    QTest::newRow("ticked: the box's value, litres by index")
        << 254 << 1 << true << 30 << omnicomm(254, true, "litres", 30);
    QTest::newRow("ticked: percent by index, address 0") << 0 << 2 << true << 1 << omnicomm(0, true, "percent", 1);
    QTest::newRow("ticked: mm by index, period 0") << 42 << 0 << true << 0 << omnicomm(42, true, "mm", 0);
}

void Rs485TabTest_t::apply_writesTheTabsSettings() {
    QFETCH(int, address);
    QFETCH(int, unitsIndex);
    QFETCH(bool, ticked);
    QFETCH(int, periodShown);
    QFETCH(json, written);

    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"OmnicommConfig", omnicomm(10, true, "litres", 9)}}));
    ModalBoxCloser_t closer;
    const OmniTab_t tab(h);
    bool disabledWhileTheMessageIsOpen = false;
    closer.inspectEachBox([&](QWidget*) { disabledWhileTheMessageIsOpen = tab.groupDisabled(); });
    QVERIFY(h.connectAndRead());

    // As a user: the period is typed while the box is ticked, then the box is unticked where the row says so.
    tab.setTicked(true);
    tab.period->setValue(periodShown);
    tab.setTicked(ticked);
    QCOMPARE(tab.period->value(), periodShown);
    tab.address->setValue(address);
    tab.units->setCurrentIndex(unitsIndex);
    tab.apply->click();
    QVERIFY(tab.groupDisabled());

    QVERIFY(closer.waitForCount(1));
    QCOMPARE(closer.texts(), QStringList{SAVED});
    QVERIFY(disabledWhileTheMessageIsOpen);
    QCOMPARE(h.emulator().requests().last(),
             QStringLiteral("[\"OmnicommConfig\",%1]").arg(QString::fromStdString(written.dump())));
    QCOMPARE(h.emulator().stateJson()["OmnicommConfig"], written);
    QVERIFY(QTest::qWaitFor([&] { return tab.groupEnabled(); }));
    QCOMPARE(tab.period->isEnabled(), ticked);
    QCOMPARE(h.connectButton()->text(), QStringLiteral("Отключить"));
}

void Rs485TabTest_t::uncheckedWriteReadBack_showsPeriodZeroDisabled() {
    WindowHarness_t h;
    QVERIFY(h.loadState(0, {{"OmnicommConfig", omnicomm(10, true, "mm", 25)}}));
    ModalBoxCloser_t closer;
    const OmniTab_t tab(h);
    QVERIFY(h.connectAndRead());
    tab.setTicked(false);
    tab.apply->click();
    QVERIFY(closer.waitForCount(1));

    h.connectButton()->click(); // disconnect
    QVERIFY(h.waitForButtonText(QStringLiteral("Подключить")));
    QVERIFY(h.connectAndRead());
    QVERIFY(!tab.txMode->isChecked());
    QCOMPARE(tab.period->value(), 0);
    QVERIFY(!tab.period->isEnabled());
    QCOMPARE(closer.texts(), QStringList{SAVED});
}

void Rs485TabTest_t::tickingAndUntickingByHand_switchesThePeriodBoxAtOnce() {
    WindowHarness_t h;
    const OmniTab_t tab(h);
    QVERIFY(h.connectAndRead());
    QVERIFY(!tab.txMode->isChecked());
    QVERIFY(!tab.period->isEnabled());

    // A real mouse click on the box, and no event loop turn before looking.
    QTest::mouseClick(tab.txMode, Qt::LeftButton, {}, tab.txMode->rect().center());
    QVERIFY(tab.txMode->isChecked());
    QVERIFY(tab.period->isEnabled());
    QTest::mouseClick(tab.txMode, Qt::LeftButton, {}, tab.txMode->rect().center());
    QVERIFY(!tab.txMode->isChecked());
    QVERIFY(!tab.period->isEnabled());
    QTest::keyClick(tab.txMode, Qt::Key_Space);
    QVERIFY(tab.period->isEnabled());
    QCOMPARE(h.emulator().requests().size(), 7); // ticking alone writes nothing
}

QTEST_MAIN(Rs485TabTest_t)
#include "test_rs485tab.moc"
