// What writing a profile would set, beside what a sensor holds, as text for the user.
#include "profilemessage.h"
#include "sensorprofile.h"

#include <utility>

namespace {

// Wire names as the window shows them; a name the sensor sent but the window does not know stays as sent.
QString shown(const QString& wireName) {
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
            return profileMessage(text);
    }
    return wireName;
}

// The profile file's name and the user's label of each record value, and its text: Height stands for Length,
// which equals it.
struct RecordValue_t {
    const char* key;
    const char* label;
    QString (*text)(const TankConfigRecord_t&);
};

const RecordValue_t RECORD_VALUES[] = {
    {"Shape", "Запись %1: форма", [](const TankConfigRecord_t& r) { return shown(r.Shape); }},
    {"Orientation", "Запись %1: ориентация", [](const TankConfigRecord_t& r) { return shown(r.Orientation); }},
    {"Height", "Запись %1: высота/длина, мм", [](const TankConfigRecord_t& r) { return QString::number(r.Height); }},
    {"OuterDiameter", "Запись %1: наружный диаметр, мм",
     [](const TankConfigRecord_t& r) { return QString::number(r.OuterDiameter); }},
    {"InnerDiameter", "Запись %1: внутренний диаметр, мм",
     [](const TankConfigRecord_t& r) { return QString::number(r.InnerDiameter); }},
    {"Wall", "Запись %1: стенка, мм", [](const TankConfigRecord_t& r) { return QString::number(r.Wall); }},
};

QString yesNo(bool value) {
    return value ? profileMessage("да") : profileMessage("нет");
}

} // namespace

QList<ProfileField_t> profileFields(const SensorProfile_t& profile, const SensorSnapshot_t& sensor) {
    const SensorSnapshot_t& own = profile.sensor;
    const int active = own.tankConfig.Active;
    QList<ProfileField_t> fields;
    const auto add = [&fields](const QString& key, const char* label, const QString& inProfile, const QString& inSensor,
                               bool written = true) {
        fields.append({key, profileMessage(label), inProfile, inSensor, written});
    };
    if (const TankConfigRecord_t* record = own.record(active)) {
        const TankConfigRecord_t* held = sensor.record(active);
        for (const RecordValue_t& value : RECORD_VALUES) {
            fields.append({QStringLiteral("Records[%1].%2").arg(active).arg(QLatin1String(value.key)),
                           profileMessage(value.label).arg(active), value.text(*record),
                           held ? value.text(*held) : QString(), active == WRITABLE_RECORD_ID});
        }
    }
    const TankConfig_t& tank = own.tankConfig;
    const TankConfig_t& heldTank = sensor.tankConfig;
    const OmnicommConfig_t& rs485 = own.omnicomm;
    const OmnicommConfig_t& heldRs485 = sensor.omnicomm;
    add(QStringLiteral("TankConfig.Active"), "Активная запись", QString::number(tank.Active),
        QString::number(heldTank.Active));
    add(QStringLiteral("TankConfig.Mixture"), "Смесь, % пропана", QString::number(tank.Mixture),
        QString::number(heldTank.Mixture));
    add(QStringLiteral("TankConfig.Liquid"), "Жидкость", shown(tank.Liquid), shown(heldTank.Liquid));
    add(QStringLiteral("OmnicommConfig.Address"), "RS485: адрес", QString::number(rs485.Address),
        QString::number(heldRs485.Address));
    add(QStringLiteral("OmnicommConfig.TxMode"), "RS485: периодическая выдача", yesNo(rs485.TxMode),
        yesNo(heldRs485.TxMode));
    add(QStringLiteral("OmnicommConfig.Units"), "RS485: единицы", shown(rs485.Units), shown(heldRs485.Units));
    add(QStringLiteral("OmnicommConfig.TxPeriodSec"), "RS485: период, с", QString::number(rs485.TxPeriodSec),
        QString::number(heldRs485.TxPeriodSec));
    return fields;
}
