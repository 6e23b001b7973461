#pragma once
// The parameters tab's tank selection, in one place: the tank list (the sensor's records, then the catalogue) and the
// widgets that show it, the shape buttons, the custom box, the tank combo box and the dimension boxes. The list rules
// themselves live in tankcatalogue.

#include "tankcatalogue.h"

#include <QObject>

namespace Ui {
class ParametersTab;
}

class TankTab_t : public QObject {
    Q_OBJECT

public:
    // The widgets are taken from form, which setUp needs set up; until then the tab touches none of them.
    explicit TankTab_t(Ui::ParametersTab& form);
    // Shows the catalogue and rebuilds the tab on every shape click and custom box change.
    void setUp();

    void fillStandardTanks();
    void clearTankList();
    // Appends the entry for one record; record 2 also loads the custom dimension boxes, widened to hold its values.
    void addDeviceRecord(const TankConfigRecord_t& record, bool isActive);
    // Shows the sensor's active tank: its shape, and either its list entry (a stored custom tank that is a catalogue
    // tank shows as that) or the custom box with its dimensions.
    void applyActiveTankToUi();
    bool selectedEntry(TankListEntry& outEntry) const;
    bool findEntry(const QByteArray& text, TankKindE kind, TankListEntry& outEntry, int& outPosition) const;
    void setDimensionRanges(TankKindE kind);
    // From now on the cylinder picture shows the orientation; until then it is left out, as decoding it would delay
    // the window's first appearance.
    void showPictures();
    // The catalogue alone and the dimension boxes at their start values: nothing of a sensor that has gone.
    void showNoSensor();

public slots:
    // Rebuilds the tab for the checked shape and custom box.
    void slotUpdateTankList();

private:
    void checkShapeButtons(TankKindE kind);
    std::optional<TankKindE> shownTankKind() const;
    void showCylinderPicture();

    Ui::ParametersTab* formP;
    TankList_t tankList;
    bool picturesShown = false;
    // The form's start values of the custom dimensions.
    int startOuterDiameter = 0;
    int startHeight = 0;
};
