#include "tanktab.h"
#include "ui_parameterstab.h"

#include <QDebug>
#include <QPixmap>
#include <QSignalBlocker>

#include <algorithm>

TankTab_t::TankTab_t(Ui::ParametersTab& form) : formP(&form) {}

void TankTab_t::setUp() {
    startOuterDiameter = formP->spboxCustomOutDiaP->value();
    startHeight = formP->spboxCustomHeigthP->value();
    showNoSensor();
    // No shape is checked yet: this first rebuild shows no tanks; the window's click on the toroid button does.
    slotUpdateTankList();
    for (QRadioButton* button : {formP->rbuttToroidP, formP->rbuttCylinderP_P, formP->rbuttCylinderHV_P,
                                 formP->rbuttCylinderH_P, formP->rbuttCylinderV_P})
        connect(button, &QRadioButton::clicked, this, &TankTab_t::slotUpdateTankList);
    connect(formP->cboxIsCustomP, &QCheckBox::stateChanged, this, &TankTab_t::slotUpdateTankList);
}

void TankTab_t::showNoSensor() {
    clearTankList();
    fillStandardTanks();
    formP->spboxCustomOutDiaP->setValue(startOuterDiameter);
    formP->spboxCustomInDiaP->setValue(CATALOGUE_TOROID_INNER_DIAMETER_MM);
    formP->spboxCustomHeigthP->setValue(startHeight);
    slotUpdateTankList();
}

void TankTab_t::fillStandardTanks() {
    ::fillStandardTanks(tankList);
}

void TankTab_t::clearTankList() {
    tankList.clear();
}

void TankTab_t::addDeviceRecord(const TankConfigRecord_t& record, bool isActive) {
    tankList.push_back(entryFromRecord(record, isActive));
    const TankListEntry& entry = tankList.back();
    if (entry.kind == TankKindE::CylinderP)
        formP->spboxCustomInDiaP->setValue(0);
    if (!entry.custom)
        return;
    // The ranges hold the entry just added: the boxes take the record's values unclamped.
    setDimensionRanges(entry.kind);
    if (record.Shape == QLatin1String(WireNames::SHAPE_TOROIDAL))
        formP->spboxCustomInDiaP->setValue(record.InnerDiameter);
    formP->spboxCustomOutDiaP->setValue(record.OuterDiameter);
    formP->spboxCustomHeigthP->setValue(record.Length);
}

void TankTab_t::slotUpdateTankList() {
    qInfo() << "slotUpdateTankList";
    formP->lblCustomVolumeP->hide();
    formP->spboxCustomVolumeP->hide();
    formP->cboxTanksP->clear();

    showCylinderPicture();
    if (formP->rbuttCylinderH_P->isChecked()) {
        if (formP->rbuttCylinderHV_P->isChecked()) {
            setDimensionRanges(TankKindE::CylinderH);
            TankListEntry active;
            selectedEntry(active);
            int outer = 0;
            int length = 0;
            parseTankText(active.text, outer, length);
            formP->spboxCustomOutDiaP->setValue(outer);
            formP->spboxCustomHeigthP->setValue(length);
        }
    } else {
        setDimensionRanges(TankKindE::CylinderV);
    }

    if (formP->rbuttCylinderHV_P->isChecked()) {
        qInfo() << "CylinderHV";
        formP->frameRadioHV_P->show();
        formP->lblCustomOutDiaP->setText(tr("Диаметр, мм:"));
        formP->lblCustomHeigthP->setText(tr("Длина, мм:"));
        formP->spboxCustomInDiaP->hide();
        formP->lblCustomInDiaP->hide();
    } else {
        qInfo() << "Not CylinderHV";
        formP->frameRadioHV_P->hide();
        if (formP->rbuttToroidP->isChecked()) {
            qInfo() << "Toroid";
            formP->lblCustomOutDiaP->setText(tr("Внешний диаметр, мм:"));
            formP->lblCustomHeigthP->setText(tr("Высота, мм:"));
            formP->spboxCustomInDiaP->show();
            formP->lblCustomInDiaP->show();
            setDimensionRanges(TankKindE::Toroid);
        } else if (formP->rbuttCylinderP_P->isChecked()) {
            qInfo() << "CylinderP";
            formP->lblCustomOutDiaP->setText(tr("Диаметр, мм:"));
            formP->lblCustomHeigthP->setText(tr("Высота, мм:"));
            formP->spboxCustomInDiaP->hide();
            formP->lblCustomInDiaP->hide();
            setDimensionRanges(TankKindE::CylinderP);
        } else {
            qCritical() << "no more tank types!";
        }
    }

    const bool custom = formP->cboxIsCustomP->isChecked();
    qInfo() << (custom ? "Custom" : "Not Custom");
    formP->wdgtTankComboP->setVisible(!custom);
    formP->frameCustomTankP->setVisible(custom);

    const TankComboItems_t items = tankComboItems(tankList, shownTankKind());
    formP->cboxTanksP->addItems(items.texts);
    formP->cboxTanksP->setCurrentIndex(items.currentIndex);
}

void TankTab_t::showPictures() {
    picturesShown = true;
    showCylinderPicture();
}

void TankTab_t::showCylinderPicture() {
    if (picturesShown)
        formP->lblCylinderHV_P->setPixmap(QPixmap(formP->rbuttCylinderH_P->isChecked()
                                                      ? QStringLiteral(":/Images/CylinderH.png")
                                                      : QStringLiteral(":/Images/CylinderV.png")));
}

std::optional<TankKindE> TankTab_t::shownTankKind() const {
    if (formP->rbuttToroidP->isChecked())
        return TankKindE::Toroid;
    if (formP->rbuttCylinderP_P->isChecked())
        return TankKindE::CylinderP;
    if (formP->rbuttCylinderHV_P->isChecked()) {
        if (formP->rbuttCylinderH_P->isChecked())
            return TankKindE::CylinderH;
        if (formP->rbuttCylinderV_P->isChecked())
            return TankKindE::CylinderV;
    }
    return std::nullopt;
}

void TankTab_t::applyActiveTankToUi() {
    const auto active =
        std::find_if(tankList.begin(), tankList.end(), [](const TankListEntry& e) { return e.selected; });
    if (active == tankList.end())
        return;
    const TankKindE kind = active->kind;
    // A stored custom tank that is a catalogue tank hands the selection on to that catalogue entry.
    const bool custom = active->custom && !matchStandardTank(tankList, std::size_t(active - tankList.begin()),
                                                             formP->spboxCustomInDiaP->value());
    checkShapeButtons(kind);
    {
        // Exactly one rebuild, below, whether the box changes or not.
        const QSignalBlocker blocker(formP->cboxIsCustomP);
        formP->cboxIsCustomP->setChecked(custom);
    }
    slotUpdateTankList();
}

void TankTab_t::checkShapeButtons(TankKindE kind) {
    // setChecked emits no clicked; unchecking a checked button of an exclusive group is ignored, so only the button
    // set to checked matters within each group.
    formP->rbuttToroidP->setChecked(kind == TankKindE::Toroid);
    formP->rbuttCylinderP_P->setChecked(kind == TankKindE::CylinderP);
    formP->rbuttCylinderHV_P->setChecked(kind == TankKindE::CylinderH || kind == TankKindE::CylinderV);
    formP->rbuttCylinderH_P->setChecked(kind == TankKindE::CylinderH);
    formP->rbuttCylinderV_P->setChecked(kind == TankKindE::CylinderV);
}

bool TankTab_t::selectedEntry(TankListEntry& outEntry) const {
    return ::selectedEntry(tankList, outEntry);
}

bool TankTab_t::findEntry(const QByteArray& text, TankKindE kind, TankListEntry& outEntry, int& outPosition) const {
    return ::findEntry(tankList, text, kind, outEntry, outPosition);
}

void TankTab_t::setDimensionRanges(TankKindE kind) {
    const DimensionRanges_t ranges = dimensionRanges(tankList, kind);
    formP->spboxCustomHeigthP->setRange(0, ranges.heightMax);
    formP->spboxCustomOutDiaP->setRange(0, ranges.outerMax);
}
