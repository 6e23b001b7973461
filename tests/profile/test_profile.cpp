// What a fitter takes away from a sensor's setup. The profile file: what is saved reads back the same, every kind of
// bad file is refused naming its problem, and the comparison with a sensor marks what differs and what writing leaves
// alone. The installation report: its PDF's text, read back with pdftotext, holds every value set, Cyrillic included.

#include "installreport.h"
#include "pdftext.h"
#include "sensorprofile.h"
#include "tankkind.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <functional>
#include <nlohmann/json.hpp>

using nlohmann::json;
Q_DECLARE_METATYPE(TankConfigRecord_t)

namespace {

// Record 2, the active one, is the catalogue's 630x250 toroid.
SensorProfile_t sampleProfile() {
    SensorProfile_t p;
    // Saved with an offset from UTC, shown in the report in local time.
    p.saved = QDateTime(QDate(2025, 3, 12), QTime(14, 5, 15)).toOffsetFromUtc(3 * 3600);
    p.programVersion = QStringLiteral("2.0.4");
    p.portName = QStringLiteral("Velmaro#0001");
    SensorSnapshot_t& s = p.sensor;
    s.info = {QStringLiteral("Датчик уровня"), QStringLiteral("HW-2"), QStringLiteral("1.4.2")};
    s.tankConfig = {70, QStringLiteral("Butane"), 2};
    s.records = {makeTankRecord(0, TankKindE::CylinderH, 300, 640, 0, 3),
                 makeTankRecord(1, TankKindE::CylinderV, 400, 900, 0, 4),
                 makeTankRecord(2, TankKindE::Toroid, 630, 250, CATALOGUE_TOROID_INNER_DIAMETER_MM, 3)};
    s.omnicomm = {17, true, QStringLiteral("litres"), 25};
    s.calibration = Calibration_t{-5, 1234};
    return p;
}

QByteArray sampleWith(const std::function<void(json&)>& change) {
    json j = json::parse(profileToJson(sampleProfile()).toStdString());
    change(j);
    return QByteArray::fromStdString(j.dump());
}

} // namespace

class ProfileTest_t : public QObject {
    Q_OBJECT

private slots:
    void profile_paddedToTheSizeLimit_readsBackAsSaved() {
        const SensorProfile_t saved = sampleProfile();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("profile.json"));
        QString error;
        QVERIFY2(saveProfile(path, saved, error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(int(PROFILE_MAX_BYTES - file.size()), ' '));
        file.close();
        SensorProfile_t loaded;
        QVERIFY2(loadProfile(path, loaded, error), qPrintable(error));
        QCOMPARE(profileToJson(loaded), profileToJson(saved));
        QCOMPARE(loaded.saved.offsetFromUtc(), 3 * 3600);
    }

    void badProfile_isRefusedNamingItsProblem_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not JSON") << QByteArray("{\"Format\":")
                                  << QStringLiteral("Файл не является документом JSON в кодировке UTF-8");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Файл пуст");
        QTest::newRow("too large") << profileToJson(sampleProfile()).leftJustified(int(PROFILE_MAX_BYTES) + 1)
                                   << QStringLiteral("Файл слишком велик для профиля (больше 1024 КБ)");
        QTest::newRow("wrong format") << sampleWith([](json& j) { j["Format"] = "velmaro-sensor-state"; })
                                      << QStringLiteral("Файл не является профилем датчика");
        QTest::newRow("future version") << sampleWith([](json& j) {
            j["Version"] = 2;
        }) << QStringLiteral("Профиль записан более новой версией программы (версия формата 2); обновите программу");
        QTest::newRow("bad date") << sampleWith([](json& j) { j["Saved"] = "12.03.2025"; })
                                  << QStringLiteral("Поле «Saved»: не дата и время в формате ISO 8601");
        QTest::newRow("missing section") << sampleWith([](json& j) { j.erase("Calibration"); })
                                         << QStringLiteral("Поле «Calibration»: отсутствует");
        QTest::newRow("wrong type") << sampleWith([](json& j) { j["OmnicommConfig"]["TxMode"] = 1; })
                                    << QStringLiteral("Поле «OmnicommConfig.TxMode»: неверный тип значения");
        QTest::newRow("address beyond a byte")
            << sampleWith([](json& j) { j["OmnicommConfig"]["Address"] = 256; })
            << QStringLiteral("Поле «OmnicommConfig.Address»: значение вне допустимых пределов");
        QTest::newRow("ids not rising") << sampleWith([](json& j) { std::swap(j["Records"][0], j["Records"][1]); })
                                        << QStringLiteral("Поле «Records[1].id»: номера записей должны возрастать");
        QTest::newRow("active record missing") << sampleWith([](json& j) {
            j["TankConfig"]["Active"] = 1;
            j["Records"].erase(1);
        }) << QStringLiteral("Поле «Records»: нет записи 1");
    }
    void badProfile_isRefusedNamingItsProblem() {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(content) == content.size() && file.flush());
        SensorProfile_t out;
        out.programVersion = QStringLiteral("untouched");
        QString actual;
        QVERIFY(!loadProfile(file.fileName(), out, actual));
        QCOMPARE(actual, problem);
        QCOMPARE(out.programVersion, QStringLiteral("untouched"));
    }

    // Whatever a sensor may hold loads; writing sends it as the window would, or refuses what the window never sends.
    void heldValue_loadsAndIsWrittenAsTheWindowWould_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("issues"); // key|value|sent instead|range refused
        QTest::newRow("as the window writes") << sampleWith([](json&) {}) << QStringList();
        QTest::newRow("mixture 3, address 255, period 60 with periodic output: refused")
            << sampleWith([](json& j) {
                   j["TankConfig"]["Mixture"] = 3;
                   j["OmnicommConfig"]["Address"] = 255;
                   j["OmnicommConfig"]["TxPeriodSec"] = 60;
               })
            << QStringList{"TankConfig.Mixture|3||5..95", "OmnicommConfig.Address|255||0..254",
                           "OmnicommConfig.TxPeriodSec|60||0..30"};
        QTest::newRow("period 60 without periodic output: 0") << sampleWith([](json& j) {
            j["OmnicommConfig"]["TxMode"] = false;
            j["OmnicommConfig"]["TxPeriodSec"] = 60;
        }) << QStringList{"OmnicommConfig.TxPeriodSec|60|0|"};
        QTest::newRow("liquid LPG: the mixture's")
            << sampleWith([](json& j) { j["TankConfig"]["Liquid"] = "LPG"; })
            << QStringList{"TankConfig.Liquid|LPG|бутан, для смесей менее 95 % пропана|"};
        QTest::newRow("records 0 and 1 never written") << sampleWith([](json& j) {
            j["Records"][0]["Wall"] = 0;
            j["Records"][1]["Height"] = 901;
            j["Records"][1]["Shape"] = "Spherical";
        }) << QStringList();
        QTest::newRow("record 2 height apart from length: its length; wall 0: refused") << sampleWith([](json& j) {
            j["Records"][2]["Height"] = 260;
            j["Records"][2]["Wall"] = 0;
        }) << QStringList{"Records[2].Height|260|250|", "Records[2].Wall|0||1..15"};
        QTest::newRow("record 2 wall 0, record 1 active") << sampleWith([](json& j) {
            j["Records"][2]["Wall"] = 0;
            j["TankConfig"]["Active"] = 1;
        }) << QStringList();
    }
    void heldValue_loadsAndIsWrittenAsTheWindowWould() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, issues);
        SensorProfile_t profile;
        QString problem;
        QVERIFY2(profileFromJson(content, profile, problem), qPrintable(problem));
        QStringList found;
        for (const WriteIssue_t& i : writeIssues(profile.sensor))
            found << QStringList{i.key, i.value, i.sent, i.range}.join('|');
        QCOMPARE(found, issues);
    }

    void unwritableTarget_isRefusedWithTheReason() {
        // A regular file used as a directory: refused even to root.
        QTemporaryFile notADir;
        QVERIFY(notADir.open());
        const QString path = notADir.fileName() + QStringLiteral("/setup");
        QString error;
        QVERIFY(!saveProfile(path, sampleProfile(), error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось записать файл: ")) && error.size() > 26,
                 qPrintable(error));
        SensorProfile_t out;
        QVERIFY(!loadProfile(path, out, error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось открыть файл: ")), qPrintable(error));
        QVERIFY(!writeReportPdf(path, sampleProfile(), {}, {}, error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось сохранить отчёт в ") + path + ": "), qPrintable(error));
        QCOMPARE(notADir.size(), qint64(0));
    }

    void profileFields_markWhatDiffersAndWhatWritingLeavesAlone() {
        SensorProfile_t profile = sampleProfile();
        // Record 1 is the sensor's own: a difference there shows, but writing the profile cannot mend it.
        profile.sensor.tankConfig.Active = 1;
        SensorSnapshot_t sensor = profile.sensor;
        sensor.records[1].Wall = 5;
        sensor.records[1].Orientation = QStringLiteral("Horizontal");
        sensor.tankConfig.Mixture = 95;
        sensor.omnicomm.Units = QStringLiteral("percent");
        const QList<ProfileField_t> fields = profileFields(profile, sensor);
        QCOMPARE(fields.size(), 13);
        QStringList differing;
        for (const ProfileField_t& f : fields) {
            if (f.differs())
                differing << QStringLiteral("%1|%2|%3|%4").arg(f.label, f.inProfile, f.inSensor).arg(int(f.written));
        }
        QCOMPARE(differing,
                 (QStringList{"Запись 1: ориентация|Вертикальный|Горизонтальный|0", "Запись 1: стенка, мм|4|5|0",
                              "Смесь, % пропана|70|95|1", "RS485: Единицы|Литры|Проценты|1"}));
    }

    void report_holdsEveryValueSet_data() {
        QTest::addColumn<TankConfigRecord_t>("tank"); // record 2, the active one
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("printed");  // through the printing path, without the live test's readings
        QTest::addColumn<bool>("periodic"); // RS485 periodic output
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const TankConfigRecord_t toroid = sampleProfile().sensor.records.back();
        // Every row of the report, label and value as pdftotext gives them.
        const QStringList everyValue =
            QString("Датчик уровня|HW-2|1.4.2|2.0.4|12.03.2025 14:05|ГАЗель Next|А123ВС 77|Иванов И. И.|"
                    "под <кузовом> & рамой|Форма Тороидальный|Внешний диаметр, мм 630|Внутренний диаметр, мм 172|"
                    "Высота, мм 250|Типоразмер 630x250 60L|Толщина стенки, мм 3|Смесь, % пропана 70|"
                    "Жидкость (настройка датчика) бутан, для смесей менее 95 % пропана|"
                    "Пустой бак -5|Полный бак 1234|Адрес 17|Периодическая выдача да|Период, с 25|Единицы Литры|"
                    "График проверки|Установщик: ___|Ф. И. О.: Иванов И. И.|Заказчик: ___")
                .split('|');
        QTest::newRow("catalogue toroid")
            << toroid << QStringLiteral("под <кузовом> & рамой") << false << true << everyValue
            << QStringList{"&lt;", "&amp;", "задан вручную", "Velmaro#0001"};
        QTest::newRow("horizontal by hand, printed, no periodic output")
            << makeTankRecord(2, TankKindE::CylinderH, 300, 700, 0, 5) << QString() << true << false
            << QStringList{"Цилиндрический горизонтальный", "Диаметр, мм 300",      "Длина, мм 700",
                           "Типоразмер задан вручную",      "Толщина стенки, мм 5", "Периодическая выдача нет"}
            << QStringList{"Внутренний", "График проверки", "Период, с"};
        QTest::newRow("note too long for the page: cut")
            << toroid << QString(5000, QChar(0x416)) + QStringLiteral("\nстрока").repeated(80) + "конец" << false
            << true << QStringList{"ЖЖЖ…", "Заказчик:"} << QStringList{"конец"};
    }
    void report_holdsEveryValueSet() {
        QFETCH(TankConfigRecord_t, tank);
        QFETCH(QString, note);
        QFETCH(bool, printed);
        QFETCH(bool, periodic);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        SensorProfile_t setup = sampleProfile();
        setup.sensor.records.back() = tank;
        setup.sensor.omnicomm.TxMode = periodic;
        const ReportDetails_t details{QStringLiteral("ГАЗель Next"), QStringLiteral("А123ВС 77"),
                                      QStringLiteral("Иванов И. И."), note};
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        if (printed) {
            QPdfWriter printer(path);
            printReport(printer, setup, details, {});
        } else {
            QVERIFY2(writeReportPdf(path, setup, details, {3, 40, 25, 60}, error), qPrintable(error));
        }
        QVERIFY2(pdfText(path, 2).isEmpty(), "more than one page");
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly) && !pdf.readAll().contains("/Subtype /Image")); // the curve as vectors
        const QString text = pdfText(path);
        for (const QString& expected : present)
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in: ") + text));
        for (const QString& unexpected : absent)
            QVERIFY2(!text.contains(unexpected), qPrintable(unexpected + QStringLiteral(" found in: ") + text));
    }
};

QTEST_MAIN(ProfileTest_t)
#include "test_profile.moc"
