// table: the level-to-litres table of the active tank, of the connected sensor or of a profile file, as CSV or JSON.
// Locale-neutral: a "." decimal mark whatever the user's locale.
#include "clicommands.h"
#include "clioutput.h"
#include "clisession.h"
#include "tankcatalogue.h"
#include "tanktable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

double rounded(double value) {
    return std::round(value * 100) / 100;
}

QString tableJson(const TankConfigRecord_t& record, const TankGeometry_t& tank, const TankTable_t& table) {
    QJsonArray rows;
    for (const TankTableRow_t& row : table)
        rows.append(
            QJsonObject{{"level_mm", row.levelMm}, {"litres", rounded(row.litres)}, {"percent", rounded(row.percent)}});
    QJsonObject object{{"record", record.id},
                       {"inner_height_mm", tank.innerHeightMm()},
                       {"inner_volume_litres", rounded(tank.innerVolumeLitres())},
                       {"rows", rows}};
    if (const std::optional<QByteArray> text = catalogueTextOf(record)) {
        object.insert("catalogue", QString::fromUtf8(*text));
        if (const std::optional<int> litres = nominalLitres(*text))
            object.insert("nominal_litres", *litres);
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed();
}

ExitCodeE printTable(const SensorSnapshot_t& sensor, const CliOptions_t& options) {
    const TankConfigRecord_t* record = sensor.record(sensor.tankConfig.Active);
    const std::optional<TankGeometry_t> tank = record ? TankGeometry_t::fromRecord(*record) : std::nullopt;
    if (!tank) {
        printMessage(QStringLiteral("the active tank record %1 describes no tank").arg(sensor.tankConfig.Active));
        return ExitCodeE::USAGE;
    }
    const TankTable_t table = tankTable(*tank, options.stepMm > 0 ? options.stepMm : DEFAULT_TABLE_STEP_MM);
    printData(options.tableJson ? tableJson(*record, *tank, table) : tankTableCsv(table, CsvFormat_t()).trimmed());
    return ExitCodeE::OK;
}

} // namespace

int runTable(const CliOptions_t& options) {
    if (!options.profilePath.isEmpty()) {
        SensorProfile_t profile;
        QString problem;
        if (!loadProfile(options.profilePath, profile, problem)) {
            printMessage(QStringLiteral("%1: %2").arg(options.profilePath, problem));
            return static_cast<int>(ExitCodeE::USAGE);
        }
        return static_cast<int>(printTable(profile.sensor, options));
    }
    CliSession_t session(options);
    session.whenReady([&] { session.finish(printTable(session.connection().sensor(), options)); });
    return session.run();
}
