// The tank list rules without widgets: the standard catalogue, entries from sensor records, text parsing, lookup,
// matching a stored custom tank to a catalogue tank, the dimension ranges and what the tank combo box shows.

#include "tankcatalogue.h"
#include "tankfixtures.h"
#include "tankkind.h"

#include <QComboBox>
#include <QtTest>

Q_DECLARE_METATYPE(TankKindE)
Q_DECLARE_METATYPE(TankList_t)
Q_DECLARE_METATYPE(std::optional<TankKindE>)

namespace {

// The list as a complete reading leaves it: three records (record `active` selected), then the catalogue.
TankList_t readList(const TankConfigRecord_t& r0, const TankConfigRecord_t& r1, const TankConfigRecord_t& r2,
                    int active) {
    TankList_t list;
    for (const TankConfigRecord_t& r : {r0, r1, r2})
        list.push_back(entryFromRecord(r, r.id == active));
    fillStandardTanks(list);
    return list;
}

bool sameEntry(const TankListEntry& a, const TankListEntry& b) {
    return a.selected == b.selected && a.custom == b.custom && a.kind == b.kind && a.text == b.text;
}

int selectedCount(const TankList_t& list) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [](const TankListEntry& e) { return e.selected; }));
}

} // namespace

class TestTankCatalogue : public QObject {
    Q_OBJECT

private slots:
    void standardTanks_listedPerKindInCatalogueOrder_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("toroids") << TankKindE::Toroid << STANDARD_TOROIDS;
        QTest::newRow("solid") << TankKindE::CylinderP << STANDARD_SOLIDS;
        QTest::newRow("horizontal cylinders") << TankKindE::CylinderH << STANDARD_CYLINDERS;
        QTest::newRow("vertical cylinders") << TankKindE::CylinderV << STANDARD_CYLINDERS;
    }
    void standardTanks_listedPerKindInCatalogueOrder() {
        QFETCH(TankKindE, kind);
        QFETCH(QStringList, texts);
        TankList_t list;
        fillStandardTanks(list);
        QCOMPARE(list.size(), std::size_t(33));
        QStringList ofKind;
        for (const TankListEntry& e : list) {
            QVERIFY(!e.selected);
            QVERIFY(!e.custom);
            if (e.kind == kind)
                ofKind << QString::fromUtf8(e.text);
        }
        QCOMPARE(ofKind, texts);
    }

    void entryFromRecord_textKindAndFlags_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<int>("inner");
        QTest::addColumn<bool>("active");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("custom");
        QTest::newRow("record 0, active toroid")
            << 0 << TankKindE::Toroid << 172 << true << QByteArray("600x200") << false;
        QTest::newRow("record 1, inactive vertical")
            << 1 << TankKindE::CylinderV << 0 << false << QByteArray("600x200") << false;
        QTest::newRow("record 2 is custom") << 2 << TankKindE::CylinderH << 0 << true << QByteArray("600x200") << true;
        QTest::newRow("toroidal with inner 0 is solid")
            << 2 << TankKindE::CylinderP << 0 << false << QByteArray("600x200") << true;
    }
    void entryFromRecord_textKindAndFlags() {
        QFETCH(int, id);
        QFETCH(TankKindE, kind);
        QFETCH(int, inner);
        QFETCH(bool, active);
        QFETCH(QByteArray, text);
        QFETCH(bool, custom);
        TankConfigRecord_t r = makeTankRecord(id, kind, 600, 200, inner, 3);
        r.Height = 999; // the length is the dimension read back; the height is ignored
        const TankListEntry e = entryFromRecord(r, active);
        QCOMPARE(e.text, text);
        QCOMPARE(e.kind, kind);
        QCOMPARE(e.custom, custom);
        QCOMPARE(e.selected, active);
    }

    void parseTankText_readsOuterAndLength_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("complete");
        QTest::newRow("standard toroid") << QByteArray("630x250 60L") << 630 << 250 << true;
        QTest::newRow("sensor record") << QByteArray("600x20") << 600 << 20 << true;
        QTest::newRow("four-digit length") << QByteArray("300x1000 65L") << 300 << 1000 << true;
        QTest::newRow("separator only") << QByteArray("x") << 0 << 0 << false;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << false;
        QTest::newRow("outer not a number") << QByteArray("abcx12") << 0 << 12 << false;
        QTest::newRow("length not a number") << QByteArray("600x20L") << 600 << 0 << false;
        QTest::newRow("no separator") << QByteArray("600") << 600 << 0 << false;
    }
    void parseTankText_readsOuterAndLength() {
        QFETCH(QByteArray, text);
        QFETCH(int, outer);
        QFETCH(int, length);
        QFETCH(bool, complete);
        int parsedOuter = -1;
        int parsedLength = -1;
        QCOMPARE(parseTankText(text, parsedOuter, parsedLength), complete);
        QCOMPARE(parsedOuter, outer);
        QCOMPARE(parsedLength, length);
    }

    void selectedEntry_firstSelectedOrNone() {
        TankList_t list = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                   makeTankRecord(1, TankKindE::Toroid, 650, 250, 172, 3),
                                   makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3), 1);
        TankListEntry entry;
        QVERIFY(selectedEntry(list, entry));
        QCOMPARE(entry.text, QByteArray("650x250"));
        QCOMPARE(entry.kind, TankKindE::Toroid);

        list[1].selected = false;
        TankListEntry untouched;
        untouched.text = "kept";
        QVERIFY(!selectedEntry(list, untouched));
        QCOMPARE(untouched.text, QByteArray("kept"));
    }

    void findEntry_positionOfSelectedOrFirstMatch_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("position");
        // Records: 0 and 1 vertical "300x640", 1 active, 2 custom toroid "630x250"; then 13 toroids, 4 solid,
        // 8 horizontal and 8 vertical cylinders.
        QTest::newRow("same text as the active record 1") << QByteArray("300x640") << TankKindE::CylinderV << true << 1;
        QTest::newRow("custom record 2 is never found") << QByteArray("630x250") << TankKindE::Toroid << false << 0;
        QTest::newRow("standard toroid") << QByteArray("630x250 60L") << TankKindE::Toroid << true << 7;
        QTest::newRow("horizontal cylinder") << QByteArray("300x640 40L") << TankKindE::CylinderH << true << 20;
        QTest::newRow("same text, vertical") << QByteArray("300x640 40L") << TankKindE::CylinderV << true << 28;
        QTest::newRow("wrong kind") << QByteArray("600x200 42L") << TankKindE::CylinderP << false << 0;
        QTest::newRow("prefix only") << QByteArray("600x200") << TankKindE::Toroid << false << 0;
        QTest::newRow("empty text") << QByteArray() << TankKindE::Toroid << false << 0;
    }
    void findEntry_positionOfSelectedOrFirstMatch() {
        QFETCH(QByteArray, text);
        QFETCH(TankKindE, kind);
        QFETCH(bool, found);
        QFETCH(int, position);
        const TankList_t list = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                         makeTankRecord(1, TankKindE::CylinderV, 300, 640, 0, 3),
                                         makeTankRecord(2, TankKindE::Toroid, 630, 250, 172, 3), 1);
        TankListEntry entry;
        int foundPosition = -1;
        QCOMPARE(findEntry(list, text, kind, entry, foundPosition), found);
        QCOMPARE(foundPosition, position);
        if (found) {
            QCOMPARE(entry.text, text);
            QCOMPARE(entry.kind, kind);
            QVERIFY(!entry.custom);
        }
    }

    void matchStandardTank_replacesCustomByCatalogueTank_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("inner");
        QTest::addColumn<int>("matchedPosition"); // -1: no match
        QTest::addColumn<QByteArray>("matchedText");
        // Records 0 (vertical "300x640") and 1 (toroid "650x250") precede the custom record 2.
        QTest::newRow("toroid 600x200 inner 172")
            << TankKindE::Toroid << 600 << 200 << 172 << 3 << QByteArray("600x200 42L");
        QTest::newRow("toroid 600x200 inner 150 stays custom")
            << TankKindE::Toroid << 600 << 200 << 150 << -1 << QByteArray();
        QTest::newRow("600x20 is not 600x200 42L") << TankKindE::Toroid << 600 << 20 << 172 << -1 << QByteArray();
        QTest::newRow("300x100 is not 300x1000 65L") << TankKindE::CylinderV << 300 << 100 << 0 << -1 << QByteArray();
        QTest::newRow("horizontal 350x900 is no catalogue tank")
            << TankKindE::CylinderH << 350 << 900 << 0 << -1 << QByteArray();
        QTest::newRow("solid ignores the inner diameter")
            << TankKindE::CylinderP << 720 << 200 << 150 << 16 << QByteArray("720x200 65L");
        QTest::newRow("vertical, not the horizontal of same size")
            << TankKindE::CylinderV << 300 << 1000 << 0 << 31 << QByteArray("300x1000 65L");
        QTest::newRow("kind must agree") << TankKindE::CylinderH << 720 << 200 << 0 << -1 << QByteArray();
        QTest::newRow("the catalogue tank, not record 1 of the same size")
            << TankKindE::Toroid << 650 << 250 << 172 << 11 << QByteArray("650x250 65L");
        QTest::newRow("20x200 is not 720x200 65L") << TankKindE::CylinderP << 20 << 200 << 0 << -1 << QByteArray();
        QTest::newRow("0x200 is not 600x200 42L") << TankKindE::Toroid << 0 << 200 << 172 << -1 << QByteArray();
    }
    void matchStandardTank_replacesCustomByCatalogueTank() {
        QFETCH(TankKindE, kind);
        QFETCH(int, outer);
        QFETCH(int, length);
        QFETCH(int, inner);
        QFETCH(int, matchedPosition);
        QFETCH(QByteArray, matchedText);
        TankList_t list = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                   makeTankRecord(1, TankKindE::Toroid, 650, 250, 172, 3),
                                   makeTankRecord(2, kind, outer, length, inner, 3), 2);
        const TankList_t before = list;

        QCOMPARE(matchStandardTank(list, 2, inner), matchedPosition >= 0);
        if (matchedPosition < 0) {
            for (std::size_t i = 0; i < list.size(); ++i)
                QVERIFY2(sameEntry(list[i], before[i]), qPrintable(QString::number(i)));
            return;
        }
        QCOMPARE(list[2].text, matchedText);
        QVERIFY(!list[2].selected);
        QVERIFY(list[2].custom);
        QCOMPARE(list[std::size_t(matchedPosition)].text, matchedText);
        QVERIFY(list[std::size_t(matchedPosition)].selected);
        QCOMPARE(selectedCount(list), 1);
    }

    void matchStandardTank_indexOutOfRange_changesNothing() {
        TankList_t list;
        fillStandardTanks(list);
        QVERIFY(!matchStandardTank(list, list.size(), 172));
        QCOMPARE(selectedCount(list), 0);
    }

    void dimensionRanges_holdTheCatalogueAndTheSensorsValues_data() {
        QTest::addColumn<TankKindE>("kind");
        QTest::addColumn<TankKindE>("recordKind"); // of the sensor's one record
        QTest::addColumn<int>("outer");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("heightMax");
        QTest::addColumn<int>("outerMax");
        QTest::newRow("vertical 350x900: the catalogue's 1045")
            << TankKindE::CylinderV << TankKindE::CylinderV << 350 << 900 << 1045 << 4095;
        QTest::newRow("horizontal 356x920: the catalogue's 1045")
            << TankKindE::CylinderH << TankKindE::CylinderH << 356 << 920 << 1045 << 500;
        QTest::newRow("horizontal 600x2000 widens both")
            << TankKindE::CylinderH << TankKindE::CylinderH << 600 << 2000 << 2000 << 600;
        QTest::newRow("vertical, widened by no horizontal record")
            << TankKindE::CylinderV << TankKindE::CylinderH << 600 << 2000 << 1045 << 4095;
        QTest::newRow("toroid 700 high") << TankKindE::Toroid << TankKindE::Toroid << 650 << 700 << 700 << 4095;
        QTest::newRow("solid 5000 high: the record's largest")
            << TankKindE::CylinderP << TankKindE::CylinderP << 720 << 5000 << 4095 << 4095;
    }
    void dimensionRanges_holdTheCatalogueAndTheSensorsValues() {
        QFETCH(TankKindE, kind);
        QFETCH(TankKindE, recordKind);
        QFETCH(int, outer);
        QFETCH(int, length);
        QFETCH(int, heightMax);
        QFETCH(int, outerMax);
        TankList_t list{entryFromRecord(makeTankRecord(2, recordKind, outer, length, 172, 3), true)};
        fillStandardTanks(list);
        const DimensionRanges_t ranges = dimensionRanges(list, kind);
        QCOMPARE(ranges.heightMax, heightMax);
        QCOMPARE(ranges.outerMax, outerMax);
    }

    void tankComboItems_itemsAndCurrent_data() {
        QTest::addColumn<TankList_t>("list");
        QTest::addColumn<std::optional<TankKindE>>("shown");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("current");

        TankList_t standard;
        fillStandardTanks(standard);
        QTest::newRow("nothing selected: first item current")
            << standard << std::optional<TankKindE>(TankKindE::CylinderP) << STANDARD_SOLIDS << 0;

        const TankList_t sensorVertical = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                                   makeTankRecord(1, TankKindE::Toroid, 650, 250, 172, 3),
                                                   makeTankRecord(2, TankKindE::CylinderH, 350, 900, 0, 3), 0);
        QTest::newRow("selected sensor record listed first and current")
            << sensorVertical << std::optional<TankKindE>(TankKindE::CylinderV)
            << (QStringList{"300x640"} + STANDARD_CYLINDERS) << 0;
        QTest::newRow("selection of another kind: first item current")
            << sensorVertical << std::optional<TankKindE>(TankKindE::CylinderH) << STANDARD_CYLINDERS << 0;

        TankList_t matched = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                      makeTankRecord(1, TankKindE::Toroid, 650, 250, 172, 3),
                                      makeTankRecord(2, TankKindE::CylinderV, 300, 1000, 0, 3), 2);
        QVERIFY(matchStandardTank(matched, 2, 0));
        QTest::newRow("matched catalogue tank current") << matched << std::optional<TankKindE>(TankKindE::CylinderV)
                                                        << (QStringList{"300x640"} + STANDARD_CYLINDERS) << 4;

        const TankList_t customAfterItems = readList(makeTankRecord(0, TankKindE::Toroid, 600, 200, 172, 3),
                                                     makeTankRecord(1, TankKindE::Toroid, 650, 250, 172, 3),
                                                     makeTankRecord(2, TankKindE::Toroid, 700, 240, 150, 3), 2);
        QStringList toroids{"600x200", "650x250"};
        for (const TankListEntry& e : standard)
            if (e.kind == TankKindE::Toroid)
                toroids << QString::fromUtf8(e.text);
        QTest::newRow("selected custom entry: last item so far current")
            << customAfterItems << std::optional<TankKindE>(TankKindE::Toroid) << toroids << 1;

        const TankList_t customFirst = readList(makeTankRecord(0, TankKindE::CylinderV, 300, 640, 0, 3),
                                                makeTankRecord(1, TankKindE::CylinderV, 300, 780, 0, 3),
                                                makeTankRecord(2, TankKindE::Toroid, 700, 240, 150, 3), 2);
        QTest::newRow("selected custom entry before any item: first item current")
            << customFirst << std::optional<TankKindE>(TankKindE::Toroid) << QStringList(toroids.mid(2)) << 0;

        QTest::newRow("no shown kind: no items") << sensorVertical << std::optional<TankKindE>() << QStringList() << -1;
    }
    void tankComboItems_itemsAndCurrent() {
        QFETCH(TankList_t, list);
        QFETCH(std::optional<TankKindE>, shown);
        QFETCH(QStringList, texts);
        QFETCH(int, current);
        const TankComboItems_t items = tankComboItems(list, shown);
        QCOMPARE(items.texts, texts);
        QCOMPARE(items.currentIndex, current);
    }

    // The model must agree with a real combo box filled step by step: cleared, then each entry either adding an
    // item or moving the current index.
    void tankComboItems_agreesWithComboBoxFilledStepByStep_data() { tankComboItems_itemsAndCurrent_data(); }
    void tankComboItems_agreesWithComboBoxFilledStepByStep() {
        QFETCH(TankList_t, list);
        QFETCH(std::optional<TankKindE>, shown);
        QComboBox box;
        box.addItem(QStringLiteral("left over"));
        box.clear();
        for (const TankListEntry& e : list) {
            if (!shown)
                break;
            if (e.custom) {
                if (e.selected)
                    box.setCurrentIndex(box.count() - 1);
                continue;
            }
            if (e.kind != *shown)
                continue;
            box.addItem(QString::fromUtf8(e.text));
            if (e.selected)
                box.setCurrentIndex(box.count() - 1);
        }
        const TankComboItems_t items = tankComboItems(list, shown);
        QCOMPARE(items.currentIndex, box.currentIndex());
        QCOMPARE(items.texts.size(), box.count());

        QComboBox filled;
        filled.addItems(items.texts);
        filled.setCurrentIndex(items.currentIndex);
        QCOMPARE(filled.currentText(), box.currentText());
    }
};

QTEST_MAIN(TestTankCatalogue)
#include "test_tankcatalogue.moc"
