// What writing a profile would set, beside what a sensor holds, as text for the user.
#include "sensorprofile.h"

#include <QCoreApplication>
#include <utility>

namespace {

QString message(const char* text) {
    return QCoreApplication::translate("SensorProfile", text);
}

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
            return message(text);
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
        labels << message(label).arg(id);
    return labels;
}

QString yesNo(bool value) {
    return value ? message("да") : message("нет");
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
    const TankConfig_t& a = own.tankConfig;
    const TankConfig_t& b = sensor.tankConfig;
    const OmnicommConfig_t& p = own.omnicomm;
    const OmnicommConfig_t& q = sensor.omnicomm;
    fields.append({message("Активная запись"), QString::number(a.Active), QString::number(b.Active)});
    fields.append({message("Смесь, % пропана"), QString::number(a.Mixture), QString::number(b.Mixture)});
    fields.append({message("Жидкость"), shown(a.Liquid), shown(b.Liquid)});
    fields.append({message("RS485: адрес"), QString::number(p.Address), QString::number(q.Address)});
    fields.append({message("RS485: периодическая выдача"), yesNo(p.TxMode), yesNo(q.TxMode)});
    fields.append({message("RS485: единицы"), shown(p.Units), shown(q.Units)});
    fields.append({message("RS485: период, с"), QString::number(p.TxPeriodSec), QString::number(q.TxPeriodSec)});
    return fields;
}
