#include "sensorfacts.h"

#include <QCoreApplication>
#include <utility>

namespace {

QString fact(const char* text) {
    return QCoreApplication::translate("SensorFacts", text);
}

// The sensor's liquid setting with the mixtures it stands for, so that it never reads as the gas in the tank.
QString liquidSettingText(const QString& liquid) {
    if (liquid == QLatin1String(WireNames::LIQUID_PROPANE))
        return fact("пропан, для смесей от %1 % пропана").arg(PROPANE_MIXTURE_MIN);
    if (liquid == QLatin1String(WireNames::LIQUID_BUTANE))
        return fact("бутан, для смесей менее %1 % пропана").arg(PROPANE_MIXTURE_MIN);
    return wireNameText(liquid);
}

QString yesNo(bool value) {
    return value ? fact("да") : fact("нет");
}

// The record values shown, under the profile file's names; Height stands for Length, which equals it when the tool
// wrote the record. A named value is shown in words.
struct RecordValue_t {
    const char* key;
    const char* label;
    QString (*value)(const TankConfigRecord_t&);
    bool named = false;
};

const RecordValue_t RECORD_VALUES[] = {
    {"Shape", "Запись %1: форма", [](const TankConfigRecord_t& r) { return r.Shape; }, true},
    {"Orientation", "Запись %1: ориентация", [](const TankConfigRecord_t& r) { return r.Orientation; }, true},
    {"Height", "Запись %1: высота/длина, мм", [](const TankConfigRecord_t& r) { return QString::number(r.Height); }},
    {"OuterDiameter", "Запись %1: наружный диаметр, мм",
     [](const TankConfigRecord_t& r) { return QString::number(r.OuterDiameter); }},
    {"InnerDiameter", "Запись %1: внутренний диаметр, мм",
     [](const TankConfigRecord_t& r) { return QString::number(r.InnerDiameter); }},
    {"Wall", "Запись %1: стенка, мм", [](const TankConfigRecord_t& r) { return QString::number(r.Wall); }},
};

} // namespace

QString wireNameText(const QString& wireName) {
    static const std::pair<const char*, const char*> names[] = {{WireNames::SHAPE_CYLINDRIC, "Цилиндрический"},
                                                                {WireNames::SHAPE_TOROIDAL, "Тороидальный"},
                                                                {WireNames::ORIENTATION_HORIZONTAL, "Горизонтальный"},
                                                                {WireNames::ORIENTATION_VERTICAL, "Вертикальный"},
                                                                {WireNames::LIQUID_PROPANE, "Пропан"},
                                                                {WireNames::LIQUID_BUTANE, "Бутан"},
                                                                {WireNames::LIQUID_MIX, "Смесь"},
                                                                {WireNames::UNITS_MM, "мм"},
                                                                {WireNames::UNITS_LITRES, "Литры"},
                                                                {WireNames::UNITS_PERCENT, "Проценты"}};
    for (const auto& [wire, text] : names) {
        if (wireName == QLatin1String(wire))
            return fact(text);
    }
    return wireName;
}

QList<SensorFact_t> sensorFacts(const SensorSnapshot_t& s) {
    using G = FactGroupE;
    const auto integer = [](qint32 value) { return QString::number(value); };
    const DeviceInfo_t& info = s.info;
    const TankConfig_t& tank = s.tankConfig;
    const OmnicommConfig_t& rs485 = s.omnicomm;
    QList<SensorFact_t> facts{
        {G::IDENTITY, "Sensor.Name", fact("Устройство"), info.Name, info.Name},
        {G::IDENTITY, "Sensor.HWVer", fact("Аппаратная версия"), info.HWVer, info.HWVer},
        {G::IDENTITY, "Sensor.FWVer", fact("Версия прошивки"), info.FWVer, info.FWVer},
        {G::TANK, "TankConfig.Active", fact("Активная запись"), integer(tank.Active), integer(tank.Active)},
        {G::GAS, "TankConfig.Mixture", fact("Смесь, % пропана"), integer(tank.Mixture), integer(tank.Mixture)},
        {G::GAS, "TankConfig.Liquid", fact("Жидкость (настройка датчика)"), liquidSettingText(tank.Liquid),
         tank.Liquid},
    };
    for (const TankConfigRecord_t& record : s.records) {
        for (const RecordValue_t& v : RECORD_VALUES) {
            const QString value = v.value(record);
            facts.append({G::TANK, QStringLiteral("Records[%1].%2").arg(record.id).arg(QLatin1String(v.key)),
                          fact(v.label).arg(record.id), v.named ? wireNameText(value) : value, value});
        }
    }
    const std::optional<Calibration_t>& calibration = s.calibration;
    const auto point = [&calibration](qint32 Calibration_t::*value) {
        return calibration ? calibrationValueText((*calibration).*value) : fact("не считана");
    };
    const auto pointValue = [&calibration](qint32 Calibration_t::*value) {
        return calibration ? QString::number((*calibration).*value) : QStringLiteral("unknown");
    };
    facts << SensorFact_t{G::CALIBRATION, "Calibration.Empty", fact("Пустой бак"), point(&Calibration_t::Empty),
                          pointValue(&Calibration_t::Empty)}
          << SensorFact_t{G::CALIBRATION, "Calibration.Full", fact("Полный бак"), point(&Calibration_t::Full),
                          pointValue(&Calibration_t::Full)}
          << SensorFact_t{G::RS485, "OmnicommConfig.Address", fact("Адрес"), integer(rs485.Address),
                          integer(rs485.Address)}
          << SensorFact_t{G::RS485, "OmnicommConfig.TxMode", fact("Периодическая выдача"), yesNo(rs485.TxMode),
                          rs485.TxMode ? QStringLiteral("true") : QStringLiteral("false")}
          << SensorFact_t{G::RS485, "OmnicommConfig.Units", fact("Единицы"), wireNameText(rs485.Units), rs485.Units}
          << SensorFact_t{G::RS485, "OmnicommConfig.TxPeriodSec", fact("Период, с"), integer(rs485.TxPeriodSec),
                          integer(rs485.TxPeriodSec)};
    return facts;
}

QList<SensorFact_t> sensorFacts(const SensorSnapshot_t& sensor, FactGroupE group) {
    QList<SensorFact_t> found;
    for (const SensorFact_t& f : sensorFacts(sensor)) {
        if (f.group == group)
            found << f;
    }
    return found;
}
