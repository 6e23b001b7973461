// The main window: the About texts, which controls it enables when, the dialogs it owns, what the parameters tab shows
// for shape clicks and sensor readings, that an apply right after reading the emulated sensor writes back exactly
// what it holds, and the test tab's readout of the sensor's active tank.
#include "abouttexts.h"
#include "calibrationdialog.h"
#include "filechooser.h"
#include "mainwindow.h"
#include "modalboxcloser.h"
#include "propertiesdialog.h"
#include "sensorconnection.h"
#include "statusline.h"
#include "tankfixtures.h"
#include "tofwidget.h"
#include "widgetlookup.h"
#include "windowharness.h"
#include "wireobjects.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <array>
#include <memory>

namespace {
using Records_t = std::array<TankConfigRecord_t, TANK_RECORD_COUNT>;
}
Q_DECLARE_METATYPE(Records_t)
Q_DECLARE_METATYPE(DeviceInfo_t)

namespace {

template <typename Dialog>
Dialog* ownedDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget))
            return dialog;
    return nullptr;
}

// The action widgets the window switches as one group, its own and its dialogs'.
QList<QWidget*> actionWidgets(const QWidget& window) {
    QList<QWidget*> widgets = {
        ownedDialog<PropertiesDialog_t>()->applyButton(), ownedDialog<CalibrationDialog_t>()->emptyButton(),
        ownedDialog<CalibrationDialog_t>()->fullButton(), child<TofWidget_t>(window, "")->startStopButton()};
    for (const char* name : {"btnApplyP", "btnSetDefaultP", "btnSaveProfileP", "btnLoadProfileP", "btnReportP"})
        widgets << child(window, name);
    return widgets;
}

bool allEnabled(const QList<QWidget*>& widgets, bool enabled) {
    return std::all_of(widgets.begin(), widgets.end(), [enabled](QWidget* w) { return w->isEnabled() == enabled; });
}

// Records 0 and 1 of kinds other than the one under test, with record 2 as given.
Records_t withRecord2(const TankConfigRecord_t& r2) {
    return {makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
            makeTankRecord(1, TankKindE::CylinderP, 720, 200, 0, 3), r2};
}

bool shows(const QWidget& window, const char* name) {
    return child(window, name)->isVisibleTo(&window);
}

// The checked shape, followed by the checked orientation while the orientation buttons are shown.
QString shownShape(const QWidget& window) {
    QStringList checked;
    for (const char* name : {"rbuttToroidP", "rbuttCylinderP_P", "rbuttCylinderHV_P"})
        if (child<QRadioButton>(window, name)->isChecked())
            checked << name;
    if (shows(window, "frameRadioHV_P"))
        checked << (child<QRadioButton>(window, "rbuttCylinderV_P")->isChecked() ? "rbuttCylinderV_P"
                                                                                 : "rbuttCylinderH_P");
    return checked.join(' ');
}

// The list's current tank, or the shown dimension rows as "label value", whichever the tab shows.
QString shownTank(const QWidget& window) {
    if (shows(window, "wdgtTankComboP") == shows(window, "frameCustomTankP"))
        return QStringLiteral("list and dimensions both shown or both hidden");
    if (shows(window, "wdgtTankComboP"))
        return child<QComboBox>(window, "cboxTanksP")->currentText();
    QStringList rows;
    for (const QByteArray row : {"CustomOutDiaP", "CustomInDiaP", "CustomHeigthP", "CustomVolumeP"})
        if (shows(window, ("spbox" + row).constData()) || shows(window, ("lbl" + row).constData()))
            rows << child<QLabel>(window, ("lbl" + row).constData())->text() + ' ' +
                        QString::number(child<QSpinBox>(window, ("spbox" + row).constData())->value());
    return rows.join(QStringLiteral(" / "));
}

QStringList listedTanks(const QWidget& window) {
    auto* box = child<QComboBox>(window, "cboxTanksP");
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class MainWindowTest_t : public QObject {
    Q_OBJECT

private slots:
    void aboutTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version up to the first dash") << appVersionText("2.0.4-12-gabcdef", "develop") << "2.0.4 64bit";
        QTest::newRow("no version: the build label") << appVersionText("", "develop") << "develop 64bit";
        QTest::newRow("mail link, escaped")
            << mailLinkHtml("a&b@x.example") << "<a href=\"mailto:a&amp;b@x.example\">a&amp;b@x.example</a>";
    }
    void aboutTexts() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    void startState_disconnectedUntilEnabledWithDialogsThatGoWithTheWindow() {
        auto window = std::make_unique<MainWindow_t>();
        auto* tabs = child<QTabWidget>(*window, "tabWidgetP");
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(child(*window, "btnCalibration")->isHidden());
        QVERIFY(child(*window, "btnCalibrationHelp")->isHidden());

        const QList<QWidget*> actions = actionWidgets(*window);
        QVERIFY(allEnabled(actions, false));
        window->setControlsEnabled(true);
        QVERIFY(allEnabled(actions, true));
        window->setControlsEnabled(false);
        QVERIFY(allEnabled(actions, false));
        QVERIFY(child(*window, "btnPropertiesP")->isEnabled());

        // Properties, calibration and connection help: windows of their own, without a close button. The profile and
        // report dialogs are made when first opened.
        int dialogs = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!qobject_cast<QDialog*>(widget))
                continue;
            ++dialogs;
            QVERIFY(!widget->parent() && widget->isHidden());
            QCOMPARE(widget->windowFlags() & (Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
                     Qt::WindowFlags(Qt::CustomizeWindowHint));
        }
        QCOMPARE(dialogs, 3);
        window.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void rs485Controls_periodBoxOnlyWithPeriodicOutput() {
        MainWindow_t window;
        const QList<QWidget*> rs485 = {child(window, "spboxOmniAddr"), child(window, "cboxOmniUnits"),
                                       child(window, "cboxOmniTxMode"), child(window, "btnOmniApply")};
        QWidget* period = child(window, "spboxOmniTxPeriod");
        QVERIFY(allEnabled(rs485 + QList<QWidget*>{period}, false));

        window.setOmnicommControlsEnabled(true);
        QVERIFY(allEnabled(rs485, true));
        QVERIFY(!period->isEnabled());
        child<QCheckBox>(window, "cboxOmniTxMode")->click();
        QVERIFY(period->isEnabled());
        window.setOmnicommControlsEnabled(false);
        QVERIFY(allEnabled(rs485 + QList<QWidget*>{period}, false));
        window.setOmnicommControlsEnabled(true);
        QVERIFY(allEnabled(rs485 + QList<QWidget*>{period}, true));
    }

    // At its least size too: the parameters tab scrolls and keeps its buttons in sight.
    void leastSize_buttonsInSightAndRs485LabelsLevelWithTheirFieldsNamingThem() {
        MainWindow_t window;
        window.resize(window.minimumSize());
        window.show();
        child<QTabWidget>(window, "tabWidgetP")->setCurrentWidget(child(window, "tabOmni"));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* name : {"btnApplyP", "btnPropertiesP"}) {
            QWidget* button = child(window, name);
            QVERIFY2(window.rect().contains(QRect(button->mapTo(&window, QPoint()), button->size())), name);
        }
        const auto centre = [&window](const char* name) {
            QWidget* widget = child(window, name);
            return widget->mapTo(&window, widget->rect().center()).y();
        };
        // Labels and fields stand in two columns of their own; screen readers find a field by its label's text.
        const std::pair<const char*, const char*> rows[] = {
            {"lblOmniAddr", "spboxOmniAddr"}, {"lblOmniUnits", "cboxOmniUnits"}, {"lblTxPeriod", "spboxOmniTxPeriod"}};
        for (const auto& [label, field] : rows) {
            QCOMPARE(centre(label), centre(field));
            QCOMPARE(child(window, field)->accessibleName(), child<QLabel>(window, label)->text());
        }
        QCOMPARE(child(window, "cboxIsCustomP")->accessibleName(),
                 QStringLiteral("Нет подходящего значения, задать вручную"));
        QCOMPARE(child(window, "cboxOmniTxMode")->accessibleName(), QStringLiteral("Периодическая выдача данных"));
    }

    void portBox_followsThePortList() {
        QList<PortDescriptor_t> ports;
        MainWindow_t window(nullptr, QDate::currentDate(), [&ports] { return ports; });
        window.show();
        auto* box = child<QComboBox>(window, "cboxSerialListP");
        auto* button = child<QPushButton>(window, "btnSerialPortP");
        const PortDescriptor_t sensor{"ttyACM0", true, SENSOR_VENDOR_ID, SENSOR_PRODUCT_ID, "7:Velmaro1"};
        // A given port list is polled: no plug-in event tells of its changes.
        for (const bool plugged : {false, true, false}) {
            ports = plugged ? QList<PortDescriptor_t>{sensor} : QList<PortDescriptor_t>{};
            QTRY_COMPARE(button->text(), plugged ? QStringLiteral("Подключить") : QStringLiteral("Диагностика"));
            QCOMPARE(box->isEnabled(), plugged);
            QCOMPARE(box->currentText(), plugged ? QStringLiteral("Velmaro#7") : QString());
        }
        // A connection that ended (here: its port could not be opened) leaves the list polled again.
        ModalBoxCloser_t closer;
        ports = {sensor};
        QTRY_COMPARE(button->text(), QStringLiteral("Подключить"));
        button->click();
        QTRY_COMPARE(button->text(), QStringLiteral("Подключить"));
        ports.clear();
        QTRY_COMPARE(button->text(), QStringLiteral("Диагностика"));
    }

    void tankTab_showsTheChosenTank_data() {
        QTest::addColumn<QStringList>("steps"); // buttons clicked, and "read": the records fed as a reading feeds them
        QTest::addColumn<Records_t>("records");
        QTest::addColumn<int>("active");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("shown");

        const Records_t none{};
        const QString toroid = QStringLiteral("rbuttToroidP");
        const QString cylinder = QStringLiteral("rbuttCylinderHV_P");
        const QString horizontal = QStringLiteral("rbuttCylinderHV_P rbuttCylinderH_P");
        // A reading must replace the shape and the custom dimensions shown before it.
        const QStringList customCylinderThenRead = {cylinder, "cboxIsCustomP", "read"};
        const Records_t activeRecord0 = {makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                         makeTankRecord(1, TankKindE::Toroid, 630, 250, 172, 3),
                                         makeTankRecord(2, TankKindE::CylinderH, 356, 920, 0, 3)};

        QTest::newRow("at start, the catalogue toroids")
            << QStringList{} << none << -1 << toroid << STANDARD_TOROIDS << "600x200 42L";
        QTest::newRow("vertical, then horizontal") << QStringList{cylinder, "rbuttCylinderV_P", "rbuttCylinderH_P"}
                                                   << none << -1 << horizontal << STANDARD_CYLINDERS << "300x640 40L";
        QTest::newRow("stored toroid 600x200 inner 172 is the catalogue tank")
            << customCylinderThenRead << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3)) << 2
            << toroid << STANDARD_TOROIDS << "600x200 42L";
        QTest::newRow("stored solid 720x270 is the catalogue tank, listed after record 1")
            << customCylinderThenRead << withRecord2(makeTankRecord(2, TankKindE::CylinderP, 720, 270, 0, 3)) << 2
            << "rbuttCylinderP_P" << QStringList{"720x200"} + STANDARD_SOLIDS << "720x270 93L";
        QTest::newRow("active record 0, read twice, is listed once and first")
            << QStringList{"read", "read"} << activeRecord0 << 0 << "rbuttCylinderHV_P rbuttCylinderV_P"
            << QStringList{"300x640"} + STANDARD_CYLINDERS << "300x640";
        QTest::newRow("stored toroid with inner 150 is no catalogue tank")
            << QStringList{"read"} << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 150, 3)) << 2 << toroid
            << STANDARD_TOROIDS << "Внешний диаметр, мм: 600 / Внутренний диаметр, мм: 150 / Высота, мм: 200";
        QTest::newRow("stored horizontal 350x900 keeps its length")
            << QStringList{"read"} << withRecord2(makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3)) << 2
            << horizontal << STANDARD_CYLINDERS << "Диаметр, мм: 350 / Длина, мм: 900";
        QTest::newRow("solid by hand after the toroids: no inner diameter")
            << QStringList{"rbuttCylinderP_P", "cboxIsCustomP"} << none << -1 << "rbuttCylinderP_P" << STANDARD_SOLIDS
            << "Диаметр, мм: 600 / Высота, мм: 200";
        QTest::newRow("cylinder after the toroid 600x200 takes its size, the diameter clamped to 500")
            << QStringList{"read", cylinder, "cboxIsCustomP"}
            << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3)) << 2 << horizontal
            << STANDARD_CYLINDERS << "Диаметр, мм: 500 / Длина, мм: 200";
    }

    void tankTab_showsTheChosenTank() {
        QFETCH(QStringList, steps);
        QFETCH(Records_t, records);
        QFETCH(int, active);
        QFETCH(QString, shape);
        QFETCH(QStringList, listed);
        QFETCH(QString, shown);
        MainWindow_t window;
        // The cylinder picture comes after the window's first paint.
        window.show();

        for (const QString& step : steps) {
            if (step != QLatin1String("read")) {
                child<QAbstractButton>(window, qPrintable(step))->click();
                continue;
            }
            window.clearTankList();
            for (const TankConfigRecord_t& r : records)
                window.addDeviceRecord(r, r.id == active);
            window.fillStandardTanks();
            window.applyActiveTankToUi();
        }

        QCOMPARE(shownShape(window), shape);
        QCOMPARE(listedTanks(window), listed);
        QCOMPARE(shownTank(window), shown);
        // The cylinder picture shows the orientation. Both through QPixmap: it stores premultiplied pixels, which do
        // not convert back to the file's exactly.
        const QString picture = shape.endsWith("V_P") ? ":/Images/CylinderV.png" : ":/Images/CylinderH.png";
        QTRY_COMPARE(child<QLabel>(window, "lblCylinderHV_P")->pixmap(Qt::ReturnByValue).toImage(),
                     QPixmap(picture).toImage());
    }

    void applyAfterReading_leavesTheSensorAsItWas_data() {
        QTest::addColumn<Records_t>("records"); // the emulator's record 2 is the active one
        QTest::newRow("catalogue toroid 600x200 42L is written as it was")
            << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3));
        QTest::newRow("toroid 600x20 stays 600x20, not 600x200 42L")
            << withRecord2(makeTankRecord(2, TankKindE::Toroid, 600, 20, 172, 3));
        QTest::newRow("vertical cylinder 350x900 keeps its height")
            << withRecord2(makeTankRecord(2, TankKindE::CylinderV, 350, 900, 0, 3));
        QTest::newRow("record 0, the same as the active record 2, is not activated in its place")
            << Records_t{makeTankRecord(0, TankKindE::CylinderH, 350, 900, 0, 3),
                         makeTankRecord(1, TankKindE::CylinderP, 720, 200, 0, 3),
                         makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3)};
    }

    void applyAfterReading_leavesTheSensorAsItWas() {
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

    // A custom tank that cannot exist is refused before anything is sent, naming the field.
    void customTank_impossibleDimensionsAreRefusedBeforeWriting_data() {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QVector<int>>("outerInnerHeightWall");
        QTest::addColumn<QString>("box");
        QTest::newRow("toroid with its hole wider than itself")
            << "rbuttToroidP" << QVector<int>{600, 700, 200, 3}
            << "Размеры бака заданы неверно.\n\n«Внутренний диаметр, мм» должен быть меньше, чем «Внешний диаметр, "
               "мм».";
        QTest::newRow("toroid of height 0") << "rbuttToroidP" << QVector<int>{600, 150, 0, 3}
                                            << "Размеры бака заданы неверно.\n\n«Высота, мм» не может быть нулём.";
        QTest::newRow("cylinder no wider than its walls")
            << "rbuttCylinderHV_P" << QVector<int>{20, 0, 500, 10}
            << "Размеры бака заданы неверно.\n\nСтенка толщиной 10 мм не оставляет места внутри бака этих размеров.";
    }
    void customTank_impossibleDimensionsAreRefusedBeforeWriting() {
        QFETCH(QString, shape);
        QFETCH(QVector<int>, outerInnerHeightWall);
        QFETCH(QString, box);
        WindowHarness_t h;
        ModalBoxCloser_t closer;
        QVERIFY(h.connectAndRead());
        const int asked = h.emulator().requests().size();
        h.widget<QRadioButton>(shape.toLatin1().constData())->click();
        h.widget<QCheckBox>("cboxIsCustomP")->setChecked(true);
        h.widget<QSpinBox>("spboxCustomOutDiaP")->setValue(outerInnerHeightWall[0]);
        h.widget<QSpinBox>("spboxCustomInDiaP")->setValue(outerInnerHeightWall[1]);
        h.widget<QSpinBox>("spboxCustomHeigthP")->setValue(outerInnerHeightWall[2]);
        h.dialog<PropertiesDialog_t>()->findChild<QSpinBox*>()->setValue(outerInnerHeightWall[3]);
        h.widget<QPushButton>("btnApplyP")->click();
        QVERIFY(closer.waitForCount(1));
        QCOMPARE(closer.texts().last(), box);
        QCOMPARE(h.emulator().requests().size(), asked);
    }

    void testTab_readsOutTheLevelInTheActiveTank_data() {
        QTest::addColumn<int>("active"); // of the emulator's records: 0 lying 300x640, 1 toroid 630x250, 2 600x200
        QTest::addColumn<int>("levelMm");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("tank"); // a regular expression
        QTest::newRow("toroid 600x200, half its 194 mm") << 2 << 97 << "≈ 21,3 л (50 %)"
                                                         << "≈ 42,7 л.*номинальный 42 л";
        QTest::newRow("below the bottom") << 2 << -3 << "уровень ниже дна бака"
                                          << "номинальный 42 л";
        QTest::newRow("above the top") << 2 << 195 << "уровень выше верха бака"
                                       << "номинальный 42 л";
        QTest::newRow("record 1, toroid 630x250, half its 244 mm") << 1 << 122 << "≈ 30,0 л (50 %)"
                                                                   << "номинальный 60 л";
        QTest::newRow("record 0, lying cylinder, half its 294 mm") << 0 << 147 << "≈ 19,9 л (50 %)"
                                                                   << "номинальный 40 л";
    }

    void testTab_readsOutTheLevelInTheActiveTank() {
        QFETCH(int, active);
        QFETCH(int, levelMm);
        QFETCH(QString, volume);
        QFETCH(QString, tank);
        WindowHarness_t h;
        QVERIFY(h.loadState(0, {{"TankConfig", {{"Mixture", 70}, {"Liquid", "Mix"}, {"Active", active}}}}));
        QVERIFY(h.connectAndRead());
        Installation_t reading;
        reading.RawTOF = 90;
        reading.mm = levelMm;
        emit h.window().findChild<SensorConnection_t*>()->signMeasurement(reading);
        QCOMPARE(h.testPage()->findChild<QLabel*>("lblLevelP")->text(), QStringLiteral("Уровень: %1 мм").arg(levelMm));
        QCOMPARE(h.testPage()->findChild<QLabel*>("lblVolumeP")->text(), volume);
        const QString tankText = h.testPage()->findChild<QLabel*>("lblTankP")->text();
        QVERIFY2(QRegularExpression(tank).match(tankText).hasMatch(), qPrintable(tankText));
    }

    void tableButton_savesTheActiveTanksTableForASpreadsheet() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("table"));
        WindowHarness_t h;
        ModalBoxCloser_t closer(ModalBoxCloser_t::Targets::AllDialogs);
        QStringList folders; // where each file dialog opened
        closer.answerDialogsWith([&path, &folders](QDialog* dialog) {
            folders << qobject_cast<QFileDialog*>(dialog)->directory().absolutePath();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            dialog->accept();
        });
        QVERIFY(!h.testPage()->findChild<QPushButton*>("btnTableP")->isEnabled());
        QVERIFY(h.connectAndRead());
        h.testPage()->findChild<QPushButton*>("btnTableP")->click();
        QVERIFY(closer.waitForCount(2)); // the file dialog, then the box
        QVERIFY2(closer.texts().last().startsWith("Таблица тарировки сохранена"), qPrintable(closer.texts().join('|')));
        QFile file(path + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // for the spreadsheet to read it as UTF-8
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split('\n');
        // The emulator's active tank is 194 mm high inside: rows 0 to 190 every 10 mm, then 194.
        QCOMPARE(lines.size(), 1 + 21 + 1);
        QCOMPARE(lines.first(), QStringLiteral("Уровень, мм;Объём, л;Заполнение, %"));
        QCOMPARE(lines.at(1), QStringLiteral("0;0,00;0,00"));
        QVERIFY2(lines.at(21).startsWith("194;42,"), qPrintable(lines.at(21)));
        // The next file dialog opens where this one closed.
        h.testPage()->findChild<QPushButton*>("btnTableP")->click();
        QVERIFY(closer.waitForCount(4));
        QCOMPARE(folders.last(), QDir(dir.path()).absolutePath());
    }

    void statusBar_progressIsTheSequencesLabelAndHowFarItGot() {
        const Sequence_t reading = readingSequence();
        const Sequence_t profile = profileSequence(SensorSnapshot_t());
        QCOMPARE(progressText(reading.label, 3, reading.steps.size(), true),
                 QStringLiteral("Чтение данных: 3 из %1").arg(reading.steps.size()));
        QCOMPARE(progressText(profile.label, 2, profile.steps.size(), false),
                 QStringLiteral("Запись профиля: шаг 2 из %1").arg(profile.steps.size()));
    }

    // A failed RS485 write: the box says why under the fixed text; a line lost while idle shows no box. The status bar
    // says how the connection ended, and nothing of the sensor stays on the "Инфо" tab.
    void failure_boxTellsTheCauseAndTheStatusBarHowTheLinkEnded_data() {
        QTest::addColumn<QString>("silent");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("cause"); // empty: no box
        QTest::addColumn<QString>("status");
        const auto row = [](const char* name, const char* silent, const char* reply, const char* cause) {
            QTest::newRow(name) << QString(silent) << QString(reply) << QString(cause)
                                << QString(*cause ? "Связь с датчиком прервана: ошибка обмена."
                                                  : "Датчик отключён: связь по USB потеряна.");
        };
        row("no reply in time", "OmnicommConfig", "", "Датчик не ответил на запрос «RS485» за 0,3 с.");
        row("an unexpected reply", "", R"(["Info",{"Name":"x","HWVer":"1","FWVer":"2"}])",
            "На запрос «RS485» датчик прислал неожиданный ответ «Info».");
        row("the line lost while idle", "", "", "");
    }
    void failure_boxTellsTheCauseAndTheStatusBarHowTheLinkEnded() {
        QFETCH(QString, silent);
        QFETCH(QString, reply);
        QFETCH(QString, cause);
        QFETCH(QString, status);
        WindowHarness_t h;
        ModalBoxCloser_t closer;
        h.window().setReplyTimeoutMs(300);
        QVERIFY(h.connectAndRead());
        QVERIFY(child<QLabel>(h.window(), "lblStatusSensorP")->text().contains("Velmaro#EMU0"));
        EmulatorFaults_t faults;
        faults.silentCommand = silent;
        faults.overridePrefix = reply.isEmpty() ? QString() : QStringLiteral(R"(["OmnicommConfig",)");
        faults.overrideReply = reply.isEmpty() ? nlohmann::json() : nlohmann::json::parse(reply.toStdString());
        faults.dropAfter = cause.isEmpty() ? h.emulator().requests().size() + 1 : 0;
        h.emulator().setFaults(faults);
        h.widget<QPushButton>(cause.isEmpty() ? "btnCalibration" : "btnOmniApply")->click();
        QVERIFY(h.waitForButtonText(cause.isEmpty() ? QStringLiteral("Диагностика") : QStringLiteral("Подключить")));
        QTest::qWait(300);
        QCOMPARE(closer.texts().value(0).section('\n', 2, 2), cause);
        QCOMPARE(child<QLabel>(h.window(), "lblStatusActivityP")->text(), status);
        QVERIFY(h.widget<QLabel>("lblDeviceP")->text().isEmpty());
    }

    void suggestedFileName_holdsTheSensorAndTheMinute_data() {
        QTest::addColumn<DeviceInfo_t>("info");
        QTest::addColumn<QString>("fileName");
        const auto row = [](const char* name, const DeviceInfo_t& info, const char* fileName) {
            QTest::newRow(name) << info << QString::fromUtf8(fileName);
        };
        row("plain", {"Velmaro LS-1", "EMU-000001", "3"}, "Velmaro_LS-1_EMU-000001_2026-12-06_09-05.json");
        row("characters a file system refuses", {"A/B:C", " 1.2 ", "3"}, "A_B_C_1.2_2026-12-06_09-05.json");
        row("nothing known", {}, "sensor_2026-12-06_09-05.json");
    }
    void suggestedFileName_holdsTheSensorAndTheMinute() {
        QFETCH(DeviceInfo_t, info);
        QFETCH(QString, fileName);
        QCOMPARE(suggestedFileName(info, {{2026, 12, 6}, {9, 5, 59}}, QStringLiteral("json")), fileName);
    }
};

QTEST_MAIN(MainWindowTest_t)
#include "test_mainwindow.moc"
