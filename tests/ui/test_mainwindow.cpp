// The main window as built by its constructor: tabs, start states, size limits, pictures and icon, About tab,
// accessible names, the enabling of its action widgets, and the dialogs it owns.
#include "buildinfo.h"
#include "calibrationdialog.h"
#include "diagnosticdialog.h"
#include "mainwindow.h"
#include "propertiesdialog.h"
#include "resources.h"
#include "tofwidget.h"
#include "widgetlookup.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

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
    return {child(window, "btnApplyP"),
            child(window, "btnSetDefaultP"),
            ownedDialog<PropertiesDialog_t>()->applyButton(),
            ownedDialog<CalibrationDialog_t>()->emptyButton(),
            ownedDialog<CalibrationDialog_t>()->fullButton(),
            child<TofWidget_t>(window, "")->startStopButton()};
}

QPoint centreInWindow(const QWidget* widget) {
    return widget->mapTo(widget->window(), widget->rect().center());
}

} // namespace

class MainWindowTest_t : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void tabs_areInOrderWithTestAtIndexOneAndParametersCurrent();
    void startStates_data();
    void startStates();
    void startStates_actionWidgetsOfTheDialogsAreDisabled();
    void startStates_toroidShapeAndHorizontalCylinderChecked();
    void size_isKeptWithinLimits_data();
    void size_isKeptWithinLimits();
    void windowIcon_isFestiveFrom25To31December_data();
    void windowIcon_isFestiveFrom25To31December();
    void pictures_areShownAtTheirOwnSize();
    void resources_haveTheirPixelSizes_data();
    void resources_haveTheirPixelSizes();
    void aboutTab_showsVersionDeveloperAndLinks();
    void rs485Tab_hasLabelsAndUnitsInOrder();
    void customDimensions_labelsRightAlignedWithTexts();
    void accessibleNames_areTheLabelTexts_data();
    void accessibleNames_areTheLabelTexts();
    void accessibleNames_followRelabelledDimensionLabels();
    void setControlsEnabled_switchesEveryActionWidget();
    void setOmnicommControlsEnabled_periodBoxFollowsTheCheckBox_data();
    void setOmnicommControlsEnabled_periodBoxFollowsTheCheckBox();
    void layout_rs485LabelsAreLevelWithTheirFields();
    void layout_shapeButtonsAreCentredUnderTheirPictures();
    void dialogs_areParentlessWithoutCloseButtonAndDeletedWithTheWindow();
};

void MainWindowTest_t::initTestCase() {
    initResources();
}

void MainWindowTest_t::tabs_areInOrderWithTestAtIndexOneAndParametersCurrent() {
    MainWindow_t window;
    auto* tabs = child<QTabWidget>(window, "tabWidgetP");

    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, QStringList({"Параметры", "Тест", "RS485", "Инфо"}));
    QVERIFY(qobject_cast<TofWidget_t*>(tabs->widget(1)));
    QCOMPARE(tabs->currentIndex(), 0);
}

void MainWindowTest_t::startStates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("btnApplyP") << "btnApplyP" << false << false;
    QTest::newRow("btnSetDefaultP") << "btnSetDefaultP" << false << false;
    QTest::newRow("btnOmniApply") << "btnOmniApply" << false << false;
    QTest::newRow("spboxOmniAddr") << "spboxOmniAddr" << false << false;
    QTest::newRow("cboxOmniUnits") << "cboxOmniUnits" << false << false;
    QTest::newRow("spboxOmniTxPeriod") << "spboxOmniTxPeriod" << false << false;
    QTest::newRow("cboxOmniTxMode") << "cboxOmniTxMode" << false << false;
    QTest::newRow("cboxSerialListP") << "cboxSerialListP" << false << false;
    QTest::newRow("btnSerialPortP") << "btnSerialPortP" << false << true;
    QTest::newRow("btnPropertiesP") << "btnPropertiesP" << false << true;
    QTest::newRow("frameCustomTankP") << "frameCustomTankP" << true << true;
    QTest::newRow("frameRadioHV_P") << "frameRadioHV_P" << true << true;
    QTest::newRow("btnCalibration") << "btnCalibration" << true << true;
    QTest::newRow("btnCalibrationHelp") << "btnCalibrationHelp" << true << true;
}

void MainWindowTest_t::startStates() {
    QFETCH(QString, name);
    QFETCH(bool, hidden);
    QFETCH(bool, enabled);
    MainWindow_t window;
    const QWidget* widget = child(window, name.toLatin1().constData());
    QCOMPARE(widget->isHidden(), hidden);
    QCOMPARE(widget->isEnabled(), enabled);
}

void MainWindowTest_t::startStates_actionWidgetsOfTheDialogsAreDisabled() {
    MainWindow_t window;
    for (const QWidget* widget : actionWidgets(window))
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
}

void MainWindowTest_t::startStates_toroidShapeAndHorizontalCylinderChecked() {
    MainWindow_t window;
    QVERIFY(child<QRadioButton>(window, "rbuttToroidP")->isChecked());
    QVERIFY(child<QRadioButton>(window, "rbuttCylinderH_P")->isChecked());
    QVERIFY(!child<QCheckBox>(window, "cboxIsCustomP")->isChecked());
    QVERIFY(!child<QCheckBox>(window, "cboxOmniTxMode")->isChecked());
}

void MainWindowTest_t::size_isKeptWithinLimits_data() {
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("as built") << QSize() << QSize(550, 606);
    QTest::newRow("too small") << QSize(100, 100) << QSize(550, 600);
    QTest::newRow("too large") << QSize(2000, 2000) << QSize(900, 1000);
    QTest::newRow("inside the limits") << QSize(700, 800) << QSize(700, 800);
}

void MainWindowTest_t::size_isKeptWithinLimits() {
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    MainWindow_t window;
    if (requested.isValid())
        window.resize(requested);
    QCOMPARE(window.size(), expected);
}

void MainWindowTest_t::windowIcon_isFestiveFrom25To31December_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("festive");
    QTest::newRow("24 December") << QDate(2026, 12, 24) << false;
    QTest::newRow("25 December") << QDate(2026, 12, 25) << true;
    QTest::newRow("31 December") << QDate(2026, 12, 31) << true;
    QTest::newRow("1 January") << QDate(2027, 1, 1) << false;
    QTest::newRow("25 November") << QDate(2026, 11, 25) << false;
}

void MainWindowTest_t::windowIcon_isFestiveFrom25To31December() {
    QFETCH(QDate, today);
    QFETCH(bool, festive);
    MainWindow_t window(nullptr, today);
    QCOMPARE(window.testAttribute(Qt::WA_SetWindowIcon), festive);
    if (festive)
        QCOMPARE(window.windowIcon().availableSizes(), QList<QSize>{QSize(128, 128)});
    else
        QCOMPARE(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

void MainWindowTest_t::pictures_areShownAtTheirOwnSize() {
    MainWindow_t window;
    QCOMPARE(child<QLabel>(window, "lblLogo")->pixmap(Qt::ReturnByValue).size(), QSize(200, 100));
    QCOMPARE(child<QLabel>(window, "lblToroidP")->pixmap(Qt::ReturnByValue).size(), QSize(130, 105));
    QCOMPARE(child<QLabel>(window, "lblCylinderP_P")->pixmap(Qt::ReturnByValue).size(), QSize(130, 105));
}

void MainWindowTest_t::resources_haveTheirPixelSizes_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << ":/Images/Logo.png" << QSize(200, 100);
    QTest::newRow("toroid") << ":/Images/Toroid.png" << QSize(130, 105);
    QTest::newRow("solid cylinder") << ":/Images/CylinderP.png" << QSize(130, 105);
    QTest::newRow("horizontal cylinder") << ":/Images/CylinderH.png" << QSize(130, 105);
    QTest::newRow("vertical cylinder") << ":/Images/CylinderV.png" << QSize(105, 130);
    QTest::newRow("icon") << ":/Lumo_logo_New.ico" << QSize(128, 128);
}

void MainWindowTest_t::resources_haveTheirPixelSizes() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

void MainWindowTest_t::aboutTab_showsVersionDeveloperAndLinks() {
    MainWindow_t window;
    const QString mail = QString::fromUtf8(BuildInfo::SUPPORT_MAIL);
    const QString mailLink = QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(mail);

    QCOMPARE(child<QLabel>(window, "lblAppVersionP")->text(), QStringLiteral("2.0.4 64bit"));
    QCOMPARE(child<QLabel>(window, "lblAppDeveloperP")->text(), QStringLiteral("Lumo"));
    auto* help = child<QLabel>(window, "lblAppHelpP");
    QCOMPARE(help->text(), mailLink);
    QVERIFY(help->textInteractionFlags().testFlag(Qt::LinksAccessibleByMouse));

    auto* helpText = child<QLabel>(window, "lblHelpTextP");
    QVERIFY(helpText->openExternalLinks());
    QVERIFY(helpText->text().startsWith(
        "Если у вас возникли вопросы, ознакомьтесь с руководством пользователя по ссылке <a href=\"" +
        QString::fromUtf8(BuildInfo::GUIDE_URL) + "\">"));
    QVERIFY(helpText->text().endsWith("</a>, или напишите нам на почту " + mailLink));
    for (const char* name : {"lblDeviceP", "lblDeviceIdP", "lblFwVersionP"})
        QVERIFY(child<QLabel>(window, name)->text().isEmpty());
}

void MainWindowTest_t::rs485Tab_hasLabelsAndUnitsInOrder() {
    MainWindow_t window;
    QCOMPARE(child<QLabel>(window, "lblOmniAddr")->text(), QStringLiteral("Сетевой адрес устройства:"));
    QCOMPARE(child<QLabel>(window, "lblOmniUnits")->text(), QStringLiteral("Единицы измерения:"));
    QCOMPARE(child<QLabel>(window, "lblTxPeriod")->text(), QStringLiteral("Период выдачи данных, сек:"));
    auto* units = child<QComboBox>(window, "cboxOmniUnits");
    QStringList items;
    for (int i = 0; i < units->count(); ++i)
        items << units->itemText(i);
    QCOMPARE(items, QStringList({"мм", "Литры", "Проценты"}));
}

void MainWindowTest_t::customDimensions_labelsRightAlignedWithTexts() {
    MainWindow_t window;
    for (const char* name : {"lblCustomOutDiaP", "lblCustomInDiaP", "lblCustomHeigthP", "lblCustomVolumeP"})
        QVERIFY2(child<QLabel>(window, name)->alignment().testFlag(Qt::AlignRight), name);
    QCOMPARE(child<QLabel>(window, "lblCustomInDiaP")->text(), QStringLiteral("Внутренний диаметр, мм"));
    QCOMPARE(child<QLabel>(window, "lblCustomVolumeP")->text(), QStringLiteral("Объем, л:"));
}

void MainWindowTest_t::accessibleNames_areTheLabelTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("port box") << "cboxSerialListP"
                              << "Датчик:";
    QTest::newRow("tank list") << "cboxTanksP"
                               << "Параметры бака:";
    QTest::newRow("custom check box") << "cboxIsCustomP"
                                      << "Нет подходящего значения, задать вручную";
    QTest::newRow("inner diameter") << "spboxCustomInDiaP"
                                    << "Внутренний диаметр, мм";
    QTest::newRow("volume") << "spboxCustomVolumeP"
                            << "Объем, л:";
    QTest::newRow("address") << "spboxOmniAddr"
                             << "Сетевой адрес устройства:";
    QTest::newRow("units") << "cboxOmniUnits"
                           << "Единицы измерения:";
    QTest::newRow("periodic output") << "cboxOmniTxMode"
                                     << "Периодическая выдача данных";
    QTest::newRow("period") << "spboxOmniTxPeriod"
                            << "Период выдачи данных, сек:";
}

void MainWindowTest_t::accessibleNames_areTheLabelTexts() {
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    MainWindow_t window;
    QCOMPARE(child(window, name.toLatin1().constData())->accessibleName(), accessibleName);
}

void MainWindowTest_t::accessibleNames_followRelabelledDimensionLabels() {
    MainWindow_t window;
    const QList<QPair<const char*, const char*>> pairs = {{"lblCustomOutDiaP", "spboxCustomOutDiaP"},
                                                          {"lblCustomHeigthP", "spboxCustomHeigthP"}};
    for (const auto& pair : pairs) {
        for (const QString text : {"Внешний диаметр, мм:", "Длина, мм:"}) {
            child<QLabel>(window, pair.first)->setText(text);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child(window, pair.second));
            QVERIFY(accessible);
            QCOMPARE(accessible->text(QAccessible::Name), text);
        }
    }
}

void MainWindowTest_t::setControlsEnabled_switchesEveryActionWidget() {
    MainWindow_t window;
    for (const bool enabled : {true, false, true}) {
        window.setControlsEnabled(enabled);
        for (const QWidget* widget : actionWidgets(window))
            QCOMPARE(widget->isEnabled(), enabled);
        QVERIFY(child(window, "btnPropertiesP")->isEnabled());
    }
}

void MainWindowTest_t::setOmnicommControlsEnabled_periodBoxFollowsTheCheckBox_data() {
    QTest::addColumn<bool>("periodic");
    QTest::addColumn<bool>("periodBoxBefore");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("periodBoxAfter");
    QTest::newRow("enable, periodic ticked") << true << false << true << true;
    QTest::newRow("enable, periodic not ticked") << false << false << true << false;
    QTest::newRow("enable, not ticked, box already on") << false << true << true << true;
    QTest::newRow("disable, periodic ticked") << true << true << false << false;
}

void MainWindowTest_t::setOmnicommControlsEnabled_periodBoxFollowsTheCheckBox() {
    QFETCH(bool, periodic);
    QFETCH(bool, periodBoxBefore);
    QFETCH(bool, enable);
    QFETCH(bool, periodBoxAfter);
    MainWindow_t window;
    child<QCheckBox>(window, "cboxOmniTxMode")->setChecked(periodic);
    child(window, "spboxOmniTxPeriod")->setEnabled(periodBoxBefore);

    window.setOmnicommControlsEnabled(enable);

    for (const char* name : {"spboxOmniAddr", "cboxOmniUnits", "cboxOmniTxMode", "btnOmniApply"})
        QCOMPARE(child(window, name)->isEnabled(), enable);
    QCOMPARE(child(window, "spboxOmniTxPeriod")->isEnabled(), periodBoxAfter);
}

void MainWindowTest_t::layout_rs485LabelsAreLevelWithTheirFields() {
    MainWindow_t window;
    child<QTabWidget>(window, "tabWidgetP")->setCurrentIndex(2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QPair<const char*, const char*>> rows = {
        {"lblOmniAddr", "spboxOmniAddr"}, {"lblOmniUnits", "cboxOmniUnits"}, {"lblTxPeriod", "spboxOmniTxPeriod"}};
    for (const auto& row : rows) {
        const int labelY = centreInWindow(child(window, row.first)).y();
        const int fieldY = centreInWindow(child(window, row.second)).y();
        QVERIFY2(qAbs(labelY - fieldY) <= 1, row.first);
    }
}

void MainWindowTest_t::layout_shapeButtonsAreCentredUnderTheirPictures() {
    MainWindow_t window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QPair<const char*, const char*>> columns = {{"lblToroidP", "rbuttToroidP"},
                                                            {"lblCylinderP_P", "rbuttCylinderP_P"},
                                                            {"lblCylinderHV_P", "rbuttCylinderHV_P"}};
    for (const auto& column : columns) {
        const int pictureX = centreInWindow(child(window, column.first)).x();
        const int buttonX = centreInWindow(child(window, column.second)).x();
        QVERIFY2(qAbs(pictureX - buttonX) <= 1, column.second);
    }
}

void MainWindowTest_t::dialogs_areParentlessWithoutCloseButtonAndDeletedWithTheWindow() {
    auto window = std::make_unique<MainWindow_t>();
    const QList<QPointer<QDialog>> dialogs = {ownedDialog<PropertiesDialog_t>(), ownedDialog<CalibrationDialog_t>(),
                                              ownedDialog<DiagnosticDialog_t>()};
    const Qt::WindowFlags wanted = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
    for (const QPointer<QDialog>& dialog : dialogs) {
        QVERIFY(dialog);
        QVERIFY(!dialog->parent());
        QVERIFY(dialog->isHidden());
        QCOMPARE(dialog->windowFlags() & wanted, wanted);
        QVERIFY(!dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }

    window.reset();

    for (const QPointer<QDialog>& dialog : dialogs)
        QVERIFY(!dialog);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(MainWindowTest_t)
#include "test_mainwindow.moc"
