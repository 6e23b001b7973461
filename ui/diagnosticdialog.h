#pragma once
// Connection help shown when no sensor port is present: what to check and, when the program's driver folder exists,
// a button to open it so that the USB driver can be reinstalled.

#include <QDialog>

class QLabel;
class QPushButton;

// Whether the folder "Driver" exists relative to the working directory.
bool driverFolderExists();
// Asks the desktop to open the folder "Driver" (a relative URL without scheme); the result is not reported.
void openDriverFolder();

class DiagnosticDialog_t : public QDialog {
    Q_OBJECT

public:
    explicit DiagnosticDialog_t(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~DiagnosticDialog_t() override;

    // Shows the driver button and the text that mentions it only when the driver folder is available.
    void setDriverAvailable(bool available);
    QPushButton* driverButton() const { return btnDriverP; }

private:
    QLabel* lblMessageP;
    QPushButton* btnDriverP;
    QPushButton* btnCloseP;
};
