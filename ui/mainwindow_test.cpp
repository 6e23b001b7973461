// The live test: switching the sensor's measurement stream on and off from the "Тест" tab, handing the tab the tank
// its readout computes with, and stopping the stream when the user leaves that tab.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "tofwidget.h"

#include <QDebug>

void MainWindow_t::slotStartStopTest() {
    if (!connectionP)
        return;
    if (connectionP->isTestRunning()) {
        connectionP->stopTest();
        return;
    }
    showActiveTank(); // a tank applied since the reading is the one measured now
    connectionP->startTest();
}

void MainWindow_t::showActiveTank() {
    const SensorSnapshot_t& sensor = connectionP->sensor();
    const TankConfigRecord_t* record = sensor.record(sensor.tankConfig.Active);
    tofWidgetP->setTank(record ? std::optional<TankConfigRecord_t>(*record) : std::nullopt);
}

void MainWindow_t::slotStopTestOnTabLeave(int tabIndex) {
    if (tabIndex != ui->tabWidgetP->indexOf(tofWidgetP) && connectionP && connectionP->isTestRunning())
        tofWidgetP->startStopButton()->click();
}

void MainWindow_t::slotOnTabChanged(int tabIndex) {
    qDebug() << tabIndex;
    if (connectionP && connectionP->isTestRunning())
        connectionP->stopTest();
}
