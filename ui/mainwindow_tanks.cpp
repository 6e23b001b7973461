// The parameters tab's tank selection: the window's tank list mapped onto the shape buttons, the tank combo box and
// the custom dimension boxes. The list rules themselves live in tankcatalogue.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QPixmap>

void MainWindow_t::setUpTankTab() {
    fillStandardTanks();
    // No shape is checked yet: this first rebuild shows no tanks; the constructor's click on the toroid button does.
    slotUpdateTankList();
    for (QRadioButton* button :
         {ui->rbuttToroidP, ui->rbuttCylinderP_P, ui->rbuttCylinderHV_P, ui->rbuttCylinderH_P, ui->rbuttCylinderV_P})
        connect(button, &QRadioButton::clicked, this, &MainWindow_t::slotUpdateTankList);
    connect(ui->cboxIsCustomP, &QCheckBox::stateChanged, this, &MainWindow_t::slotUpdateTankList);
}

void MainWindow_t::fillStandardTanks() {
    ::fillStandardTanks(tankList);
}

void MainWindow_t::clearTankList() {
    tankList.clear();
}

void MainWindow_t::addDeviceRecord(const TankConfigRecord_t& record, bool isActive) {
    const TankListEntry entry = entryFromRecord(record, isActive);
    if (entry.kind == TankKindE::CylinderP)
        ui->spboxCustomInDiaP->setValue(0);
    if (entry.custom) {
        if (isActive)
            setDimensionRanges(entry.kind);
        if (record.Shape == QLatin1String(WireNames::SHAPE_TOROIDAL))
            ui->spboxCustomInDiaP->setValue(record.InnerDiameter);
        ui->spboxCustomOutDiaP->setValue(record.OuterDiameter);
        ui->spboxCustomHeigthP->setValue(record.Length);
        ui->spboxCustomVolumeP->hide();
    }
    tankList.push_back(entry);
}

void MainWindow_t::slotUpdateTankList() {
    qInfo() << "slotUpdateTankList";
    ui->lblCustomVolumeP->hide();
    ui->spboxCustomVolumeP->hide();
    ui->cboxTanksP->clear();

    if (ui->rbuttCylinderH_P->isChecked()) {
        ui->lblCylinderHV_P->setPixmap(QPixmap(QStringLiteral(":/Images/CylinderH.png")));
        if (ui->rbuttCylinderHV_P->isChecked()) {
            setDimensionRanges(TankKindE::CylinderH);
            TankListEntry active;
            selectedEntry(active);
            int outer = 0;
            int length = 0;
            parseTankText(active.text, outer, length);
            ui->spboxCustomOutDiaP->setValue(outer);
            ui->spboxCustomHeigthP->setValue(length);
        }
    } else {
        ui->lblCylinderHV_P->setPixmap(QPixmap(QStringLiteral(":/Images/CylinderV.png")));
        setDimensionRanges(TankKindE::CylinderV);
    }

    if (ui->rbuttCylinderHV_P->isChecked()) {
        qInfo() << "CylinderHV";
        ui->frameRadioHV_P->show();
        ui->lblCustomOutDiaP->setText(tr("Диаметр, мм"));
        ui->lblCustomHeigthP->setText(tr("Длина, мм:"));
        ui->spboxCustomInDiaP->hide();
        ui->lblCustomInDiaP->hide();
    } else {
        qInfo() << "Not CylinderHV";
        ui->frameRadioHV_P->hide();
        if (ui->rbuttToroidP->isChecked()) {
            qInfo() << "Toroid";
            ui->lblCustomOutDiaP->setText(tr("Внешний диаметр, мм:"));
            ui->lblCustomHeigthP->setText(tr("Высота, мм:"));
            ui->spboxCustomInDiaP->show();
            ui->lblCustomInDiaP->show();
            setDimensionRanges(TankKindE::Toroid);
        } else if (ui->rbuttCylinderP_P->isChecked()) {
            qInfo() << "CylinderP";
            ui->lblCustomOutDiaP->setText(tr("Диаметр, мм"));
            ui->lblCustomHeigthP->setText(tr("Высота, мм:"));
            ui->spboxCustomInDiaP->hide();
            ui->lblCustomInDiaP->hide();
            setDimensionRanges(TankKindE::CylinderP);
        } else {
            qCritical() << "no more tank types!";
        }
    }

    const bool custom = ui->cboxIsCustomP->isChecked();
    qInfo() << (custom ? "Custom" : "Not Custom");
    ui->wdgtTankComboP->setVisible(!custom);
    ui->frameCustomTankP->setVisible(custom);

    const TankComboItems_t items = tankComboItems(tankList, shownTankKind());
    ui->cboxTanksP->addItems(items.texts);
    ui->cboxTanksP->setCurrentIndex(items.currentIndex);
}

std::optional<TankKindE> MainWindow_t::shownTankKind() const {
    if (ui->rbuttToroidP->isChecked())
        return TankKindE::Toroid;
    if (ui->rbuttCylinderP_P->isChecked())
        return TankKindE::CylinderP;
    if (ui->rbuttCylinderHV_P->isChecked()) {
        if (ui->rbuttCylinderH_P->isChecked())
            return TankKindE::CylinderH;
        if (ui->rbuttCylinderV_P->isChecked())
            return TankKindE::CylinderV;
    }
    return std::nullopt;
}

void MainWindow_t::applyActiveTankToUi() {
    // By index: matching moves the selection to a catalogue entry further down, which this walk then reaches.
    for (std::size_t i = 0; i < tankList.size(); ++i) {
        TankListEntry& entry = tankList[i];
        if (!entry.selected)
            continue;
        setDimensionRanges(entry.kind);
        if (!entry.custom) {
            ui->cboxIsCustomP->setCheckState(Qt::Unchecked);
        } else if (!matchStandardTank(entry)) {
            ui->cboxIsCustomP->setCheckState(Qt::Checked);
            if (entry.kind == TankKindE::CylinderH) {
                int outer = 0;
                int length = 0;
                parseTankText(entry.text, outer, length);
                ui->spboxCustomOutDiaP->setValue(outer);
                ui->spboxCustomHeigthP->setValue(length);
            }
        }
        checkShapeButtons(entry.kind);
        slotUpdateTankList();
    }
}

void MainWindow_t::checkShapeButtons(TankKindE kind) {
    // setChecked emits no clicked; unchecking a checked button of an exclusive group is ignored, so only the button
    // set to checked matters within each group.
    ui->rbuttToroidP->setChecked(kind == TankKindE::Toroid);
    ui->rbuttCylinderP_P->setChecked(kind == TankKindE::CylinderP);
    ui->rbuttCylinderHV_P->setChecked(kind == TankKindE::CylinderH || kind == TankKindE::CylinderV);
    ui->rbuttCylinderH_P->setChecked(kind == TankKindE::CylinderH);
    ui->rbuttCylinderV_P->setChecked(kind == TankKindE::CylinderV);
}

bool MainWindow_t::matchStandardTank(TankListEntry& entry) {
    for (std::size_t i = 0; i < tankList.size(); ++i)
        if (&tankList[i] == &entry)
            return ::matchStandardTank(tankList, i, ui->spboxCustomInDiaP->value());
    return false;
}

bool MainWindow_t::selectedEntry(TankListEntry& outEntry) const {
    return ::selectedEntry(tankList, outEntry);
}

bool MainWindow_t::findEntry(const QByteArray& text, TankKindE kind, TankListEntry& outEntry, int& outPosition) const {
    return ::findEntry(tankList, text, kind, outEntry, outPosition);
}

void MainWindow_t::setDimensionRanges(TankKindE kind) {
    const DimensionRanges_t ranges = dimensionRanges(kind);
    ui->spboxCustomHeigthP->setRange(0, ranges.heightMax);
    ui->spboxCustomOutDiaP->setRange(0, ranges.outerMax);
}

bool MainWindow_t::parseTankText(const QByteArray& text, int& outOuter, int& outLength) {
    ::parseTankText(text, outOuter, outLength);
    return outOuter > 0 && outLength > 0;
}
