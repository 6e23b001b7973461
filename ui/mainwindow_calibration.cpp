// The confirmed calibration reset.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "okmessagebox.h"

void MainWindow_t::slotConfirmCalibrationReset() {
    QMessageBox box;
    // The flags first: setting them afterwards takes the focus from Cancel, and Enter would then confirm the reset.
    box.setWindowFlags(box.windowType() | dialogWindowFlags());
    box.setWindowTitle(tr("Сброс калибровки"));
    box.setText(tr("Сбросить калибровку?\nВсе данные калибровки будут удалены!"));
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    // The connection may have ended while the box was open.
    if (box.exec() == QMessageBox::Ok && connectionP)
        connectionP->resetCalibration();
}
