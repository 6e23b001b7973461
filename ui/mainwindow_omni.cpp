// The RS485 (Omnicomm output) tab: showing the sensor's settings and collecting them for a write.
#include "mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow_t::fillOmnicommTab(const OmnicommConfig_t& config) {
    showOmnicommValues(config);
    setOmnicommControlsEnabled(true); // the period box only with periodic output
}

void MainWindow_t::showOmnicommValues(const OmnicommConfig_t& config) {
    ui->cboxOmniTxMode->setChecked(config.TxMode);
    ui->cboxOmniUnits->setCurrentIndex(unitsIndex(config.Units));
    ui->spboxOmniAddr->setValue(config.Address);
    ui->spboxOmniTxPeriod->setValue(config.TxPeriodSec);
}

OmnicommConfig_t MainWindow_t::readOmnicommTab() const {
    OmnicommConfig_t config;
    config.TxMode = ui->cboxOmniTxMode->isChecked();
    // Without periodic output the period box's value means nothing to the sensor.
    config.TxPeriodSec = config.TxMode ? ui->spboxOmniTxPeriod->value() : 0;
    config.Units = unitsName(ui->cboxOmniUnits->currentIndex());
    config.Address = ui->spboxOmniAddr->value();
    return config;
}

void MainWindow_t::slotTxModeChange(bool state) {
    if (!state)
        ui->spboxOmniTxPeriod->setEnabled(false);
    else if (ui->cboxOmniTxMode->isChecked())
        ui->spboxOmniTxPeriod->setEnabled(true);
}
