#include "sensorstate.h"

#include "tankkind.h"

using nlohmann::json;

namespace {

constexpr int DEFAULT_WALL_MM = 3;

bool recordsFromJson(const json& array, std::array<TankConfigRecord_t, TANK_RECORD_COUNT>& out, WireFault_t* fault) {
    if (!array.is_array() || array.size() != out.size())
        return false;
    std::array<TankConfigRecord_t, TANK_RECORD_COUNT> records;
    for (int id = 0; id < TANK_RECORD_COUNT; ++id) {
        if (!recordFromJson(array[id], records[id], fault) || records[id].id != id)
            return false;
    }
    out = records;
    return true;
}

bool flagFromJson(const json& value, bool& out, WireFault_t*) {
    if (!value.is_boolean())
        return false;
    out = value.get<bool>();
    return true;
}

// A section left out keeps its value; a present one must read. Readers take the wire readers' fault argument.
template <typename T, typename Reader>
bool readSection(const json& object, const char* key, Reader read, T& out, QString& error) {
    const auto it = object.find(key);
    if (it == object.end() || read(*it, out, nullptr))
        return true;
    error = QStringLiteral("bad section %1").arg(QLatin1String(key));
    return false;
}

} // namespace

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
