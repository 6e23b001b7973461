// What the installation report says about the active tank's volume and its level-to-litres table.

#include "installreport.h"
#include "tankkind.h"

#include <QTextDocument>
#include <QtTest>

Q_DECLARE_METATYPE(TankConfigRecord_t)

class ReportTest_t : public QObject {
    Q_OBJECT

private slots:
    void tank_volumeAndCompactTable_data() {
        QTest::addColumn<TankConfigRecord_t>("record");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("catalogue toroid 600x200, 194 mm inside")
            << makeTankRecord(2, TankKindE::Toroid, 600, 200, 172, 3)
            << QStringList{"≈ 42,7 л, расчёт по размерам бака",
                           "Таблица тарировки (расчёт по размерам бака)",
                           "Уровень, мм\n0\n19\n39",
                           "97\n116",
                           "194\nОбъём, л\n0,0\n",
                           "21,3",
                           "42,7"}
            << QStringList{};
        QTest::newRow("a wall that leaves no inner space: no volume, no table")
            << makeTankRecord(2, TankKindE::Toroid, 600, 20, 172, 10) << QStringList{"Типоразмер"}
            << QStringList{"расчёт по размерам бака", "Таблица тарировки"};
    }

    void tank_volumeAndCompactTable() {
        QFETCH(TankConfigRecord_t, record);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        SensorProfile_t setup;
        setup.sensor.tankConfig.Active = 2;
        setup.sensor.storeRecord(record);
        QTextDocument document;
        buildReport(document, setup, ReportDetails_t(), {});
        const QString text = document.toPlainText();
        for (const QString& part : present)
            QVERIFY2(text.contains(part), qPrintable(part + " in:\n" + text));
        for (const QString& part : absent)
            QVERIFY2(!text.contains(part), qPrintable(part));
    }
};

QTEST_MAIN(ReportTest_t)
#include "test_report.moc"
