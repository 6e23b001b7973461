#include "tankcatalogue.h"

#include <QString>

#include <algorithm>

namespace {

const char* const TOROID_TEXTS[] = {"600x200 42L", "600x220 47L", "630x200 46L", "630x225 53L", "630x250 60L",
                                    "630x270 66L", "650x200 50L", "650x225 55L", "650x250 65L", "650x270 70L",
                                    "720x230 78L", "720x240 83L", "720x270 89L"};
const char* const SOLID_TEXTS[] = {"720x200 65L", "720x270 93L", "650x250 68L", "650x270 75L"};
// Horizontal and vertical cylinders come in the same sizes.
const char* const CYLINDER_TEXTS[] = {"300x640 40L", "300x780 50L", "400x595 57L",  "300x1000 65L",
                                      "376x792 76L", "356x920 80L", "356x1005 90L", "356x1045 103L"};

// The "<outer>x<length>" part of a catalogue text: up to its first blank.
QByteArray dimensionPart(const QByteArray& text) {
    const int blank = text.indexOf(' ');
    return blank < 0 ? text : text.left(blank);
}

template <std::size_t N>
void appendStandard(TankList_t& list, TankKindE kind, const char* const (&texts)[N]) {
    for (const char* text : texts) {
        TankListEntry entry;
        entry.standard = true;
        entry.kind = kind;
        entry.text = text;
        list.push_back(entry);
    }
}

} // namespace

void fillStandardTanks(TankList_t& list) {
    appendStandard(list, TankKindE::Toroid, TOROID_TEXTS);
    appendStandard(list, TankKindE::CylinderP, SOLID_TEXTS);
    appendStandard(list, TankKindE::CylinderH, CYLINDER_TEXTS);
    appendStandard(list, TankKindE::CylinderV, CYLINDER_TEXTS);
}

TankListEntry entryFromRecord(const TankConfigRecord_t& record, bool isActive) {
    TankListEntry entry;
    entry.selected = isActive;
    entry.custom = record.id == WRITABLE_RECORD_ID;
    entry.kind = tankKindOf(record);
    entry.text = QStringLiteral("%1x%2").arg(record.OuterDiameter).arg(record.Length).toUtf8();
    return entry;
}

bool parseTankText(const QByteArray& text, int& outer, int& length) {
    const int separator = text.indexOf('x');
    const QByteArray outerPart = separator < 0 ? text : text.left(separator);
    QByteArray lengthPart = separator < 0 ? QByteArray() : text.mid(separator + 1);
    const int blank = lengthPart.indexOf(' ');
    if (blank >= 0)
        lengthPart.truncate(blank);
    // toInt gives 0 for anything that is not a whole decimal number.
    outer = outerPart.toInt(nullptr, 10);
    length = lengthPart.toInt(nullptr, 10);
    return outer > 0 && length > 0;
}

bool selectedEntry(const TankList_t& list, TankListEntry& entry) {
    for (const TankListEntry& candidate : list) {
        if (candidate.selected) {
            entry = candidate;
            return true;
        }
    }
    return false;
}

bool findEntry(const TankList_t& list, const QByteArray& text, TankKindE kind, TankListEntry& entry, int& position) {
    const auto matches = [&](const TankListEntry& e) { return !e.custom && e.kind == kind && e.text == text; };
    auto found =
        std::find_if(list.begin(), list.end(), [&](const TankListEntry& e) { return e.selected && matches(e); });
    if (found == list.end())
        found = std::find_if(list.begin(), list.end(), matches);
    if (found == list.end()) {
        position = 0;
        return false;
    }
    entry = *found;
    position = static_cast<int>(found - list.begin());
    return true;
}

bool matchStandardTank(TankList_t& list, std::size_t customIndex, int innerDiameter) {
    if (customIndex >= list.size())
        return false;
    TankListEntry& custom = list[customIndex];
    if (custom.kind == TankKindE::Toroid && innerDiameter != CATALOGUE_TOROID_INNER_DIAMETER_MM)
        return false;
    for (TankListEntry& candidate : list) {
        // Only a catalogue tank: a sensor record of the same size would be activated in record 2's place. And the
        // whole dimension part: a text that merely begins with the record's would take 600x20 for "600x200 42L".
        if (candidate.standard && candidate.kind == custom.kind && dimensionPart(candidate.text) == custom.text) {
            custom.text = candidate.text;
            custom.selected = false;
            candidate.selected = true;
            return true;
        }
    }
    return false;
}

std::optional<QByteArray> catalogueTextOf(const TankConfigRecord_t& record) {
    TankList_t list{entryFromRecord(record, true)};
    fillStandardTanks(list);
    if (!matchStandardTank(list, 0, record.InnerDiameter))
        return std::nullopt;
    return list.front().text;
}

std::optional<int> nominalLitres(const QByteArray& text) {
    const int blank = text.indexOf(' ');
    if (blank < 0 || !text.endsWith('L'))
        return std::nullopt;
    bool ok = false;
    const int litres = text.mid(blank + 1, text.size() - blank - 2).toInt(&ok, 10);
    return ok && litres > 0 ? std::optional<int>(litres) : std::nullopt;
}

DimensionRanges_t dimensionRanges(const TankList_t& list, TankKindE kind) {
    // The least limits; the catalogue and the list widen them.
    DimensionRanges_t ranges{500, kind == TankKindE::CylinderH ? 500 : MAX_RECORD_DIMENSION_MM};
    static const TankList_t catalogue = [] {
        TankList_t standard;
        fillStandardTanks(standard);
        return standard;
    }();
    for (const TankList_t* entries : {&catalogue, &list}) {
        for (const TankListEntry& entry : *entries) {
            if (entry.kind != kind)
                continue;
            int outer = 0;
            int length = 0;
            parseTankText(entry.text, outer, length);
            ranges.heightMax = std::max(ranges.heightMax, std::min(length, MAX_RECORD_DIMENSION_MM));
            ranges.outerMax = std::max(ranges.outerMax, std::min(outer, MAX_RECORD_DIMENSION_MM));
        }
    }
    return ranges;
}

TankComboItems_t tankComboItems(const TankList_t& list, std::optional<TankKindE> shownKind) {
    TankComboItems_t items;
    if (!shownKind)
        return items;
    for (const TankListEntry& entry : list) {
        if (entry.custom) {
            // Making index -1 current in an empty box leaves it empty; the first item then becomes current anyway.
            if (entry.selected && !items.texts.isEmpty())
                items.currentIndex = items.texts.size() - 1;
            continue;
        }
        if (entry.kind != *shownKind)
            continue;
        // The text is read as a C string: anything after a zero byte is not shown.
        items.texts.append(QString::fromUtf8(entry.text.constData()));
        // The box makes its first item current by itself.
        if (entry.selected || items.currentIndex < 0)
            items.currentIndex = items.texts.size() - 1;
    }
    return items;
}
