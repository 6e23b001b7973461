#pragma once
// The "Инфо" tab: the connected sensor's identity, the program's version and help links, and the buttons for the
// profile, the installation report and the calibration reset, which the window connects.

#include "sensorfacts.h"

#include <QWidget>

namespace Ui {
class AboutTab;
}
class QLabel;
class QPushButton;

class AboutTab_t : public QWidget {
    Q_OBJECT

public:
    explicit AboutTab_t(QWidget* parent = nullptr);
    ~AboutTab_t() override;

    // The sensor's identity facts, one row each: the form's rows first, a row of the same kind for each further fact.
    void initialize(const QList<SensorFact_t>& identity);
    // No sensor: the identity rows empty.
    void clear() { initialize({}); }
    // The help links; building their rich text is left until the window has first been painted.
    void showHelpLinks();

    QPushButton* saveProfileButton() const;
    QPushButton* loadProfileButton() const;
    QPushButton* reportButton() const;
    QPushButton* resetCalibrationButton() const;

private:
    Ui::AboutTab* form;
    QList<QLabel*> addedIdentityLabels; // rows for facts the form has no place for
};
