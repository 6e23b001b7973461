#pragma once
// The "RS485" tab: the sensor's Omnicomm output settings (network address, units, periodic output and its period),
// shown from a record and read back into one. The period box follows the periodic-output box.

#include "devicerecords.h"

#include <QWidget>

namespace Ui {
class OmnicommTab;
}
class QPushButton;

class OmnicommTab_t : public QWidget {
    Q_OBJECT

public:
    explicit OmnicommTab_t(QWidget* parent = nullptr);
    ~OmnicommTab_t() override;

    void initialize(const OmnicommConfig_t& config);
    // The tab's settings; without periodic output the period is 0, whatever the period box shows.
    OmnicommConfig_t save() const;
    // The values the tab starts with: what it shows with no sensor connected.
    void clear();
    // The inputs and the apply button as one group.
    void setControlsEnabled(bool enabled);
    QPushButton* applyButton() const;

private:
    void levelRows();

    Ui::OmnicommTab* form;
    OmnicommConfig_t start;
};
