// Profile files: what is saved reads back the same, every kind of bad file is refused naming its problem, and the
// comparison with a sensor marks what differs and what writing leaves alone.

#include "sensorprofile.h"
#include "tankkind.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <functional>
#include <nlohmann/json.hpp>

using nlohmann::json;
using Change_t = std::function<void(SensorProfile_t&, SensorSnapshot_t&)>;
Q_DECLARE_METATYPE(Change_t)

namespace {

SensorProfile_t sampleProfile() {
    SensorProfile_t p;
    p.saved = QDateTime(QDate(2024, 5, 17), QTime(9, 30, 15), Qt::OffsetFromUTC, 3 * 3600);
    p.programVersion = QStringLiteral("2.0.4");
    p.portName = QStringLiteral("Velmaro#0001");
    SensorSnapshot_t& s = p.sensor;
    s.info = {QStringLiteral("Датчик уровня"), QStringLiteral("HW-2"), QStringLiteral("1.4.2")};
    s.tankConfig = {70, QStringLiteral("Mix"), 2};
    s.records = {makeTankRecord(0, TankKindE::CylinderH, 300, 640, 0, 3),
                 makeTankRecord(1, TankKindE::Toroid, 630, 250, CATALOGUE_TOROID_INNER_DIAMETER_MM, 3),
                 makeTankRecord(2, TankKindE::CylinderV, 400, 900, 0, 4)};
    s.omnicomm = {10, true, QStringLiteral("litres"), 5};
    s.calibration = Calibration_t{-5, 123456};
    return p;
}

QByteArray sampleWith(const std::function<void(json&)>& change) {
    json j = json::parse(profileToJson(sampleProfile()).toStdString());
    change(j);
    return QByteArray::fromStdString(j.dump());
}

QString writeFile(const QTemporaryDir& dir, const QByteArray& content) {
    const QString path = dir.filePath(QStringLiteral("profile.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<bool>("padToLimit");
        QTest::newRow("as saved") << false;
        QTest::newRow("padded to exactly the size limit") << true;
    }
    void roundTrip() {
        QFETCH(bool, padToLimit);
        const SensorProfile_t saved = sampleProfile();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("profile.json"));
        QString error;
        QVERIFY2(saveProfile(path, saved, error), qPrintable(error));
        if (padToLimit) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append));
            file.write(QByteArray(int(PROFILE_MAX_BYTES - file.size()), ' '));
        }
        SensorProfile_t loaded;
        QVERIFY2(loadProfile(path, loaded, error), qPrintable(error));
        QCOMPARE(profileToJson(loaded), profileToJson(saved));
        QCOMPARE(loaded.saved, saved.saved);
        QCOMPARE(loaded.saved.offsetFromUtc(), 3 * 3600);
        QCOMPARE(loaded.sensor.info.Name, saved.sensor.info.Name);
        QCOMPARE(loaded.sensor.records.size(), std::size_t(3));
        QCOMPARE(loaded.sensor.calibration->Empty, -5);
    }

    void badFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        const QString notJson = QStringLiteral("Файл не является документом JSON в кодировке UTF-8");
        const QString range = QStringLiteral("значение вне допустимых пределов");
        QTest::newRow("not JSON") << QByteArray("{\"Format\":") << notJson;
        QTest::newRow("not an object") << QByteArray("[1]") << notJson;
        QTest::newRow("invalid UTF-8") << profileToJson(sampleProfile()).replace("#0001", "#\xff\xfe") << notJson;
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Файл пуст");
        QTest::newRow("too large") << profileToJson(sampleProfile()).leftJustified(int(PROFILE_MAX_BYTES) + 1)
                                   << QStringLiteral("Файл слишком велик для профиля (больше 1024 КБ)");
        QTest::newRow("wrong format") << sampleWith([](json& j) { j["Format"] = "velmaro-sensor-state"; })
                                      << QStringLiteral("Файл не является профилем датчика");
        QTest::newRow("future version") << sampleWith([](json& j) {
            j["Version"] = 2;
        }) << QStringLiteral("Профиль записан более новой версией программы (версия формата 2); обновите программу");
        QTest::newRow("version 0") << sampleWith([](json& j) { j["Version"] = 0; }) << "Поле «Version»: " + range;
        QTest::newRow("bad date") << sampleWith([](json& j) { j["Saved"] = "17.05.2024"; })
                                  << QStringLiteral("Поле «Saved»: не дата и время в формате ISO 8601");
        QTest::newRow("missing field") << sampleWith([](json& j) { j["Sensor"].erase("Port"); })
                                       << QStringLiteral("Поле «Sensor.Port»: отсутствует");
        QTest::newRow("missing section") << sampleWith([](json& j) { j.erase("Calibration"); })
                                         << QStringLiteral("Поле «Calibration»: отсутствует");
        QTest::newRow("wrong type") << sampleWith([](json& j) { j["OmnicommConfig"]["TxMode"] = 1; })
                                    << QStringLiteral("Поле «OmnicommConfig.TxMode»: неверный тип значения");
        QTest::newRow("records not an array") << sampleWith([](json& j) { j["Records"] = json::object(); })
                                              << QStringLiteral("Поле «Records»: неверный тип значения");
        QTest::newRow("wall out of range")
            << sampleWith([](json& j) { j["Records"][1]["Wall"] = 16; }) << "Поле «Records[1].Wall»: " + range;
        QTest::newRow("unknown liquid") << sampleWith([](json& j) { j["TankConfig"]["Liquid"] = "Methane"; })
                                        << "Поле «TankConfig.Liquid»: " + range;
        QTest::newRow("address beyond the tab") << sampleWith([](json& j) { j["OmnicommConfig"]["Address"] = 255; })
                                                << "Поле «OmnicommConfig.Address»: " + range;
        QTest::newRow("period beyond the tab") << sampleWith([](json& j) { j["OmnicommConfig"]["TxPeriodSec"] = 31; })
                                               << "Поле «OmnicommConfig.TxPeriodSec»: " + range;
        QTest::newRow("calibration beyond 32 bits")
            << sampleWith([](json& j) { j["Calibration"]["Full"] = 2147483648LL; })
            << "Поле «Calibration.Full»: " + range;
        QTest::newRow("height not length")
            << sampleWith([](json& j) { j["Records"][2]["Length"] = 901; })
            << QStringLiteral("Поле «Records[2].Length»: значение не согласуется с другими полями");
        QTest::newRow("ids not rising") << sampleWith([](json& j) { std::swap(j["Records"][0], j["Records"][1]); })
                                        << QStringLiteral("Поле «Records[1].id»: номера записей должны возрастать");
        QTest::newRow("record 2 missing")
            << sampleWith([](json& j) { j["Records"].erase(2); }) << QStringLiteral("Поле «Records»: нет записи 2");
        QTest::newRow("active record missing") << sampleWith([](json& j) {
            j["TankConfig"]["Active"] = 1;
            j["Records"].erase(1);
        }) << QStringLiteral("Поле «Records»: нет записи 1");
    }
    void badFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = writeFile(dir, content);
        QVERIFY(!path.isEmpty());
        SensorProfile_t out;
        out.programVersion = QStringLiteral("untouched");
        QString actual;
        QVERIFY(!loadProfile(path, out, actual));
        QCOMPARE(actual, problem);
        QCOMPARE(out.programVersion, QStringLiteral("untouched"));
    }

    void unwritableTarget() {
        // A regular file used as a directory: refused even to root.
        QTemporaryFile notADir;
        QVERIFY(notADir.open());
        const QString path = notADir.fileName() + QStringLiteral("/profile.json");
        QString error;
        QVERIFY(!saveProfile(path, sampleProfile(), error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось записать файл: ")) && error.size() > 26,
                 qPrintable(error));
        QCOMPARE(notADir.size(), qint64(0));
        SensorProfile_t out;
        QVERIFY(!loadProfile(path, out, error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось открыть файл: ")), qPrintable(error));
    }

    void fields_data() {
        QTest::addColumn<Change_t>("change");
        QTest::addColumn<QStringList>("differing"); // label|in profile|in sensor|written
        QTest::newRow("equal") << Change_t([](SensorProfile_t&, SensorSnapshot_t&) {}) << QStringList();
        QTest::newRow("mixture") << Change_t([](SensorProfile_t&, SensorSnapshot_t& s) { s.tankConfig.Mixture = 95; })
                                 << QStringList{"Смесь, % пропана|70|95|1"};
        QTest::newRow("periodic output and units") << Change_t([](SensorProfile_t&, SensorSnapshot_t& s) {
            s.omnicomm.TxMode = false;
            s.omnicomm.Units = QStringLiteral("percent");
        }) << QStringList{"RS485: периодическая выдача|да|нет|1", "RS485: единицы|Литры|Проценты|1"};
        QTest::newRow("active record 1 differs") << Change_t([](SensorProfile_t& p, SensorSnapshot_t& s) {
            p.sensor.tankConfig.Active = s.tankConfig.Active = 1;
            s.records[1].Wall = 5;
        }) << QStringList{"Запись 1: стенка, мм|3|5|0"};
        QTest::newRow("record the sensor lacks")
            << Change_t([](SensorProfile_t&, SensorSnapshot_t& s) { s.records.pop_back(); })
            << QStringList{"Запись 2: форма|Цилиндрический||1",     "Запись 2: ориентация|Вертикальный||1",
                           "Запись 2: высота/длина, мм|900||1",     "Запись 2: наружный диаметр, мм|400||1",
                           "Запись 2: внутренний диаметр, мм|0||1", "Запись 2: стенка, мм|4||1"};
    }
    void fields() {
        QFETCH(Change_t, change);
        QFETCH(QStringList, differing);
        SensorProfile_t profile = sampleProfile();
        SensorSnapshot_t sensor = profile.sensor;
        change(profile, sensor);
        const QList<ProfileField_t> fields = profileFields(profile, sensor);
        QCOMPARE(fields.size(), 13);
        QCOMPARE(fields.last().label, QStringLiteral("RS485: период, с"));
        QStringList actual;
        for (const ProfileField_t& f : fields) {
            if (f.differs())
                actual << QStringLiteral("%1|%2|%3|%4").arg(f.label, f.inProfile, f.inSensor).arg(int(f.written));
        }
        QCOMPARE(actual, differing);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "test_profile.moc"
