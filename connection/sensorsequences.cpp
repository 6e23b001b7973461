#include "sensorsequences.h"

#include "requests.h"
#include "responses.h"

#include <QCoreApplication>

using nlohmann::json;

namespace {

constexpr int EMPTY_PERCENT = 0;
constexpr int FULL_PERCENT = 100;

QString label(const char* text) {
    return QCoreApplication::translate("SensorSequence", text);
}

// A parser's record, or false when the reply holds no object for it.
template <typename Record, typename Parse>
bool parsed(Parse parse, const json& reply, Record& out) {
    int status = -1;
    const Record record = parse(reply, status);
    if (status == -1)
        return false;
    out = record;
    return true;
}

Step_t acknowledged(const QString& name, const QString& text, json request, RefusalE refusal,
                    std::function<void(SensorSnapshot_t&)> store) {
    return {name,
            text,
            std::move(request),
            WireNames::REPLY_OK,
            [store = std::move(store)](const json&, SensorSnapshot_t& sensor) {
                store(sensor);
                return true;
            },
            refusal,
            true};
}

Step_t infoStep() {
    return {QStringLiteral("Info"), label("сведения о датчике"), reqRead(CmdName::INFO), CmdName::INFO,
            [](const json& reply, SensorSnapshot_t& s) { return parsed(parseInfo, reply, s.info); }};
}

Step_t tankConfigStep(RefusalE refusal) {
    return {QStringLiteral("TankConfig"),
            label("настройки бака"),
            reqRead(CmdName::TANK_CONFIG),
            CmdName::TANK_CONFIG,
            [](const json& reply, SensorSnapshot_t& s) { return parsed(parseTankConfig, reply, s.tankConfig); },
            refusal};
}

Step_t recordStep(int id, RefusalE refusal) {
    return {QStringLiteral("Records[%1]").arg(id),
            label("запись %1").arg(id),
            reqTankRecord(id),
            CmdName::TANK_CONFIG,
            [id](const json& reply, SensorSnapshot_t& s) {
                TankConfigRecord_t record;
                // Only the record asked for answers the request: another id, or the tank configuration, does not.
                if (!isTankRecord(reply) || !parsed(parseTankConfigRecord, reply, record) || record.id != id)
                    return false;
                s.storeRecord(record);
                return true;
            },
            refusal};
}

Step_t omnicommStep(RefusalE refusal) {
    return {QStringLiteral("OmnicommConfig"),
            label("RS485"),
            reqRead(CmdName::OMNICOMM_CONFIG),
            CmdName::OMNICOMM_CONFIG,
            [](const json& reply, SensorSnapshot_t& s) { return parsed(parseOmnicommConfig, reply, s.omnicomm); },
            refusal};
}

// What the tank configuration, the records and the RS485 settings are now.
QList<Step_t> setupReadSteps(RefusalE refusal) {
    QList<Step_t> steps{tankConfigStep(refusal)};
    for (int id = 0; id < TANK_RECORD_COUNT; ++id)
        steps << recordStep(id, refusal);
    return steps << omnicommStep(refusal);
}

Step_t streamStep(bool on) {
    return {on ? QStringLiteral("Installation.on") : QStringLiteral("Installation.off"),
            on ? label("включение измерений") : label("выключение измерений"), reqInstallation(on ? 1 : 0),
            WireNames::REPLY_OK, nullptr};
}

Step_t recordWriteStep(const TankConfigRecord_t& record, RefusalE refusal) {
    const TankConfigRecord_t written = writtenRecord(record);
    return acknowledged(QStringLiteral("Records[%1]").arg(WRITABLE_RECORD_ID),
                        label("запись %1").arg(WRITABLE_RECORD_ID), reqWriteTankRecord(written), refusal,
                        [written](SensorSnapshot_t& s) { s.storeRecord(written); });
}

Step_t activationStep(int id, RefusalE refusal) {
    return acknowledged(QStringLiteral("TankConfig.Active"), label("активная запись"), reqActiveRecord(id), refusal,
                        [id](SensorSnapshot_t& s) { s.tankConfig.Active = id; });
}

Step_t tankConfigWriteStep(const TankConfig_t& config, RefusalE refusal) {
    return acknowledged(QStringLiteral("TankConfig"), label("настройки бака"), reqWriteTankConfig(config), refusal,
                        [config](SensorSnapshot_t& s) { s.tankConfig = config; });
}

Step_t omnicommWriteStep(const OmnicommConfig_t& config, RefusalE refusal) {
    return acknowledged(QStringLiteral("OmnicommConfig"), label("RS485"), reqWriteOmnicommConfig(config), refusal,
                        [config](SensorSnapshot_t& s) { s.omnicomm = config; });
}

Step_t calibrationReadStep(RefusalE refusal) {
    return {QStringLiteral("Calibration"),
            label("калибровка"),
            reqRead(CmdName::CALIBRATION),
            CmdName::CALIBRATION,
            [](const json& reply, SensorSnapshot_t& s) {
                Calibration_t calibration;
                if (!parsed(parseCalibration, reply, calibration))
                    return false;
                s.calibration = calibration;
                return true;
            },
            refusal};
}

} // namespace

Sequence_t readingSequence() {
    return {SequenceE::READING, label("Чтение данных"),
            QList<Step_t>{streamStep(false), infoStep()} + setupReadSteps(RefusalE::FAIL)};
}

Sequence_t tankSequence(const TankConfigRecord_t& record) {
    return {SequenceE::TANK,
            label("Запись бака"),
            {recordWriteStep(record, RefusalE::REFUSED), activationStep(WRITABLE_RECORD_ID, RefusalE::FAIL)}};
}

Sequence_t activationSequence(int id) {
    return {SequenceE::ACTIVATION, label("Запись бака"), {activationStep(id, RefusalE::FAIL)}};
}

Sequence_t propertiesSequence(const TankConfig_t& config, const TankConfigRecord_t& record) {
    return {SequenceE::PROPERTIES,
            label("Запись свойств"),
            {tankConfigWriteStep(config, RefusalE::FAIL), recordWriteStep(record, RefusalE::FAIL)}};
}

Sequence_t omnicommSequence(const OmnicommConfig_t& config) {
    return {SequenceE::OMNICOMM, label("Запись RS485"), {omnicommWriteStep(config, RefusalE::FAIL)}};
}

Sequence_t calibrationSequence(CalibrationPointE point) {
    const bool empty = point == CalibrationPointE::EMPTY;
    return {empty ? SequenceE::CALIBRATION_EMPTY : SequenceE::CALIBRATION_FULL,
            label("Калибровка"),
            {acknowledged(empty ? QStringLiteral("Calibration.Empty") : QStringLiteral("Calibration.Full"),
                          empty ? label("точка «пустой»") : label("точка «полный»"),
                          reqCalibrate(empty ? EMPTY_PERCENT : FULL_PERCENT), RefusalE::FAIL, [](SensorSnapshot_t&) {}),
             calibrationReadStep(RefusalE::FAIL)}};
}

Sequence_t calibrationResetSequence() {
    return {SequenceE::CALIBRATION_RESET,
            label("Сброс калибровки"),
            {acknowledged(QStringLiteral("Calibration.Reset"), label("сброс калибровки"), reqCalibrationReset(),
                          RefusalE::FAIL, [](SensorSnapshot_t& s) { s.calibration.reset(); })}};
}

Sequence_t calibrationReadSequence() {
    return {SequenceE::CALIBRATION_READ, label("Чтение калибровки"), {calibrationReadStep(RefusalE::UNKNOWN)}};
}

Sequence_t profileSequence(const SensorSnapshot_t& target) {
    const int active = target.tankConfig.Active;
    Sequence_t sequence{SequenceE::PROFILE, label("Запись профиля"), {}};
    if (const TankConfigRecord_t* record = target.record(WRITABLE_RECORD_ID); record && active == WRITABLE_RECORD_ID)
        sequence.steps << recordWriteStep(*record, RefusalE::REFUSED);
    sequence.steps << activationStep(active, RefusalE::REFUSED)
                   << tankConfigWriteStep(target.tankConfig, RefusalE::REFUSED)
                   << omnicommWriteStep(target.omnicomm, RefusalE::REFUSED);
    // What the sensor then holds, not what was sent, is what the user is shown.
    sequence.steps << setupReadSteps(RefusalE::UNKNOWN);
    return sequence;
}

Sequence_t streamSequence(bool on) {
    return {on ? SequenceE::STREAM_ON : SequenceE::STREAM_OFF,
            on ? label("Включение теста") : label("Завершение теста"),
            {streamStep(on)}};
}
