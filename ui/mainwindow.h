#pragma once
// The program's only top-level window: the form with its four tabs and the dialogs it owns for its whole life.

#include "portlist.h"
#include "portstatee.h"
#include "serialdatatype.h"
#include "statee.h"
#include "tanktab.h"

#include <QByteArray>
#include <QDate>
#include <QMainWindow>
#include <QSerialPort>
#include <array>
#include <nlohmann/json_fwd.hpp>

namespace Ui {
class MainWindow;
}
class CalibrationDialog_t;
class DiagnosticDialog_t;
class PropertiesDialog_t;
class QTimer;
class SerialParser_t;
class TofWidget_t;

class MainWindow_t : public QMainWindow {
    Q_OBJECT

public:
    // today decides the window icon (the festive one from 25 to 31 December); portSource lists the serial ports
    // to offer (empty: the system's ports).
    explicit MainWindow_t(QWidget* parent = nullptr, const QDate& today = QDate::currentDate(),
                          PortSource_t portSource = {});
    ~MainWindow_t() override;

    // The controls that send requests: apply, calibration reset, the properties dialog's apply button, both
    // calibration buttons and the test tab's start/stop button.
    void setControlsEnabled(bool enabled);
    // The RS485 tab's inputs and apply button; enabling turns the period box on only when periodic output is ticked.
    void setOmnicommControlsEnabled(bool enabled);

    // The parameters tab's tank selection is the tank tab's; these forward to it under the names the conversation
    // code uses.
    void fillStandardTanks() { tankTab.fillStandardTanks(); }
    void clearTankList() { tankTab.clearTankList(); }
    void addDeviceRecord(const TankConfigRecord_t& record, bool isActive) { tankTab.addDeviceRecord(record, isActive); }
    void applyActiveTankToUi() { tankTab.applyActiveTankToUi(); }
    bool selectedEntry(TankListEntry& outEntry) const { return tankTab.selectedEntry(outEntry); }
    bool findEntry(const QByteArray& text, TankKindE kind, TankListEntry& outEntry, int& outPosition) const {
        return tankTab.findEntry(text, kind, outEntry, outPosition);
    }
    void setDimensionRanges(TankKindE kind) { tankTab.setDimensionRanges(kind); }
    static bool parseTankText(const QByteArray& text, int& outOuter, int& outLength) {
        return ::parseTankText(text, outOuter, outLength);
    }

public slots:
    void slotUpdateTankList() { tankTab.slotUpdateTankList(); }

    // Conversation with the sensor: ports and connect control, the state machine and its write sequences.
public:
    // How long a waiting state waits for the sensor's next event before it gives up (5 s by default).
    void setReplyTimeoutMs(int ms);

signals:
    // One request text toward the link.
    void signToDevice(QByteArray);

public slots:
    // The state machine's only entry: a device reply, or NO_DATA with no data to start the reading or a user action.
    void slotFromDevice(SerialDataTypeE inType = SerialDataTypeE::NO_DATA, QByteArray inData = QByteArray());
    void slotRefreshSerialList();
    void slotBtnSerialPort_clicked();
    void slotSerialError(QSerialPort::SerialPortError inError);
    void slotTxModeChange(bool state);
    void slotOnTabChanged(int tabIndex);

private slots:
    void slotStopTestOnTabLeave(int tabIndex);
    void slotStartStopTest();
    void slotConfirmCalibrationReset();
    void slotReplyTimeout();

private:
    // Which action widgets a finished sequence enables again.
    enum class ControlGroupE { ACTIONS, OMNICOMM };

    void setUpPorts(PortSource_t source);
    void setUpConversation();
    void closeConnection();
    void setConnected();

    void enterState(StateE state);
    void stepStateMachine(SerialDataTypeE type, const nlohmann::json& value);
    void fsmError();
    void showMessage(const QString& text);
    static QString settingsSavedText();
    void sendRequest(const QByteArray& request);
    void enterIdle();
    void finishSequence(const QString& message, ControlGroupE group);

    void stepStart(SerialDataTypeE type);
    void stepReading(SerialDataTypeE type, const nlohmann::json& value);
    void readTankRecord(const nlohmann::json& value);
    void stepIdle(SerialDataTypeE type, const nlohmann::json& value);
    void stepTank(SerialDataTypeE type);
    void stepProperties(SerialDataTypeE type);
    void stepOmnicomm(SerialDataTypeE type);
    void stepTest(SerialDataTypeE type);
    void stepCalibration(SerialDataTypeE type, const nlohmann::json& value);

    void applyTank(bool logIt);
    TankKindE appliedTankKind() const;
    void writeTankRecord(const TankConfigRecord_t& record, StateE awaiting);
    void fillOmnicommTab(const OmnicommConfig_t& config);
    OmnicommConfig_t readOmnicommTab() const;

    PortSource_t portSource;
    SerialParser_t* parserP = nullptr;
    QList<PortDescriptor_t> portInfoList; // in the port box's order
    PortStateE portState = PortStateE::NO_PORTS;
    QTimer* refreshTimerP = nullptr;

    StateE fsmState = StateE::START;
    bool testRunning = false;
    // Start and stop requests of the test whose "ok" has not arrived yet.
    int unansweredSwitches = 0;
    int tankMixture = 0;
    QString tankLiquid;
    int activeRecord = 0;
    std::array<TankConfigRecord_t, TANK_RECORD_COUNT> tankRecords{};
    // The record and activation a tank apply has sent, taken over into tankRecords and activeRecord once acknowledged.
    TankConfigRecord_t requestedRecord;
    int requestedActive = 0;
    QTimer* replyTimerP = nullptr;
    int replyTimeoutMs = 5000;

private:
    void fillAboutTab();
    void setPictures(const QDate& today);
    void setFixedTexts();
    void levelOmniRows();
    void nameInputsForAccessibility();

    Ui::MainWindow* ui;
    PropertiesDialog_t* propertiesDialogP;
    TofWidget_t* tofWidgetP; // page of the "Тест" tab, owned by the tab widget
    CalibrationDialog_t* calibrationDialogP;
    DiagnosticDialog_t* diagnosticDialogP;
    TankTab_t tankTab;
    const TankList_t& tankList; // the tank tab's, read by the conversation code
};
