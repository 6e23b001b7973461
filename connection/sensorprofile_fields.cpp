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

// One text per field of a record, in the order of recordLabels; Height stands for Length, which equals it.
QStringList recordTexts(const TankConfigRecord_t& r) {
    return {shown(r.Shape),
            shown(r.Orientation),
            QString::number(r.Height),
            QString::number(r.OuterDiameter),
            QString::number(r.InnerDiameter),
            QString::number(r.Wall)};
}

QStringList recordLabels(int id) {
    QStringList labels;
    for (const char* label :
         {"Запись %1: форма", "Запись %1: ориентация", "Запись %1: высота/длина, мм", "Запись %1: наружный диаметр, мм",
          "Запись %1: внутренний диаметр, мм", "Запись %1: стенка, мм"})
        labels << profileMessage(label).arg(id);
    return labels;
}

QString yesNo(bool value) {
    return value ? profileMessage("да") : profileMessage("нет");
}

} // namespace

QList<ProfileField_t> profileFields(const SensorProfile_t& profile, const SensorSnapshot_t& sensor) {
    const SensorSnapshot_t& own = profile.sensor;
    const int active = own.tankConfig.Active;
    QList<ProfileField_t> fields;
    if (const TankConfigRecord_t* record = own.record(active)) {
        const QStringList labels = recordLabels(active);
        const QStringList inProfile = recordTexts(*record);
        const TankConfigRecord_t* held = sensor.record(active);
        const QStringList inSensor = held ? recordTexts(*held) : QStringList();
        for (int i = 0; i < labels.size(); ++i)
            fields.append({labels[i], inProfile[i], inSensor.value(i), active == WRITABLE_RECORD_ID});
    }
    const TankConfig_t& tank = own.tankConfig;
    const TankConfig_t& heldTank = sensor.tankConfig;
    const OmnicommConfig_t& rs485 = own.omnicomm;
    const OmnicommConfig_t& heldRs485 = sensor.omnicomm;
    fields.append({profileMessage("Активная запись"), QString::number(tank.Active), QString::number(heldTank.Active)});
    fields.append(
        {profileMessage("Смесь, % пропана"), QString::number(tank.Mixture), QString::number(heldTank.Mixture)});
    fields.append({profileMessage("Жидкость"), shown(tank.Liquid), shown(heldTank.Liquid)});
    fields.append({profileMessage("RS485: адрес"), QString::number(rs485.Address), QString::number(heldRs485.Address)});
    fields.append({profileMessage("RS485: периодическая выдача"), yesNo(rs485.TxMode), yesNo(heldRs485.TxMode)});
    fields.append({profileMessage("RS485: единицы"), shown(rs485.Units), shown(heldRs485.Units)});
    fields.append({profileMessage("RS485: период, с"), QString::number(rs485.TxPeriodSec),
                   QString::number(heldRs485.TxPeriodSec)});
    return fields;
}
