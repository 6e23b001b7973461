#pragma once
// The fitter's details for the installation report. The dialog only collects them: the window answers its signals
// by asking where to save or how to print, and builds the report from details().

#include "installreport.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class ReportDialog_t : public QDialog {
    Q_OBJECT

public:
    explicit ReportDialog_t(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~ReportDialog_t() override;

    ReportDetails_t details() const;

signals:
    void signSavePdf();
    void signPrint();

private:
    QLineEdit* editVehicleP;
    QLineEdit* editPlateP;
    QLineEdit* editFitterP;
    QPlainTextEdit* editNoteP;
    QPushButton* btnSavePdfP;
    QPushButton* btnPrintP;
    QPushButton* btnCancelP;
};
