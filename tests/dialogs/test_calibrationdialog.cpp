// The calibration view: value labels, the help text as the user reads it, and the button row's order.

#include "calibrationdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

QString labelText(const CalibrationDialog_t& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

} // namespace

class TestCalibrationDialog : public QObject {
    Q_OBJECT

private slots:
    void valueLabels_showValueOrDash_data() {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty 0") << true << 0 << QStringLiteral("Значение \"Пустой\": -");
        QTest::newRow("empty positive") << true << 1234 << QStringLiteral("Значение \"Пустой\": 1234");
        QTest::newRow("empty negative") << true << -7 << QStringLiteral("Значение \"Пустой\": -7");
        QTest::newRow("full 0") << false << 0 << QStringLiteral("Значение \"Полный\": -");
        QTest::newRow("full positive") << false << 2147483647 << QStringLiteral("Значение \"Полный\": 2147483647");
        QTest::newRow("full negative") << false << -12 << QStringLiteral("Значение \"Полный\": -12");
    }
    void valueLabels_showValueOrDash() {
        QFETCH(bool, empty);
        QFETCH(int, value);
        QFETCH(QString, text);
        CalibrationDialog_t dialog;
        if (empty)
            dialog.setEmptyValue(value);
        else
            dialog.setFullValue(value);
        QCOMPARE(labelText(dialog, empty ? "lblEmptyValueP" : "lblFullValueP"), text);
        QCOMPARE(labelText(dialog, empty ? "lblFullValueP" : "lblEmptyValueP"), QString());
    }

    void emptyAndFull_areIndependent() {
        CalibrationDialog_t dialog;
        dialog.setEmptyValue(5);
        dialog.setFullValue(900);
        dialog.setEmptyValue(0);
        QCOMPARE(labelText(dialog, "lblEmptyValueP"), QStringLiteral("Значение \"Пустой\": -"));
        QCOMPARE(labelText(dialog, "lblFullValueP"), QStringLiteral("Значение \"Полный\": 900"));
    }

    void helpText_isExact() {
        CalibrationDialog_t dialog;
        const QString expected = QStringLiteral("Подключите экран к компьютеру. Нажмите кнопку \"Полный бак\" сразу "
                                                "после заправки бака газом, а \"Пустой бак\" ") +
                                 QChar(0x2013) +
                                 QStringLiteral(" после смены типа подаваемого в двигатель топлива.\nВнимание! "
                                                "Датчик калибруется при поданном на него питании");
        QCOMPARE(labelText(dialog, "lblHelpP"), expected);
    }

    void buttonRow_emptyThenFullThenClose_andCloseHides() {
        CalibrationDialog_t dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.isModal());
        auto* close = dialog.findChild<QPushButton*>(QStringLiteral("btnCloseP"));
        QCOMPARE(dialog.emptyButton()->text(), QStringLiteral("Пустой бак"));
        QCOMPARE(dialog.fullButton()->text(), QStringLiteral("Полный бак"));
        QVERIFY(dialog.emptyButton()->x() < dialog.fullButton()->x());
        QVERIFY(dialog.fullButton()->x() < close->x());
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(dialog.isHidden());
    }
};

QTEST_MAIN(TestCalibrationDialog)
#include "test_calibrationdialog.moc"
