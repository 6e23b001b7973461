// Writing the tank configuration: the tank chosen on the parameters tab (record 2 and its activation, or the
// activation of a stored record) and the properties dialog's mixture and wall thickness.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "propertiesdialog.h"

#include <QDebug>

namespace {

constexpr int STANDARD_TANK_WALL_MM = 3;

} // namespace

void MainWindow_t::applyTank() {
    if (!connectionP)
        return;
    ParametersTab_t& tab = *ui->tabParameters;
    const TankKindE kind = tab.chosenKind();

    if (const std::optional<TankConfigRecord_t> record = tab.customRecord(propertiesDialogP->wallThickness())) {
        if (const QString problem = tab.impossibleTankText(*record); !problem.isEmpty()) {
            qWarning() << "Tank refused before writing: " << problem;
            showMessage(tr("Размеры бака заданы неверно."), problem);
            return;
        }
        connectionP->writeTank(*record);
        return;
    }

    TankListEntry entry;
    int position = 0;
    const QString listed = tab.listedTank();
    if (listed.isEmpty() || !findEntry(listed.toUtf8(), kind, entry, position)) {
        qWarning() << "No tank list entry for " << listed;
        showMessage(tr("Выберите бак из списка."));
        return;
    }
    // The sensor's records head the list in the order read; a catalogue tank must never pass for one of them.
    const std::vector<TankConfigRecord_t>& records = connectionP->sensor().records;
    if (position >= static_cast<int>(records.size())) {
        int outer = 0;
        int length = 0;
        parseTankText(entry.text, outer, length);
        connectionP->writeTank(makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length,
                                              CATALOGUE_TOROID_INNER_DIAMETER_MM, STANDARD_TANK_WALL_MM));
        return;
    }
    connectionP->activateRecord(records[static_cast<std::size_t>(position)].id);
}

void MainWindow_t::applyProperties() {
    if (connectionP)
        connectionP->writeProperties(propertiesDialogP->mixture(), propertiesDialogP->wallThickness());
}
