#pragma once
// View of the calibration: the empty-tank and full-tank buttons, which the window connects to its calibration
// exchanges, and the two value labels showing the last values the sensor stored.

#include "sensorsnapshot.h" // calibrationValueText, for the window's messages too

#include <QDialog>

class QLabel;
class QPushButton;

class CalibrationDialog_t : public QDialog {
    Q_OBJECT

public:
    explicit CalibrationDialog_t(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~CalibrationDialog_t() override;

    void setEmptyValue(qint32 value);
    void setFullValue(qint32 value);
    // No values known: no sensor is connected.
    void clearValues();
    QPushButton* fullButton() const { return btnFullP; }
    QPushButton* emptyButton() const { return btnEmptyP; }

private:
    QLabel* lblHelpP;
    QPushButton* btnFullP;
    QPushButton* btnEmptyP;
    QPushButton* btnCloseP;
    QLabel* lblFullValueP;
    QLabel* lblEmptyValueP;
};
