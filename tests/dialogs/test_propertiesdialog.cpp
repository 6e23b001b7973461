// The properties dialog as the user works it: mixture labels following the slider, the wall thickness, and values
// surviving close and reopen.

#include "propertiesdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

namespace {

QString labelText(const PropertiesDialog_t& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

// Presses the handle, drags it to x and releases it, as a mouse would.
void dragSliderTo(QSlider* slider, int x) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.subControls = QStyle::SC_All;
    const QPoint handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
    const QPoint target(x, handle.y());
    QMouseEvent move(QEvent::MouseMove, target, slider->mapToGlobal(target), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, target);
}

} // namespace

class TestPropertiesDialog : public QObject {
    Q_OBJECT

private slots:
    void construction_shows70PercentPropaneAndWall3() {
        PropertiesDialog_t dialog;
        QCOMPARE(labelText(dialog, "lblPropaneP"), QStringLiteral("пропан 70%"));
        QCOMPARE(labelText(dialog, "lblButaneP"), QStringLiteral("30% бутан"));
        QCOMPARE(dialog.mixture(), 70);
        QCOMPARE(dialog.wallThickness(), 3);
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.applyButton()->text(), QStringLiteral("Применить"));
    }

    void draggingSliderToAnEnd_refillsLabels_data() {
        QTest::addColumn<bool>("toRight");
        QTest::addColumn<int>("mixture");
        QTest::addColumn<QString>("propane");
        QTest::addColumn<QString>("butane");
        QTest::newRow("left end") << false << 5 << QStringLiteral("пропан 5%") << QStringLiteral("95% бутан");
        QTest::newRow("right end") << true << 95 << QStringLiteral("пропан 95%") << QStringLiteral("5% бутан");
    }
    void draggingSliderToAnEnd_refillsLabels() {
        QFETCH(bool, toRight);
        QFETCH(int, mixture);
        QFETCH(QString, propane);
        QFETCH(QString, butane);
        PropertiesDialog_t dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* slider = dialog.findChild<QSlider*>();
        QSignalSpy moved(slider, &QSlider::sliderMoved);
        dragSliderTo(slider, toRight ? slider->width() + 100 : -100);
        QVERIFY(!moved.isEmpty());
        QCOMPARE(dialog.mixture(), mixture);
        QCOMPARE(labelText(dialog, "lblPropaneP"), propane);
        QCOMPARE(labelText(dialog, "lblButaneP"), butane);
    }

    void keyboardMovingSlider_refillsLabels() {
        PropertiesDialog_t dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* slider = dialog.findChild<QSlider*>();
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(dialog.mixture(), 95);
        QCOMPARE(labelText(dialog, "lblPropaneP"), QStringLiteral("пропан 95%"));
        QCOMPARE(labelText(dialog, "lblButaneP"), QStringLiteral("5% бутан"));
    }

    void setMixture_movesSliderAndRefillsLabels_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("mixture");
        QTest::addColumn<QString>("propane");
        QTest::addColumn<QString>("butane");
        QTest::newRow("40") << 40 << 40 << QStringLiteral("пропан 40%") << QStringLiteral("60% бутан");
        QTest::newRow("lower end") << 5 << 5 << QStringLiteral("пропан 5%") << QStringLiteral("95% бутан");
        QTest::newRow("upper end") << 95 << 95 << QStringLiteral("пропан 95%") << QStringLiteral("5% бутан");
        // A sensor value outside the slider's range: the labels show the value that will be written back.
        QTest::newRow("0 from the sensor") << 0 << 5 << QStringLiteral("пропан 5%") << QStringLiteral("95% бутан");
        QTest::newRow("120 from the sensor") << 120 << 95 << QStringLiteral("пропан 95%") << QStringLiteral("5% бутан");
    }
    void setMixture_movesSliderAndRefillsLabels() {
        QFETCH(int, percent);
        QFETCH(int, mixture);
        QFETCH(QString, propane);
        QFETCH(QString, butane);
        PropertiesDialog_t dialog;
        dialog.setMixture(percent);
        QCOMPARE(dialog.mixture(), mixture);
        QCOMPARE(labelText(dialog, "lblPropaneP"), propane);
        QCOMPARE(labelText(dialog, "lblButaneP"), butane);
    }

    void closeAndReopen_keepsValues() {
        PropertiesDialog_t dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* wall = dialog.findChild<QSpinBox*>();
        QCOMPARE(wall->accessibleName(), QStringLiteral("Толщина стенки бака, мм:"));
        wall->setFocus();
        QTest::keyClick(wall, Qt::Key_Up);
        QTest::keyClick(wall, Qt::Key_Up);
        dragSliderTo(dialog.findChild<QSlider*>(), -100);

        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnCloseP")), Qt::LeftButton);
        QVERIFY(dialog.isHidden());
        dialog.show();
        QCOMPARE(dialog.wallThickness(), 5);
        QCOMPARE(dialog.mixture(), 5);
        QCOMPARE(labelText(dialog, "lblPropaneP"), QStringLiteral("пропан 5%"));
    }
};

QTEST_MAIN(TestPropertiesDialog)
#include "test_propertiesdialog.moc"
