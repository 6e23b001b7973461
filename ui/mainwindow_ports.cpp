// The port box and the connect button: which sensor ports are offered, connecting and disconnecting, and the port's
// error reports.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "calibrationdialog.h"
#include "diagnosticdialog.h"
#include "okmessagebox.h"
#include "portmonitor.h"
#include "propertiesdialog.h"
#include "tofwidget.h"

#include <QDebug>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int REFRESH_INTERVAL_MS = 2000;

} // namespace

void MainWindow_t::setUpPorts(PortSource_t source) {
    pollAlways = bool(source);
    portSource = source ? std::move(source) : PortSource_t(systemPorts);
    refreshTimerP = new QTimer(this);
    refreshTimerP->setInterval(REFRESH_INTERVAL_MS);
    portMonitorP = new PortMonitor_t(this);
    connect(ui->btnSerialPortP, &QPushButton::clicked, this, &MainWindow_t::slotBtnSerialPort_clicked);
    connect(refreshTimerP, &QTimer::timeout, this, &MainWindow_t::slotRefreshSerialList);
    connect(portMonitorP, &PortMonitor_t::signSensorPortsChanged, this, &MainWindow_t::slotSensorPortsChanged);
    connect(diagnosticDialogP->driverButton(), &QPushButton::clicked, this, [] { openDriverFolder(); });
    showPorts({}); // no port until the first scan
}

void MainWindow_t::watchPorts() {
    pollPorts = !portMonitorP->start() || pollAlways;
    slotRefreshSerialList();
    if (pollPorts)
        refreshTimerP->start();
}

void MainWindow_t::slotSensorPortsChanged() {
    // While connected the list stays; an unplug shows as the port's error.
    if (portState == PortStateE::NO_PORTS || portState == PortStateE::PORT_READY)
        slotRefreshSerialList();
}

void MainWindow_t::slotRefreshSerialList() {
    if (portState == PortStateE::CONNECTING || portState == PortStateE::CONNECTED || portState == PortStateE::READING)
        qCritical() << "Refresh wrong state";
    showPorts(sensorPorts(portSource()));
}

void MainWindow_t::showPorts(const QList<ShownPort_t>& ports) {
    portInfoList.clear();
    QStringList names;
    for (const ShownPort_t& shown : ports) {
        portInfoList.append(shown.port);
        names.append(shown.shownName);
    }

    // Rebuilding an unchanged box would throw away the user's selection.
    QStringList items;
    for (int i = 0; i < ui->cboxSerialListP->count(); ++i)
        items.append(ui->cboxSerialListP->itemText(i));
    if (items != names) {
        ui->cboxSerialListP->clear();
        ui->cboxSerialListP->addItems(names);
    }

    ui->btnSerialPortP->setEnabled(true);
    if (portInfoList.isEmpty()) {
        portState = PortStateE::NO_PORTS;
        ui->cboxSerialListP->setEnabled(false);
        ui->btnSerialPortP->setText(tr("Диагностика"));
    } else {
        portState = PortStateE::PORT_READY;
        ui->cboxSerialListP->setEnabled(true);
        ui->btnSerialPortP->setText(tr("Подключить"));
    }
}

void MainWindow_t::slotBtnSerialPort_clicked() {
    qInfo() << "BtnSerialPort_clicked";
    switch (portState) {
    case PortStateE::PORT_READY: {
        portState = PortStateE::CONNECTING;
        if (connectionP) {
            // No path leaves a connection behind; should one exist, it must not keep its port open.
            qCritical() << "parserP_memoryLeak";
            closeConnection(QString());
            portState = PortStateE::CONNECTING;
        }
        ui->btnSerialPortP->setText(tr("Подключение..."));
        ui->btnSerialPortP->setEnabled(false);
        ui->cboxSerialListP->setEnabled(false);
        refreshTimerP->stop();
        connectTo(portInfoList.value(qMax(0, ui->cboxSerialListP->currentIndex())).portName);
        break;
    }
    case PortStateE::CONNECTED:
        if (mayDisconnect())
            closeConnection(tr("Датчик отключён."));
        break;
    case PortStateE::NO_PORTS:
        diagnosticDialogP->setDriverAvailable(driverFolderExists());
        diagnosticDialogP->show();
        break;
    case PortStateE::CONNECTING:
    case PortStateE::READING:
        qCritical() << "Can't press!";
        break;
    }
}

bool MainWindow_t::mayDisconnect() {
    if (!connectionP->isBusy())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Отключение датчика"),
                    tr("Датчик ещё выполняет команду (%1). Отключить его сейчас?").arg(statusLine.activity()),
                    QMessageBox::NoButton, this, dialogWindowFlags());
    box.setInformativeText(
        tr("Начатая запись будет прервана; после отключения программа скажет, что записано, а что нет."));
    QPushButton* disconnectButton = box.addButton(tr("Отключить"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(tr("Продолжить запись"), QMessageBox::RejectRole));
    box.exec();
    // The sensor may have finished, or the link ended, while the box was open.
    return box.clickedButton() == disconnectButton && portState == PortStateE::CONNECTED;
}

void MainWindow_t::closeConnection(const QString& why) {
    if (connectionP) {
        // Its link goes now (telling what a write it cuts got done); the object itself once the event that ended it
        // has been handled.
        connectionP->close();
        connectionP->disconnect(this);
        connectionP->deleteLater();
        connectionP = nullptr;
    }
    portState = PortStateE::PORT_READY;
    slotRefreshSerialList();
    if (pollPorts)
        refreshTimerP->start();
    showDisconnected();
    statusLine.showNoSensor(why);
    qDebug() << "state = StateE::IDLE!!!";
}

void MainWindow_t::showDisconnected() {
    setControlsEnabled(false);
    // Without a link an RS485 apply would wait for an answer that cannot come.
    setOmnicommControlsEnabled(false);
    tofWidgetP->startStopButton()->setText(tr("Начать тест"));
    ui->tabParameters->offerCalibration(false);
    ui->tabAboutDevice->clear();
    tankTabP->showNoSensor();
    ui->tabOmni->clear();
    propertiesDialogP->setMixture(PropertiesDialog_t::START_MIXTURE);
    calibrationDialogP->hide();
    calibrationDialogP->clearValues();
    tofWidgetP->clear();
}

void MainWindow_t::setConnected() {
    portState = PortStateE::CONNECTED;
    ui->btnSerialPortP->setText(tr("Отключить"));
    ui->btnSerialPortP->setEnabled(true);
    slotUpdateControls();
    applyActiveTankToUi();
}
