// Calibration of the empty and full points, read back and announced, and the confirmed calibration reset.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "calibrationdialog.h"
#include "okmessagebox.h"
#include "requests.h"
#include "responses.h"

#include <nlohmann/json.hpp>

namespace {

constexpr int EMPTY_PERCENT = 0;
constexpr int FULL_PERCENT = 100;

} // namespace

void MainWindow_t::stepCalibration(SerialDataTypeE type, const nlohmann::json& value) {
    const StateE state = fsmState;
    if (state == StateE::RESET_CALIBRATION || state == StateE::CALIBRATE_EMPTY || state == StateE::CALIBRATE_FULL) {
        if (type != SerialDataTypeE::NO_DATA) {
            fsmError();
            return;
        }
    } else if (type != SerialDataTypeE::OK) {
        fsmError();
        return;
    }

    switch (state) {
    case StateE::RESET_CALIBRATION:
        // The sensor's "ok" is not awaited; it arrives in IDLE and is only logged there.
        emit signToDevice(reqCalibrationReset());
        enterIdle();
        return;
    case StateE::CALIBRATE_EMPTY:
    case StateE::CALIBRATE_FULL:
        setControlsEnabled(false);
        setOmnicommControlsEnabled(false);
        sendRequest(reqCalibrate(state == StateE::CALIBRATE_EMPTY ? EMPTY_PERCENT : FULL_PERCENT));
        fsmState = state == StateE::CALIBRATE_EMPTY ? StateE::CALIBRATE_EMPTY_ACK : StateE::CALIBRATE_FULL_ACK;
        return;
    case StateE::CALIBRATE_EMPTY_ACK:
    case StateE::CALIBRATE_FULL_ACK:
        sendRequest(reqCalibrationRead());
        fsmState = state == StateE::CALIBRATE_EMPTY_ACK ? StateE::GET_CALIBRATION_EMPTY : StateE::GET_CALIBRATION_FULL;
        return;
    default: { // GET_CALIBRATION_EMPTY, GET_CALIBRATION_FULL
        setControlsEnabled(true);
        setOmnicommControlsEnabled(true);
        int status = -1; // not looked at: a reply without the values shows the parser's zeros
        const Calibration_t calibration = parseCalibration(value, status);
        const bool empty = state == StateE::GET_CALIBRATION_EMPTY;
        if (empty)
            calibrationDialogP->setEmptyValue(calibration.Empty);
        else
            calibrationDialogP->setFullValue(calibration.Full);
        enterIdle();
        showMessage((empty ? tr("Зачение \"пустой\": ") : tr("Зачение \"полный\": ")) +
                    calibrationValueText(empty ? calibration.Empty : calibration.Full));
        return;
    }
    }
}

void MainWindow_t::slotConfirmCalibrationReset() {
    QMessageBox box;
    // The flags first: setting them afterwards takes the focus from Cancel, and Enter would then confirm the reset.
    box.setWindowFlags(box.windowType() | dialogWindowFlags());
    box.setText(tr("Сбросить калибровку?\nВсе данные калибровки будут удалены!"));
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() == QMessageBox::Ok)
        enterState(StateE::RESET_CALIBRATION);
}
