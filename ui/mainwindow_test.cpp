// The live test: switching the sensor's measurement stream on and off from the "Тест" tab, and stopping it when the
// user leaves that tab.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "tofwidget.h"

#include <QDebug>

void MainWindow_t::slotStartStopTest() {
    if (!connectionP)
        return;
    if (connectionP->isTestRunning())
        connectionP->stopTest();
    else
        connectionP->startTest();
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
