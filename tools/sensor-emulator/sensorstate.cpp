#include "sensorstate.h"

#include "tankkind.h"

#include <initializer_list>
#include <limits>

using nlohmann::json;

namespace {

constexpr int MIN_WALL_MM = 1;
constexpr int DEFAULT_WALL_MM = 3;
constexpr int MAX_WALL_MM = 15;
constexpr int MAX_BYTE_VALUE = 255;

std::string str(const QString& text) {
    return text.toStdString();
}

bool readText(const json& object, const char* key, QString& out) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string())
        return false;
    out = QString::fromStdString(it->get<std::string>());
    return true;
}

bool readName(const json& object, const char* key, std::initializer_list<const char*> names, QString& out) {
    QString text;
    if (!readText(object, key, text))
        return false;
    for (const char* name : names) {
        if (text == QLatin1String(name)) {
            out = text;
            return true;
        }
    }
    return false;
}

bool infoFromJson(const json& object, DeviceInfo_t& out) {
    DeviceInfo_t info;
    if (!object.is_object() || !readText(object, "Name", info.Name) || !readText(object, "HWVer", info.HWVer) ||
        !readText(object, "FWVer", info.FWVer))
        return false;
    out = info;
    return true;
}

bool calibrationFromJson(const json& object, Calibration_t& out) {
    constexpr qint64 low = std::numeric_limits<qint32>::min();
    constexpr qint64 high = std::numeric_limits<qint32>::max();
    Calibration_t c;
    if (!object.is_object() || !readIntMember(object, "Empty", low, high, c.Empty) ||
        !readIntMember(object, "Full", low, high, c.Full))
        return false;
    out = c;
    return true;
}

bool recordsFromJson(const json& array, std::array<TankConfigRecord_t, TANK_RECORD_COUNT>& out) {
    if (!array.is_array() || array.size() != out.size())
        return false;
    std::array<TankConfigRecord_t, TANK_RECORD_COUNT> records;
    for (int id = 0; id < TANK_RECORD_COUNT; ++id) {
        if (!recordFromJson(array[id], records[id]) || records[id].id != id)
            return false;
    }
    out = records;
    return true;
}

bool flagFromJson(const json& value, bool& out) {
    if (!value.is_boolean())
        return false;
    out = value.get<bool>();
    return true;
}

// A section left out keeps its value; a present one must read.
template <typename T, typename Reader>
bool readSection(const json& object, const char* key, Reader read, T& out, QString& error) {
    const auto it = object.find(key);
    if (it == object.end() || read(*it, out))
        return true;
    error = QStringLiteral("bad section %1").arg(QLatin1String(key));
    return false;
}

} // namespace

bool readIntMember(const json& object, const char* key, qint64 low, qint64 high, qint32& out) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer())
        return false;
    if (it->is_number_unsigned() && it->get<quint64>() > quint64(std::numeric_limits<qint64>::max()))
        return false;
    const qint64 value = it->get<qint64>();
    if (value < low || value > high)
        return false;
    out = static_cast<qint32>(value);
    return true;
}

SensorState_t defaultSensorState() {
    SensorState_t s;
    s.info.Name = QStringLiteral("Velmaro LS-1 (emulated)");
    s.info.HWVer = QStringLiteral("EMU-000001");
    s.info.FWVer = QStringLiteral("1.0.0-emu");
    s.tankConfig.Mixture = 70;
    s.tankConfig.Liquid = QString::fromLatin1(WireNames::LIQUID_MIX);
    s.tankConfig.Active = WRITABLE_RECORD_ID;
    s.records[0] = makeTankRecord(0, TankKindE::CylinderH, 300, 640, 0, DEFAULT_WALL_MM);
    s.records[1] = makeTankRecord(1, TankKindE::Toroid, 630, 250, CATALOGUE_TOROID_INNER_DIAMETER_MM, DEFAULT_WALL_MM);
    s.records[2] = makeTankRecord(2, TankKindE::Toroid, 600, 200, CATALOGUE_TOROID_INNER_DIAMETER_MM, DEFAULT_WALL_MM);
    s.omnicomm.Address = 10;
    s.omnicomm.TxMode = false;
    s.omnicomm.Units = QString::fromLatin1(WireNames::UNITS_MM);
    s.omnicomm.TxPeriodSec = 5;
    return s;
}

json infoToJson(const DeviceInfo_t& info) {
    return {{"Name", str(info.Name)}, {"HWVer", str(info.HWVer)}, {"FWVer", str(info.FWVer)}};
}

json tankConfigToJson(const TankConfig_t& config) {
    return {{"Mixture", config.Mixture}, {"Liquid", str(config.Liquid)}, {"Active", config.Active}};
}

json recordToJson(const TankConfigRecord_t& r) {
    return {{"id", r.id},
            {"Shape", str(r.Shape)},
            {"Orientation", str(r.Orientation)},
            {"Height", r.Height},
            {"Length", r.Length},
            {"OuterDiameter", r.OuterDiameter},
            {"InnerDiameter", r.InnerDiameter},
            {"Wall", r.Wall}};
}

json omnicommToJson(const OmnicommConfig_t& config) {
    return {{"Address", config.Address},
            {"TxMode", config.TxMode},
            {"TxPeriodSec", config.TxPeriodSec},
            {"Units", str(config.Units)}};
}

json calibrationToJson(const Calibration_t& calibration) {
    return {{"Empty", calibration.Empty}, {"Full", calibration.Full}};
}

json installationToJson(const Installation_t& reading) {
    return {{"RawTOF", reading.RawTOF}, {"mm", reading.mm}};
}

bool tankConfigFromJson(const json& object, TankConfig_t& out) {
    TankConfig_t c;
    if (!object.is_object() || !readIntMember(object, "Mixture", 0, 100, c.Mixture) ||
        !readName(object, "Liquid", {WireNames::LIQUID_PROPANE, WireNames::LIQUID_BUTANE, WireNames::LIQUID_MIX},
                  c.Liquid) ||
        !readIntMember(object, "Active", 0, TANK_RECORD_COUNT - 1, c.Active))
        return false;
    out = c;
    return true;
}

bool recordFromJson(const json& object, TankConfigRecord_t& out) {
    TankConfigRecord_t r;
    if (!object.is_object() || !readIntMember(object, "id", 0, TANK_RECORD_COUNT - 1, r.id) ||
        !readName(object, "Shape", {WireNames::SHAPE_CYLINDRIC, WireNames::SHAPE_TOROIDAL}, r.Shape) ||
        !readName(object, "Orientation", {WireNames::ORIENTATION_HORIZONTAL, WireNames::ORIENTATION_VERTICAL},
                  r.Orientation) ||
        !readIntMember(object, "Height", 0, MAX_RECORD_DIMENSION_MM, r.Height) ||
        !readIntMember(object, "Length", 0, MAX_RECORD_DIMENSION_MM, r.Length) ||
        !readIntMember(object, "OuterDiameter", 0, MAX_RECORD_DIMENSION_MM, r.OuterDiameter) ||
        !readIntMember(object, "InnerDiameter", 0, MAX_RECORD_DIMENSION_MM, r.InnerDiameter) ||
        !readIntMember(object, "Wall", MIN_WALL_MM, MAX_WALL_MM, r.Wall) || r.Height != r.Length)
        return false;
    out = r;
    return true;
}

bool omnicommFromJson(const json& object, OmnicommConfig_t& out) {
    OmnicommConfig_t c;
    if (!object.is_object() || !readIntMember(object, "Address", 0, MAX_BYTE_VALUE, c.Address))
        return false;
    const auto txMode = object.find("TxMode");
    if (txMode == object.end() || !txMode->is_boolean())
        return false;
    c.TxMode = txMode->get<bool>();
    if (!readName(object, "Units", {WireNames::UNITS_MM, WireNames::UNITS_LITRES, WireNames::UNITS_PERCENT}, c.Units) ||
        !readIntMember(object, "TxPeriodSec", 0, MAX_BYTE_VALUE, c.TxPeriodSec))
        return false;
    out = c;
    return true;
}

json stateToJson(const SensorState_t& state) {
    json records = json::array();
    for (const TankConfigRecord_t& r : state.records)
        records.push_back(recordToJson(r));
    return {{"Info", infoToJson(state.info)},
            {"TankConfig", tankConfigToJson(state.tankConfig)},
            {"Records", records},
            {"OmnicommConfig", omnicommToJson(state.omnicomm)},
            {"Calibration", calibrationToJson(state.calibration)},
            {"Installation", state.installation}};
}

bool stateFromJson(const json& object, SensorState_t& out, QString& error) {
    if (!object.is_object()) {
        error = QStringLiteral("state is not a JSON object");
        return false;
    }
    SensorState_t s = out;
    if (!readSection(object, "Info", infoFromJson, s.info, error) ||
        !readSection(object, "TankConfig", tankConfigFromJson, s.tankConfig, error) ||
        !readSection(object, "Records", recordsFromJson, s.records, error) ||
        !readSection(object, "OmnicommConfig", omnicommFromJson, s.omnicomm, error) ||
        !readSection(object, "Calibration", calibrationFromJson, s.calibration, error) ||
        !readSection(object, "Installation", flagFromJson, s.installation, error))
        return false;
    out = s;
    return true;
}
