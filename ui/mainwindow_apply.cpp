// Writing the tank configuration: the tank chosen on the parameters tab (record 2 and its activation, or the
// activation of a stored record) and the properties dialog's mixture and wall thickness.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "propertiesdialog.h"
#include "requests.h"

#include <QDebug>

namespace {

constexpr int STANDARD_TANK_WALL_MM = 3;
constexpr int PROPANE_MIXTURE_MIN = 95;

QString liquidForMixture(int mixture) {
    return QString::fromLatin1(mixture >= PROPANE_MIXTURE_MIN ? WireNames::LIQUID_PROPANE : WireNames::LIQUID_BUTANE);
}

// How many entries at the head of the tank list are the sensor's records; the catalogue follows them. Normally 3, but
// a sensor that answers a record request with a later record leaves fewer.
int deviceEntryCount(const TankList_t& list) {
    static const int catalogueSize = [] {
        TankList_t catalogue;
        fillStandardTanks(catalogue);
        return static_cast<int>(catalogue.size());
    }();
    return static_cast<int>(list.size()) - catalogueSize;
}

} // namespace

void MainWindow_t::stepTank(SerialDataTypeE type) {
    switch (fsmState) {
    case StateE::SET_TANK:
        if (type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
        setControlsEnabled(false);
        applyTank(true);
        return;
    case StateE::SET_TANK_RECORD_ACK:
        if (type == SerialDataTypeE::ERROR) {
            finishSequence(tr("Данные введены неверно!"), ControlGroupE::ACTIONS);
            return;
        }
        if (type != SerialDataTypeE::OK) {
            fsmError();
            return;
        }
        // The sensor holds the new record now; a later properties apply writes it back with its new wall.
        tankRecords[WRITABLE_RECORD_ID] = requestedRecord;
        requestedActive = WRITABLE_RECORD_ID;
        sendRequest(reqActiveRecord(WRITABLE_RECORD_ID));
        fsmState = StateE::SET_TANK_ACTIVE_ACK;
        return;
    default: // SET_TANK_ACTIVE_ACK
        if (type != SerialDataTypeE::OK) {
            fsmError();
            return;
        }
        activeRecord = requestedActive;
        finishSequence(settingsSavedText(), ControlGroupE::ACTIONS);
        return;
    }
}

void MainWindow_t::applyTank(bool logIt) {
    if (logIt)
        qDebug() << "Set tank to GAS-2";
    const TankKindE kind = appliedTankKind();

    if (ui->cboxIsCustomP->isChecked()) {
        const int outer = ui->spboxCustomOutDiaP->value();
        const int length = ui->spboxCustomHeigthP->value();
        const int wall = propertiesDialogP->wallThickness();
        setDimensionRanges(kind);
        writeTankRecord(makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length, ui->spboxCustomInDiaP->value(), wall),
                        StateE::SET_TANK_RECORD_ACK);
        return;
    }

    TankListEntry entry;
    int position = 0;
    if (ui->cboxTanksP->currentIndex() < 0 ||
        !findEntry(ui->cboxTanksP->currentText().toUtf8(), kind, entry, position)) {
        // Nothing to send: without this the window would wait in SET_TANK with every control off.
        qWarning() << "No tank list entry for " << ui->cboxTanksP->currentText();
        finishSequence(tr("Выберите бак из списка."), ControlGroupE::ACTIONS);
        return;
    }
    // Counted, not taken as 3: a catalogue tank must never pass for one of the sensor's records.
    if (position >= deviceEntryCount(tankList)) {
        int outer = 0;
        int length = 0;
        parseTankText(entry.text, outer, length);
        writeTankRecord(makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length, CATALOGUE_TOROID_INNER_DIAMETER_MM,
                                       STANDARD_TANK_WALL_MM),
                        StateE::SET_TANK_RECORD_ACK);
        return;
    }
    // One of the sensor's own records: the entries before the standard tanks stand in id order.
    requestedActive = position;
    sendRequest(reqActiveRecord(position));
    fsmState = StateE::SET_TANK_ACTIVE_ACK;
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

void MainWindow_t::writeTankRecord(const TankConfigRecord_t& record, StateE awaiting) {
    requestedRecord = record;
    // Height and Length always go out equal: the request has one value for both.
    sendRequest(reqWriteTankRecord(record.Shape, record.Orientation, record.Length, record.OuterDiameter,
                                   record.InnerDiameter, record.Wall));
    fsmState = awaiting;
}

void MainWindow_t::stepProperties(SerialDataTypeE type) {
    switch (fsmState) {
    case StateE::SET_PROPERTIES:
        setControlsEnabled(false);
        if (type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
        tankMixture = propertiesDialogP->mixture();
        tankLiquid = liquidForMixture(tankMixture);
        tankRecords[WRITABLE_RECORD_ID].Wall = propertiesDialogP->wallThickness();
        sendRequest(reqWriteTankConfig(tankLiquid, tankMixture, activeRecord));
        fsmState = StateE::SET_PROPERTIES_CONFIG_ACK;
        return;
    case StateE::SET_PROPERTIES_CONFIG_ACK:
        if (type != SerialDataTypeE::OK) {
            fsmError();
            return;
        }
        writeTankRecord(tankRecords[WRITABLE_RECORD_ID], StateE::SET_PROPERTIES_RECORD_ACK);
        return;
    default: // SET_PROPERTIES_RECORD_ACK
        if (type != SerialDataTypeE::OK) {
            fsmError();
            return;
        }
        finishSequence(settingsSavedText() + tr(" \nДля применения перезагрузите устройство."), ControlGroupE::ACTIONS);
        return;
    }
}
