// The live test: switching the sensor's measurement stream on and off from the "Тест" tab, and stopping it when the
// user leaves that tab. The measurements themselves are plotted by the idle state.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "requests.h"
#include "tofwidget.h"

#include <QDebug>
#include <QTimer>

void MainWindow_t::stepTest(SerialDataTypeE type) {
    switch (fsmState) {
    case StateE::START_TEST:
        if (type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
        setControlsEnabled(false);
        unansweredSwitches = 1;
        sendRequest(reqInstallation(1));
        fsmState = StateE::START_TEST_ACK;
        return;
    case StateE::STOP_TEST:
        if (type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
        fsmState = StateE::STOP_TEST_ACK;
        setControlsEnabled(false);
        // Until the stream has stopped every event is a measurement or an "ok" of the test, which an RS485 write
        // started now would take for its own reply.
        setOmnicommControlsEnabled(false);
        ++unansweredSwitches; // a start stopped at once still has its own "ok" coming
        sendRequest(reqInstallation(0));
        return;
    default: // START_TEST_ACK, STOP_TEST_ACK
        // Measurements sent before the sensor saw the stop are still coming: ask again for each of them.
        if (fsmState == StateE::STOP_TEST_ACK && type == SerialDataTypeE::MEASUREMENT) {
            ++unansweredSwitches;
            sendRequest(reqInstallation(0));
            return;
        }
        if (type != SerialDataTypeE::OK) {
            fsmError();
            return;
        }
        // Every request is answered with an "ok" of its own: the conversation is idle once the last one is in.
        if (--unansweredSwitches > 0) {
            replyTimerP->start(replyTimeoutMs); // the sensor is answering: the time limit counts from its last reply
            return;
        }
        if (fsmState == StateE::STOP_TEST_ACK)
            setOmnicommControlsEnabled(true);
        setControlsEnabled(true);
        enterIdle();
        return;
    }
}

void MainWindow_t::slotStartStopTest() {
    if (!testRunning) {
        enterState(StateE::START_TEST);
        tofWidgetP->startStopButton()->setText(tr("Завершить тест"));
    } else {
        enterState(StateE::STOP_TEST);
        tofWidgetP->startStopButton()->setText(tr("Начать тест"));
    }
    testRunning = !testRunning;
}

void MainWindow_t::slotStopTestOnTabLeave(int tabIndex) {
    if (tabIndex != ui->tabWidgetP->indexOf(tofWidgetP) && testRunning)
        tofWidgetP->startStopButton()->click();
}

void MainWindow_t::slotOnTabChanged(int tabIndex) {
    qDebug() << tabIndex;
    if (testRunning)
        enterState(StateE::STOP_TEST);
}
