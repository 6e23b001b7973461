#include "wireobjects.h"

#include <limits>

using nlohmann::json;

namespace {

constexpr int MAX_BYTE_VALUE = 255;
constexpr qint64 INT32_LOW = std::numeric_limits<qint32>::min();
constexpr qint64 INT32_HIGH = std::numeric_limits<qint32>::max();

std::string str(const QString& text) {
    return text.toStdString();
}

bool fail(WireFault_t* fault, const char* key, WireFaultE kind) {
    if (fault)
        *fault = {QString::fromLatin1(key), kind};
    return false;
}

bool isObject(const json& object, WireFault_t* fault) {
    return object.is_object() || fail(fault, "", WireFaultE::WrongType);
}

bool readFlagMember(const json& object, const char* key, bool& out, WireFault_t* fault) {
    const auto it = object.find(key);
    if (it == object.end())
        return fail(fault, key, WireFaultE::Missing);
    if (!it->is_boolean())
        return fail(fault, key, WireFaultE::WrongType);
    out = it->get<bool>();
    return true;
}

} // namespace

bool readIntMember(const json& object, const char* key, qint64 low, qint64 high, qint32& out, WireFault_t* fault) {
    const auto it = object.find(key);
    if (it == object.end())
        return fail(fault, key, WireFaultE::Missing);
    if (!it->is_number_integer())
        return fail(fault, key, WireFaultE::WrongType);
    if (it->is_number_unsigned() && it->get<quint64>() > quint64(std::numeric_limits<qint64>::max()))
        return fail(fault, key, WireFaultE::OutOfRange);
    const qint64 value = it->get<qint64>();
    if (value < low || value > high)
        return fail(fault, key, WireFaultE::OutOfRange);
    out = static_cast<qint32>(value);
    return true;
}

bool readTextMember(const json& object, const char* key, QString& out, WireFault_t* fault) {
    const auto it = object.find(key);
    if (it == object.end())
        return fail(fault, key, WireFaultE::Missing);
    if (!it->is_string())
        return fail(fault, key, WireFaultE::WrongType);
    out = QString::fromStdString(it->get<std::string>());
    return true;
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

bool infoFromJson(const json& object, DeviceInfo_t& out, WireFault_t* fault) {
    DeviceInfo_t info;
    if (!isObject(object, fault) || !readTextMember(object, "Name", info.Name, fault) ||
        !readTextMember(object, "HWVer", info.HWVer, fault) || !readTextMember(object, "FWVer", info.FWVer, fault))
        return false;
    out = info;
    return true;
}

bool tankConfigFromJson(const json& object, TankConfig_t& out, WireFault_t* fault) {
    TankConfig_t c;
    if (!isObject(object, fault) || !readIntMember(object, "Mixture", 0, 100, c.Mixture, fault) ||
        !readTextMember(object, "Liquid", c.Liquid, fault) ||
        !readIntMember(object, "Active", 0, TANK_RECORD_COUNT - 1, c.Active, fault))
        return false;
    out = c;
    return true;
}

bool recordFromJson(const json& object, TankConfigRecord_t& out, WireFault_t* fault) {
    TankConfigRecord_t r;
    if (!isObject(object, fault) || !readIntMember(object, "id", 0, TANK_RECORD_COUNT - 1, r.id, fault) ||
        !readTextMember(object, "Shape", r.Shape, fault) ||
        !readTextMember(object, "Orientation", r.Orientation, fault) ||
        !readIntMember(object, "Height", 0, MAX_RECORD_DIMENSION_MM, r.Height, fault) ||
        !readIntMember(object, "Length", 0, MAX_RECORD_DIMENSION_MM, r.Length, fault) ||
        !readIntMember(object, "OuterDiameter", 0, MAX_RECORD_DIMENSION_MM, r.OuterDiameter, fault) ||
        !readIntMember(object, "InnerDiameter", 0, MAX_RECORD_DIMENSION_MM, r.InnerDiameter, fault) ||
        !readIntMember(object, "Wall", 0, MAX_RECORD_DIMENSION_MM, r.Wall, fault))
        return false;
    out = r;
    return true;
}

bool omnicommFromJson(const json& object, OmnicommConfig_t& out, WireFault_t* fault) {
    OmnicommConfig_t c;
    if (!isObject(object, fault) || !readIntMember(object, "Address", 0, MAX_BYTE_VALUE, c.Address, fault) ||
        !readFlagMember(object, "TxMode", c.TxMode, fault) || !readTextMember(object, "Units", c.Units, fault) ||
        !readIntMember(object, "TxPeriodSec", 0, MAX_BYTE_VALUE, c.TxPeriodSec, fault))
        return false;
    out = c;
    return true;
}

bool calibrationFromJson(const json& object, Calibration_t& out, WireFault_t* fault) {
    Calibration_t c;
    if (!isObject(object, fault) || !readIntMember(object, "Empty", INT32_LOW, INT32_HIGH, c.Empty, fault) ||
        !readIntMember(object, "Full", INT32_LOW, INT32_HIGH, c.Full, fault))
        return false;
    out = c;
    return true;
}
