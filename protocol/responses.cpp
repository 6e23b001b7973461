#include "responses.h"

#include "requests.h"

#include <QDebug>
#include <limits>

using nlohmann::json;

namespace {
// A reply's elements: those of an array; any other value has none.
const json::array_t& elementsOf(const json& value) {
    static const json::array_t none;
    return value.is_array() ? value.get_ref<const json::array_t&>() : none;
}

QString textOf(const json& string) {
    const std::string& bytes = string.get_ref<const std::string&>();
    return QString::fromUtf8(bytes.data(), int(bytes.size())); // invalid UTF-8 becomes U+FFFD
}

void logCmdName(const json& string) {
    qDebug() << "Cmd Name: " << textOf(string);
}

QString nameOf(const json& value, bool logTypes) {
    for (const json& element : elementsOf(value)) {
        if (logTypes)
            qDebug() << element.type_name();
        if (element.is_string())
            return textOf(element);
    }
    return QString();
}

void readInt(const json& object, const char* key, qint32& field) {
    constexpr auto low = std::numeric_limits<qint32>::min();
    constexpr auto high = std::numeric_limits<qint32>::max();
    const auto it = object.find(key);
    if (it == object.end())
        return;
    switch (it->type()) {
    case json::value_t::number_integer: {
        const auto v = it->get<json::number_integer_t>();
        if (v >= low && v <= high)
            field = qint32(v);
        break;
    }
    case json::value_t::number_unsigned: {
        const auto v = it->get<json::number_unsigned_t>();
        if (v <= json::number_unsigned_t(high))
            field = qint32(v);
        break;
    }
    case json::value_t::number_float: {
        // Cut toward zero; NaN fails both comparisons.
        const auto v = it->get<json::number_float_t>();
        if (v > double(low) - 1.0 && v < double(high) + 1.0)
            field = qint32(v);
        break;
    }
    case json::value_t::boolean:
        field = it->get<bool>() ? 1 : 0;
        break;
    default:
        break;
    }
}

void readText(const json& object, const char* key, QString& field) {
    const auto it = object.find(key);
    if (it != object.end() && it->is_string())
        field = textOf(*it);
}

void readBool(const json& object, const char* key, bool& field) {
    const auto it = object.find(key);
    if (it != object.end() && it->is_boolean())
        field = it->get<bool>();
}

// The pattern the six parsers share. read(object, record) fills a fresh record and returns false when it does not
// accept the object; an accepted object replaces whatever an earlier one gave.
template <typename Record, typename Read>
Record parseWith(const json& value, int& status, const char* title, Read read) {
    Record record;
    status = -1;
    qDebug() << title;
    for (const json& element : elementsOf(value)) {
        if (element.is_string()) {
            logCmdName(element);
        } else if (element.is_object()) {
            Record fresh;
            if (read(element, fresh)) {
                record = fresh;
                status = 0;
            }
        }
    }
    return record;
}

struct ResponseKind_t {
    const char* name;
    ReplyKindE kind;
};

// In the order names are compared.
const ResponseKind_t RESPONSE_KINDS[] = {
    {CmdName::INFO, ReplyKindE::DATA},
    {CmdName::TANK_CONFIG, ReplyKindE::DATA},
    {CmdName::INSTALLATION, ReplyKindE::MEASUREMENT},
    {CmdName::OMNICOMM_CONFIG, ReplyKindE::DATA},
    {CmdName::CALIBRATION, ReplyKindE::DATA},
    {WireNames::REPLY_OK, ReplyKindE::OK},
    {WireNames::REPLY_ERROR, ReplyKindE::ERROR},
};
} // namespace

QString responseName(const json& value) {
    return nameOf(value, false);
}

bool isTankRecord(const json& value) {
    std::size_t lastObjectSize = 0;
    for (const json& element : elementsOf(value)) {
        if (element.is_string()) {
            logCmdName(element);
        } else if (element.is_object()) {
            lastObjectSize = element.size();
            qDebug() << "Obj size: " << lastObjectSize;
        }
    }
    return lastObjectSize == 8;
}

std::optional<ReplyKindE> replyKind(const json& value) {
    const QString name = nameOf(value, true);
    qDebug() << "cmd rx: " << name;
    for (const ResponseKind_t& kind : RESPONSE_KINDS) {
        if (name == QLatin1String(kind.name))
            return kind.kind;
    }
    qDebug() << "Unparsed command:" << name;
    return std::nullopt;
}

DeviceInfo_t parseInfo(const json& value, int& status) {
    return parseWith<DeviceInfo_t>(value, status, "[Info] parsing", [](const json& object, DeviceInfo_t& r) {
        readText(object, "Name", r.Name);
        readText(object, "HWVer", r.HWVer);
        readText(object, "FWVer", r.FWVer);
        qDebug() << "Name: " << r.Name << " HWVer: " << r.HWVer << " FWVer: " << r.FWVer;
        return true;
    });
}

TankConfig_t parseTankConfig(const json& value, int& status) {
    return parseWith<TankConfig_t>(value, status, "[TankConfig] parsing", [](const json& object, TankConfig_t& r) {
        readInt(object, "Mixture", r.Mixture);
        readText(object, "Liquid", r.Liquid);
        readInt(object, "Active", r.Active);
        qDebug() << "Active: " << r.Active << " Mixture: " << r.Mixture << " Liquid: " << r.Liquid;
        return true;
    });
}

TankConfigRecord_t parseTankConfigRecord(const json& value, int& status) {
    return parseWith<TankConfigRecord_t>(value, status, "[TankConfigRecord] parsing",
                                         [](const json& object, TankConfigRecord_t& r) {
                                             readInt(object, "id", r.id);
                                             readText(object, "Shape", r.Shape);
                                             readText(object, "Orientation", r.Orientation);
                                             readInt(object, "Height", r.Height);
                                             readInt(object, "Length", r.Length);
                                             readInt(object, "OuterDiameter", r.OuterDiameter);
                                             readInt(object, "InnerDiameter", r.InnerDiameter);
                                             readInt(object, "Wall", r.Wall);
                                             qDebug() << "id: " << r.id;
                                             qDebug() << "Height: " << r.Height;
                                             qDebug() << "Shape: " << r.Shape << " Orientation: " << r.Orientation;
                                             qDebug() << "Length: " << r.Length;
                                             qDebug() << "OuterDiameter: " << r.OuterDiameter;
                                             qDebug() << "InnerDiameter: " << r.InnerDiameter;
                                             qDebug() << "Wall: " << r.Wall;
                                             return true;
                                         });
}

Installation_t parseInstallation(const json& value, int& status) {
    return parseWith<Installation_t>(value, status, "[Installation] parsing",
                                     [](const json& object, Installation_t& r) {
                                         if (object.size() != 2)
                                             return false;
                                         readInt(object, "RawTOF", r.RawTOF);
                                         readInt(object, "mm", r.mm);
                                         qDebug() << "RawTOF: " << r.RawTOF;
                                         qDebug() << "mm: " << r.mm;
                                         return true;
                                     });
}

OmnicommConfig_t parseOmnicommConfig(const json& value, int& status) {
    return parseWith<OmnicommConfig_t>(value, status, "[OmnicommConfig] parsing",
                                       [](const json& object, OmnicommConfig_t& r) {
                                           readInt(object, "Address", r.Address);
                                           readBool(object, "TxMode", r.TxMode);
                                           readInt(object, "TxPeriodSec", r.TxPeriodSec);
                                           readText(object, "Units", r.Units);
                                           qDebug() << "Address: " << r.Address;
                                           qDebug() << "TxMode: " << r.TxMode;
                                           qDebug() << "TxPeriodSec: " << r.TxPeriodSec;
                                           qDebug() << "Units: " << r.Units;
                                           return true;
                                       });
}

Calibration_t parseCalibration(const json& value, int& status) {
    return parseWith<Calibration_t>(value, status, "[Calibration] parsing", [](const json& object, Calibration_t& r) {
        readInt(object, "Empty", r.Empty);
        readInt(object, "Full", r.Full);
        qDebug() << "Empty: " << r.Empty;
        qDebug() << "Full: " << r.Full;
        return true;
    });
}
