// The window as the front end of one sensor connection: which user action starts which sequence, and what the
// window shows for each of the connection's outcomes.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "calibrationdialog.h"
#include "okmessagebox.h"
#include "propertiesdialog.h"
#include "sensorfacts.h"
#include "tofwidget.h"

#include <QTimer>

void MainWindow_t::setUpConversation() {
    connect(ui->tabParameters->applyButton(), &QPushButton::clicked, this, &MainWindow_t::applyTank);
    connect(propertiesDialogP->applyButton(), &QPushButton::clicked, this, &MainWindow_t::applyProperties);
    connect(calibrationDialogP->emptyButton(), &QPushButton::clicked, this, [this] {
        if (connectionP)
            connectionP->calibrate(CalibrationPointE::EMPTY);
    });
    connect(calibrationDialogP->fullButton(), &QPushButton::clicked, this, [this] {
        if (connectionP)
            connectionP->calibrate(CalibrationPointE::FULL);
    });
    connect(ui->tabOmni->applyButton(), &QPushButton::clicked, this, [this] {
        if (connectionP)
            connectionP->writeOmnicomm(ui->tabOmni->save());
    });
    connect(ui->tabAboutDevice->resetCalibrationButton(), &QPushButton::clicked, this,
            &MainWindow_t::slotConfirmCalibrationReset);
    connect(tofWidgetP->startStopButton(), &QPushButton::clicked, this, &MainWindow_t::slotStartStopTest);

    connect(ui->tabParameters->propertiesButton(), &QPushButton::clicked, propertiesDialogP, &QDialog::show);
    connect(ui->tabParameters->calibrationButton(), &QPushButton::clicked, this, [this] {
        calibrationDialogP->show();
        // The stored points, shown as the sensor holds them now.
        if (connectionP)
            connectionP->readCalibration();
    });
    connect(ui->tabParameters->calibrationHelpButton(), &QPushButton::clicked, this, [this] {
        showMessage(tr("Калибровка предназначена для установки значений пустого и полного бака. Калибровка "
                       "увеличивает точность показаний датчика, так как за нулевое и максимальное значение "
                       "принимаются параметры, рассчитанные исходя из характеристик конкретного бака."));
    });

    // In this order: leaving the test tab clicks stop first, so the second receiver finds the test stopped.
    connect(ui->tabWidgetP, &QTabWidget::currentChanged, this, &MainWindow_t::slotStopTestOnTabLeave);
    connect(ui->tabWidgetP, &QTabWidget::currentChanged, this, &MainWindow_t::slotOnTabChanged);
}

void MainWindow_t::setReplyTimeoutMs(int ms) {
    replyTimeoutMs = ms;
}

void MainWindow_t::connectTo(const QString& portName) {
    connectionP = new SensorConnection_t(portName, this);
    connectionP->setReplyTimeoutMs(replyTimeoutMs);
    recordAfterCalibration = RecordE::NONE;
    statusLine.showActivity(tr("Подключение к %1...").arg(ui->cboxSerialListP->currentText()));
    connect(connectionP, &SensorConnection_t::signPortOpened, this, [this] {
        ui->btnSerialPortP->setText(tr("Чтение данных..."));
        portState = PortStateE::READING;
    });
    connect(connectionP, &SensorConnection_t::signProgress, this, &MainWindow_t::slotProgress);
    connect(connectionP, &SensorConnection_t::signReadingComplete, this, &MainWindow_t::slotReadingComplete);
    connect(connectionP, &SensorConnection_t::signBusyChanged, this, &MainWindow_t::slotUpdateControls);
    connect(connectionP, &SensorConnection_t::signTestRunningChanged, this, [this](bool running) {
        tofWidgetP->startStopButton()->setText(running ? tr("Завершить тест") : tr("Начать тест"));
        statusLine.showStreaming(running);
        slotUpdateControls();
    });
    connect(connectionP, &SensorConnection_t::signSaved, this, &MainWindow_t::slotSaved);
    connect(connectionP, &SensorConnection_t::signRefused, this,
            [this] { showMessage(tr("Данные введены неверно!")); });
    connect(connectionP, &SensorConnection_t::signCalibrated, this, &MainWindow_t::slotCalibrated);
    connect(connectionP, &SensorConnection_t::signMeasurement, this, [this](const Installation_t& reading) {
        tofWidgetP->addSample(static_cast<quint32>(reading.RawTOF));
        tofWidgetP->showLevel(reading.mm);
    });
    connect(connectionP, &SensorConnection_t::signWriteCut, this, &MainWindow_t::slotWriteCut);
    connect(connectionP, &SensorConnection_t::signFailed, this, &MainWindow_t::slotFailed);
    connect(connectionP, &SensorConnection_t::signLost, this, &MainWindow_t::slotLost);
    connectRecordSignals();
    connectionP->open();
}

void MainWindow_t::slotReadingComplete() {
    showSensor();
    statusLine.showSensor(connectionP->sensor().info, ui->cboxSerialListP->currentText());
    ui->tabParameters->offerCalibration(true);
    setConnected();
}

void MainWindow_t::showSensor() {
    const SensorSnapshot_t& sensor = connectionP->sensor();
    ui->tabAboutDevice->initialize(sensorFacts(sensor, FactGroupE::IDENTITY));
    propertiesDialogP->setMixture(sensor.tankConfig.Mixture);
    clearTankList();
    for (const TankConfigRecord_t& record : sensor.records)
        addDeviceRecord(record, record.id == sensor.tankConfig.Active);
    fillStandardTanks();
    ui->tabOmni->initialize(sensor.omnicomm);
    setOmnicommControlsEnabled(true);
    showActiveTank();
}

void MainWindow_t::slotSaved(SequenceE inSequence) {
    switch (inSequence) {
    case SequenceE::TANK:
    case SequenceE::ACTIVATION:
    case SequenceE::OMNICOMM:
        showMessage(settingsSavedText());
        return;
    case SequenceE::PROPERTIES:
        showMessage(settingsSavedText() + tr(" \nДля применения перезагрузите устройство."));
        return;
    case SequenceE::CALIBRATION_RESET: // the user confirmed it already; nothing more to say
    case SequenceE::READING:           // the others have outcomes of their own
    case SequenceE::CALIBRATION_EMPTY:
    case SequenceE::CALIBRATION_FULL:
    case SequenceE::CALIBRATION_READ:
    case SequenceE::PROFILE:
    case SequenceE::STREAM_ON:
    case SequenceE::STREAM_OFF:
        return;
    }
}

void MainWindow_t::slotCalibrated(CalibrationPointE inPoint, qint32 inValue) {
    const bool empty = inPoint == CalibrationPointE::EMPTY;
    if (empty)
        calibrationDialogP->setEmptyValue(inValue);
    else
        calibrationDialogP->setFullValue(inValue);
    showMessage((empty ? tr("Значение \"пустой\": ") : tr("Значение \"полный\": ")) + calibrationValueText(inValue));
}

void MainWindow_t::slotWriteCut(const SequenceOutcome_t& inOutcome) {
    // A failure tells it together with its own message; a lost line or a disconnect has only this to say.
    if (inOutcome.end == SequenceEndE::FAILED)
        cutWriteText = writeOutcomeText(inOutcome);
    else
        showMessage(writeOutcomeText(inOutcome));
}

void MainWindow_t::slotFailed(const Failure_t& inFailure) {
    closeConnection(tr("Связь с датчиком прервана: ошибка обмена."));
    QString details = failureText(inFailure);
    if (!cutWriteText.isEmpty())
        details += QStringLiteral("\n\n") + cutWriteText;
    cutWriteText.clear();
    showMessage(tr("Произошла ошибка, перезагрузите устройство!"), details);
}

void MainWindow_t::slotLost(QSerialPort::SerialPortError inError) {
    // Said on the status bar only: an unplug is the fitter's own doing and needs no box. The port reports itself open
    // before an open can still fail, so the error tells an open that failed from a line lost later.
    if (inError == QSerialPort::ResourceError || inError == QSerialPort::ReadError ||
        inError == QSerialPort::WriteError)
        closeConnection(tr("Датчик отключён: связь по USB потеряна."));
    else if (inError == QSerialPort::DeviceNotFoundError)
        closeConnection(tr("Порт датчика не найден: проверьте USB-кабель."));
    else if (inError == QSerialPort::PermissionError)
        closeConnection(tr("Нет доступа к порту датчика: он занят другой программой или нет прав."));
    else
        closeConnection(tr("Связь с датчиком прервана: ошибка порта %1.").arg(int(inError)));
}

void MainWindow_t::slotProgress(const QString& inSequence, int inStep, int inCount) {
    statusLine.showActivity(progressText(inSequence, inStep, inCount, portState == PortStateE::READING));
}

void MainWindow_t::slotUpdateControls() {
    const bool ready = connectionP && portState == PortStateE::CONNECTED && !connectionP->isBusy();
    if (ready)
        statusLine.showActivity(tr("Датчик готов к работе."));
    const bool testRunning = connectionP && connectionP->isTestRunning();
    setControlsEnabled(ready && !testRunning);
    setOmnicommControlsEnabled(ready && !testRunning);
    tofWidgetP->startStopButton()->setEnabled(ready);
}

void MainWindow_t::showMessage(const QString& text, const QString& informative) {
    // Runs modally until the user closes it.
    QTimer::singleShot(0, this, [text, informative] { OkMessageBox box(text, informative); });
}

QString MainWindow_t::settingsSavedText() {
    static const QString text = tr("Настройки успешно сохранены!");
    return text;
}
