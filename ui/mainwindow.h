#pragma once
// The program's only top-level window: the form with its four tabs and the dialogs it owns for its whole life.

#include "portlist.h"
#include "portstatee.h"
#include "sensorconnection.h"
#include "sensorfacts.h"
#include "sensorprofile.h"
#include "statusline.h"
#include "tanktab.h"

#include <QDate>
#include <QMainWindow>
#include <QVector>

namespace Ui {
class MainWindow;
}
class CalibrationDialog_t;
class QLabel;
class DiagnosticDialog_t;
class ProfileDialog_t;
class ReportDialog_t;
class PortMonitor_t;
class PropertiesDialog_t;
class QTimer;
class TofWidget_t;

class MainWindow_t : public QMainWindow {
    Q_OBJECT

public:
    // today decides the window icon (the festive one from 25 to 31 December); portSource lists the serial ports
    // to offer (empty: the system's ports). The pictures, the About tab's links and the port list follow right after
    // the first paint.
    explicit MainWindow_t(QWidget* parent = nullptr, const QDate& today = QDate::currentDate(),
                          PortSource_t portSource = {});
    ~MainWindow_t() override;

    // The controls that send requests: apply, calibration reset, the properties dialog's apply button, both
    // calibration buttons and the test tab's start/stop button.
    void setControlsEnabled(bool enabled);
    // The RS485 tab's inputs and apply button; enabled, the period box is on only with periodic output ticked.
    void setOmnicommControlsEnabled(bool enabled);

    // The parameters tab's tank selection is the tank tab's; these forward to it under the names the conversation
    // code uses.
    void fillStandardTanks() { tankTabP->fillStandardTanks(); }
    void clearTankList() { tankTabP->clearTankList(); }
    void addDeviceRecord(const TankConfigRecord_t& record, bool isActive) {
        tankTabP->addDeviceRecord(record, isActive);
    }
    void applyActiveTankToUi() { tankTabP->applyActiveTankToUi(); }
    bool selectedEntry(TankListEntry& outEntry) const { return tankTabP->selectedEntry(outEntry); }
    bool findEntry(const QByteArray& text, TankKindE kind, TankListEntry& outEntry, int& outPosition) const {
        return tankTabP->findEntry(text, kind, outEntry, outPosition);
    }
    void setDimensionRanges(TankKindE kind) { tankTabP->setDimensionRanges(kind); }
    static bool parseTankText(const QByteArray& text, int& outOuter, int& outLength) {
        return ::parseTankText(text, outOuter, outLength);
    }

public slots:
    void slotUpdateTankList() { tankTabP->slotUpdateTankList(); }

    // Conversation with the sensor: ports and connect control, and the front end of the connection object.
public:
    // How long each new connection waits for a reply before it gives up (5 s by default).
    void setReplyTimeoutMs(int ms);

public slots:
    void slotRefreshSerialList();
    void slotBtnSerialPort_clicked();
    void slotOnTabChanged(int tabIndex);

private slots:
    void slotSensorPortsChanged();
    void slotStopTestOnTabLeave(int tabIndex);
    void slotStartStopTest();
    void slotConfirmCalibrationReset();
    void slotReadingComplete();
    void slotSaved(SequenceE inSequence);
    void slotCalibrated(CalibrationPointE inPoint, qint32 inValue);
    void slotWriteCut(const SequenceOutcome_t& inOutcome);
    void slotFailed(const Failure_t& inFailure);
    void slotLost(QSerialPort::SerialPortError inError);
    void slotProgress(const QString& inSequence, int inStep, int inCount);
    void slotSaveProfile();
    void slotReport();
    void slotSaveReport();
    void slotPrintReport();
    void slotLoadProfile();
    void slotProfileWritten(const SequenceOutcome_t& inOutcome);
    // Enables the action widgets from the connection's busy and test state.
    void slotUpdateControls();

private:
    void setUpPorts(PortSource_t source);
    // Lists the ports and from then on follows plug-ins: by udev's events, else by polling.
    void watchPorts();
    void showPorts(const QList<ShownPort_t>& ports);
    void setUpConversation();
    void connectTo(const QString& portName);
    // Ends the connection and says why on the status bar.
    void closeConnection(const QString& why);
    // Asks before a disconnect would cut what the sensor is doing; true when the user goes on.
    bool mayDisconnect();
    void setConnected();
    // Shows what the connection read from the sensor on the tabs.
    void showSensor();
    // Hands the test tab the sensor's active tank record.
    void showActiveTank();
    void connectRecordSignals();
    // The connected sensor's setup as read, as a profile or the report states it.
    SensorProfile_t currentSetup() const;
    void saveProfileFile();
    // The state every control has with no sensor connected, at start-up and after each disconnect; nothing read from
    // the last sensor stays where it could be taken for the next one's.
    void showDisconnected();
    // Opens an OkMessageBox with text once the current event has been handled, so that no box ever runs inside
    // the connection's own code.
    void showMessage(const QString& text, const QString& informative = QString());
    static QString settingsSavedText();

    void applyTank();
    void applyProperties();

    PortSource_t portSource;
    SensorConnection_t* connectionP = nullptr; // the present connection; null when not connected
    QList<PortDescriptor_t> portInfoList;      // in the port box's order
    PortStateE portState = PortStateE::NO_PORTS;
    QTimer* refreshTimerP = nullptr;
    PortMonitor_t* portMonitorP = nullptr;
    // A port source of its own may list ports that udev never announces (an emulator's pseudo-terminal).
    bool pollAlways = false;
    bool pollPorts = true; // udev does not announce every plug-in
    int replyTimeoutMs = SensorConnection_t::DEFAULT_REPLY_TIMEOUT_MS;
    // What the stored calibration is being read for: the record saved or printed with it.
    enum class RecordE { NONE, PROFILE, REPORT } recordAfterCalibration = RecordE::NONE;
    // What a write cut short by a failure got done, told with the failure.
    QString cutWriteText;
    SensorProfile_t profileBeingWritten;
    // The setup and the test curve the open report dialog reports on, taken when it opened.
    SensorProfile_t reportSetup;
    QVector<qint32> reportReadings; // the live test's, as the report was opened

private:
    void makeTabsScrollable();
    // Puts page into a scroll area, with the rows of footer below it, always in sight.
    void makeScrollable(QWidget* page, const QList<QLayout*>& footer);
    void fitScreen();
    void showPictures();
    ProfileDialog_t& profileDialog();
    ReportDialog_t& reportDialog();

    Ui::MainWindow* ui;
    PropertiesDialog_t* propertiesDialogP;
    TofWidget_t* tofWidgetP; // page of the "Тест" tab, owned by the tab widget
    CalibrationDialog_t* calibrationDialogP;
    DiagnosticDialog_t* diagnosticDialogP;
    // Made on first use: most runs never open them, and making them would delay the window's first appearance.
    ProfileDialog_t* profileDialogP = nullptr;
    ReportDialog_t* reportDialogP = nullptr;
    TankTab_t* tankTabP; // the parameters tab's tank list
    StatusLine_t statusLine;
};
