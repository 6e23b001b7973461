#pragma once
// What writing a profile would set, beside what the connected sensor holds, with every difference marked; the user
// writes it or leaves.

#include "sensorprofile.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

class ProfileDialog_t : public QDialog {
    Q_OBJECT

public:
    ProfileDialog_t(QWidget* parent, Qt::WindowFlags flags);

    // Fills the table for a profile file; accept() means "write it".
    void showFields(const QString& fileName, const QList<ProfileField_t>& fields);

private:
    QLabel* lblFileP;
    QTableWidget* tableP;
    QLabel* lblWarningP;
    QPushButton* btnWriteP;
    QPushButton* btnCancelP;
};
