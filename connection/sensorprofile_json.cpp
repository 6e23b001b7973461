// The profile as JSON text. nlohmann is used only without exceptions here: parsing with allow_exceptions=false,
// every value's type checked before it is read, and writing with invalid UTF-8 replaced.
#include "profilemessage.h"
#include "sensorprofile.h"
#include "wireobjects.h"

#include <limits>

using nlohmann::json;

namespace {

QString fieldProblem(const QString& field, const QString& what) {
    return profileMessage("Поле «%1»: %2").arg(field, what);
}

QString faultText(WireFaultE kind) {
    switch (kind) {
    case WireFaultE::Missing:
        return profileMessage("отсутствует");
    case WireFaultE::WrongType:
        return profileMessage("неверный тип значения");
    case WireFaultE::OutOfRange:
        return profileMessage("значение вне допустимых пределов");
    }
    Q_UNREACHABLE();
    return QString();
}

// The problem naming the field a strict reader refused; section is the path of the object it read.
QString faultProblem(const QString& section, const WireFault_t& fault) {
    const QString field = section.isEmpty() || fault.key.isEmpty() ? section + fault.key : section + '.' + fault.key;
    return fieldProblem(field, faultText(fault.kind));
}

// A strict reader's result at the top level: on refusal, the problem naming the field.
bool noted(bool read, const WireFault_t& fault, QString& problem) {
    if (!read)
        problem = faultProblem(QString(), fault);
    return read;
}

// The member key of root read by read, or the problem naming the field.
template <typename T, typename Reader>
bool readSection(const json& root, const char* key, Reader read, T& out, QString& problem) {
    WireFault_t fault{QString(), WireFaultE::Missing};
    const auto it = root.find(key);
    if (it != root.end() && read(*it, out, &fault))
        return true;
    problem = faultProblem(QLatin1String(key), fault);
    return false;
}

bool sensorFromJson(const json& object, SensorProfile_t& out, WireFault_t* fault) {
    return infoFromJson(object, out.sensor.info, fault) && readTextMember(object, "Port", out.portName, fault);
}

// Null when the sensor would not tell its calibration.
bool calibrationSectionFromJson(const json& object, std::optional<Calibration_t>& out, WireFault_t* fault) {
    if (object.is_null()) {
        out.reset();
        return true;
    }
    Calibration_t calibration;
    if (!calibrationFromJson(object, calibration, fault))
        return false;
    out = calibration;
    return true;
}

// Ids strictly rising, record 2 and the active record among them.
bool recordsFromJson(const json& root, SensorSnapshot_t& out, QString& problem) {
    const auto it = root.find("Records");
    if (it == root.end() || !it->is_array()) {
        return noted(false, {QStringLiteral("Records"), it == root.end() ? WireFaultE::Missing : WireFaultE::WrongType},
                     problem);
    }
    for (std::size_t i = 0; i < it->size(); ++i) {
        const QString field = QStringLiteral("Records[%1]").arg(i);
        TankConfigRecord_t record;
        WireFault_t fault;
        if (!recordFromJson((*it)[i], record, &fault)) {
            problem = faultProblem(field, fault);
            return false;
        }
        if (!out.records.empty() && record.id <= out.records.back().id) {
            problem = fieldProblem(field + QStringLiteral(".id"), profileMessage("номера записей должны возрастать"));
            return false;
        }
        out.records.push_back(record);
    }
    for (const int id : {WRITABLE_RECORD_ID, int(out.tankConfig.Active)}) {
        if (!out.record(id)) {
            problem = fieldProblem(QStringLiteral("Records"), profileMessage("нет записи %1").arg(id));
            return false;
        }
    }
    return true;
}

bool headerFromJson(const json& root, SensorProfile_t& out, QString& problem) {
    QString format;
    if (!readTextMember(root, "Format", format) || format != QLatin1String(PROFILE_FORMAT)) {
        problem = profileMessage("Файл не является профилем датчика");
        return false;
    }
    WireFault_t fault;
    qint32 version = 0;
    if (!noted(readIntMember(root, "Version", 1, std::numeric_limits<qint32>::max(), version, &fault), fault, problem))
        return false;
    if (version > PROFILE_VERSION) {
        problem =
            profileMessage("Профиль записан более новой версией программы (версия формата %1); обновите программу")
                .arg(version);
        return false;
    }
    QString saved;
    if (!noted(readTextMember(root, "Saved", saved, &fault), fault, problem))
        return false;
    out.saved = QDateTime::fromString(saved, Qt::ISODate);
    if (!out.saved.isValid()) {
        problem = fieldProblem(QStringLiteral("Saved"), profileMessage("не дата и время в формате ISO 8601"));
        return false;
    }
    return noted(readTextMember(root, "Program", out.programVersion, &fault), fault, problem);
}

} // namespace

QByteArray profileToJson(const SensorProfile_t& profile) {
    const SensorSnapshot_t& s = profile.sensor;
    json records = json::array();
    for (const TankConfigRecord_t& record : s.records)
        records.push_back(recordToJson(record));
    json sensor = infoToJson(s.info);
    sensor["Port"] = profile.portName.toStdString();
    const QDateTime saved = profile.saved.toOffsetFromUtc(profile.saved.offsetFromUtc());
    const json root = {{"Format", PROFILE_FORMAT},
                       {"Version", PROFILE_VERSION},
                       {"Saved", saved.toString(Qt::ISODate).toStdString()},
                       {"Program", profile.programVersion.toStdString()},
                       {"Sensor", sensor},
                       {"TankConfig", tankConfigToJson(s.tankConfig)},
                       {"Records", records},
                       {"OmnicommConfig", omnicommToJson(s.omnicomm)},
                       {"Calibration", s.calibration ? calibrationToJson(*s.calibration) : json()}};
    return QByteArray::fromStdString(root.dump(4, ' ', false, json::error_handler_t::replace)) + '\n';
}

bool profileFromJson(const QByteArray& text, SensorProfile_t& out, QString& problem) {
    const json root = json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    if (!root.is_object()) {
        problem = profileMessage("Файл не является документом JSON в кодировке UTF-8");
        return false;
    }
    SensorProfile_t profile;
    SensorSnapshot_t& s = profile.sensor;
    if (!headerFromJson(root, profile, problem) || !readSection(root, "Sensor", sensorFromJson, profile, problem) ||
        !readSection(root, "TankConfig", tankConfigFromJson, s.tankConfig, problem) ||
        !recordsFromJson(root, s, problem) ||
        !readSection(root, "OmnicommConfig", omnicommFromJson, s.omnicomm, problem) ||
        !readSection(root, "Calibration", calibrationSectionFromJson, s.calibration, problem))
        return false;
    out = profile;
    return true;
}
