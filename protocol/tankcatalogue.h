#pragma once
// The window's tank list: the sensor's tank records followed by the 33 standard tanks. Plain functions over the
// list, so the catalogue rules can be tested without widgets; the window maps their results onto its widgets.

#include "devicerecords.h"
#include "tankkind.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

struct TankListEntry {
    bool selected = false; // shown as the current one: the sensor's active tank
    bool custom = false;   // stems from record 2, the record user tanks are written into
    bool standard = false; // one of the catalogue's tanks
    TankKindE kind = TankKindE::Toroid;
    QByteArray text; // "<outer>x<length>", for standard tanks followed by " <litres>L"
};

using TankList_t = std::vector<TankListEntry>;

// Appends the standard tanks (neither selected nor custom) in catalogue order.
void fillStandardTanks(TankList_t& list);

// Entry for one of the sensor's records: text "<OuterDiameter>x<Length>", custom for record 2.
TankListEntry entryFromRecord(const TankConfigRecord_t& record, bool isActive);

// Reads the outer diameter (the number before the first "x", or the whole text when it has none) and the length (the
// number after the first "x", up to the first blank or the end). A part that is not a decimal number, or is missing,
// gives 0. False unless both are above 0.
bool parseTankText(const QByteArray& text, int& outer, int& length);

// Copies the first selected entry into entry; false, leaving entry as it was, when none is selected.
bool selectedEntry(const TankList_t& list, TankListEntry& entry);

// Finds the non-custom entry of the kind whose text equals text: of several, the selected one (a sensor record may hold
// the same tank as the active one), else the first. position is its index in list.
// Returns false with position 0, leaving entry as it was, when there is none.
bool findEntry(const TankList_t& list, const QByteArray& text, TankKindE kind, TankListEntry& entry, int& position);

// Replaces the selected custom entry at customIndex by the first catalogue entry of the same kind whose dimension
// part (its text up to the first blank) is the custom entry's text: the custom entry takes that text and loses the
// selection, the found entry gains it. A toroid matches only when innerDiameter (the custom inner diameter read from
// record 2) is CATALOGUE_TOROID_INNER_DIAMETER_MM, the inner diameter of every standard toroid. Returns false, changing
// nothing, when nothing matches or customIndex is out of range.
bool matchStandardTank(TankList_t& list, std::size_t customIndex, int innerDiameter);

// The catalogue text of the tank a record holds, by matchStandardTank's rule; none for a tank set by hand.
std::optional<QByteArray> catalogueTextOf(const TankConfigRecord_t& record);
// The nominal litres a catalogue text ends with ("630x250 60L" gives 60); none when it ends with none.
std::optional<int> nominalLitres(const QByteArray& text);

// Upper limits of the custom dimension entries for a kind; both ranges start at 0. They hold every catalogue tank of
// the kind and every entry of the kind in list, the sensor's records among them, up to MAX_RECORD_DIMENSION_MM: a
// value read from the sensor is never clamped.
struct DimensionRanges_t {
    int heightMax;
    int outerMax;
};
DimensionRanges_t dimensionRanges(const TankList_t& list, TankKindE kind);

// Content of the tank combo box for the shown kind, as the box ends up when it is cleared and the list is walked:
// every non-custom entry of the kind adds an item; a selected entry makes its item current, and a selected custom
// entry (which adds no item) makes the last item added so far current. The first item added becomes current by
// itself. No shown kind gives no items.
struct TankComboItems_t {
    QStringList texts;
    int currentIndex = -1; // index to make current after adding texts in order; -1 only when texts is empty
};
TankComboItems_t tankComboItems(const TankList_t& list, std::optional<TankKindE> shownKind);
