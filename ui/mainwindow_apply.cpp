// Writing the tank configuration: the tank chosen on the parameters tab (record 2 and its activation, or the
// activation of a stored record) and the properties dialog's mixture and wall thickness.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "propertiesdialog.h"
#include "tankgeometry.h"

#include <QDebug>

namespace {

constexpr int STANDARD_TANK_WALL_MM = 3;

} // namespace

void MainWindow_t::applyTank() {
    if (!connectionP)
        return;
    const TankKindE kind = appliedTankKind();

    if (ui->cboxIsCustomP->isChecked()) {
        const int outer = ui->spboxCustomOutDiaP->value();
        const int length = ui->spboxCustomHeigthP->value();
        const int wall = propertiesDialogP->wallThickness();
        setDimensionRanges(kind);
        const TankConfigRecord_t record =
            makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length, ui->spboxCustomInDiaP->value(), wall);
        if (const QString problem = impossibleTankText(kind, record); !problem.isEmpty()) {
            qWarning() << "Tank refused before writing: " << problem;
            showMessage(tr("Размеры бака заданы неверно."), problem);
            return;
        }
        connectionP->writeTank(record);
        return;
    }

    TankListEntry entry;
    int position = 0;
    if (ui->cboxTanksP->currentIndex() < 0 ||
        !findEntry(ui->cboxTanksP->currentText().toUtf8(), kind, entry, position)) {
        qWarning() << "No tank list entry for " << ui->cboxTanksP->currentText();
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

QString MainWindow_t::impossibleTankText(TankKindE kind, const TankConfigRecord_t& record) const {
    // Each field named as the tab shows it.
    const auto field = [](const QLabel* label) { return label->text().remove(QLatin1Char(':')); };
    const bool toroid = kind == TankKindE::Toroid;
    const QLabel* zero = record.OuterDiameter <= 0             ? ui->lblCustomOutDiaP
                         : record.Length <= 0                  ? ui->lblCustomHeigthP
                         : toroid && record.InnerDiameter <= 0 ? ui->lblCustomInDiaP
                                                               : nullptr;
    if (zero)
        return tr("«%1» не может быть нулём.").arg(field(zero));
    if (toroid && record.InnerDiameter >= record.OuterDiameter)
        return tr("«%1» должен быть меньше, чем «%2».").arg(field(ui->lblCustomInDiaP), field(ui->lblCustomOutDiaP));
    if (!TankGeometry_t::fromRecord(record))
        return tr("Стенка толщиной %1 мм не оставляет места внутри бака этих размеров.").arg(record.Wall);
    return QString();
}

TankKindE MainWindow_t::appliedTankKind() const {
    if (ui->rbuttToroidP->isChecked())
        return TankKindE::Toroid;
    if (ui->rbuttCylinderP_P->isChecked())
        return TankKindE::CylinderP;
    if (ui->rbuttCylinderH_P->isChecked())
        return TankKindE::CylinderH;
    return TankKindE::CylinderV;
}
