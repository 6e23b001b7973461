#pragma once
// The "Параметры" tab: the tank's shape and either a tank from the list (the sensor's records, then the catalogue) or
// free dimensions, with the apply, properties and calibration buttons, which the window connects.

#include "tanktab.h"

#include <QWidget>

#include <optional>

namespace Ui {
class ParametersTab;
}
class QLayout;
class QPushButton;

class ParametersTab_t : public QWidget {
    Q_OBJECT

public:
    explicit ParametersTab_t(QWidget* parent = nullptr);
    ~ParametersTab_t() override;

    // The tank list and the widgets that show it.
    TankTab_t& tanks() { return tankTab; }
    // The pictures; decoding them is left until the window has first been painted.
    void showPictures();
    // The calibration buttons, offered only with a sensor read.
    void offerCalibration(bool offered);

    // The kind of tank the shape buttons choose.
    TankKindE chosenKind() const;
    // With the custom box ticked, the dimensions as record 2 with this wall (the dimension boxes first take the
    // kind's ranges); none otherwise.
    std::optional<TankConfigRecord_t> customRecord(int wall);
    // Why record cannot be written, naming the field as the tab shows it; empty when it can.
    QString impossibleTankText(const TankConfigRecord_t& record) const;
    // The list's current tank; empty when none is chosen.
    QString listedTank() const;

    // The rows that stay in sight below the tab's scrolled part.
    QList<QLayout*> footerRows() const;
    QPushButton* applyButton() const;
    QPushButton* propertiesButton() const;
    QPushButton* calibrationButton() const;
    QPushButton* calibrationHelpButton() const;

private:
    Ui::ParametersTab* form;
    TankTab_t tankTab;
};
