#include "parameterstab.h"
#include "ui_parameterstab.h"

#include "accessiblename.h"
#include "tankgeometry.h"

#include <QPixmap>

namespace {

// Flat buttons draw no frame, and so no focus frame either: a dotted one marks the focus.
const char* const FLAT_BUTTON_FOCUS = "QPushButton:focus { border: 1px dotted palette(highlight); }";

} // namespace

ParametersTab_t::ParametersTab_t(QWidget* parent) : QWidget(parent), form(new Ui::ParametersTab), tankTab(*form) {
    form->setupUi(this);
    form->frameCustomTankP->hide();
    form->frameRadioHV_P->hide();
    tankTab.setUp();
    form->rbuttToroidP->click();

    form->btnCalibration->setStyleSheet(QLatin1String(FLAT_BUTTON_FOCUS));
    form->btnCalibrationHelp->setStyleSheet(QLatin1String(FLAT_BUTTON_FOCUS));
    offerCalibration(false);
    for (QLabel* label :
         {form->lblCustomOutDiaP, form->lblCustomInDiaP, form->lblCustomHeigthP, form->lblCustomVolumeP})
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->lblCustomInDiaP->setText(tr("Внутренний диаметр, мм:"));
    form->lblCustomVolumeP->setText(tr("Объем, л:"));

    // The outer diameter and height boxes are relabelled with the tank shape; they take their names from their
    // buddy labels, so they stay right without a fixed name.
    nameAfter(form->cboxTanksP, form->lblTanksP->text());
    nameAfter(form->cboxIsCustomP, form->cboxIsCustomP->text());
    nameAfter(form->spboxCustomInDiaP, form->lblCustomInDiaP->text());
    nameAfter(form->spboxCustomVolumeP, form->lblCustomVolumeP->text());
}

ParametersTab_t::~ParametersTab_t() {
    delete form;
}

void ParametersTab_t::showPictures() {
    form->lblToroidP->setPixmap(QPixmap(QStringLiteral(":/Images/Toroid.png")));
    form->lblCylinderP_P->setPixmap(QPixmap(QStringLiteral(":/Images/CylinderP.png")));
    tankTab.showPictures();
}

void ParametersTab_t::offerCalibration(bool offered) {
    form->btnCalibration->setVisible(offered);
    form->btnCalibrationHelp->setVisible(offered);
}

TankKindE ParametersTab_t::chosenKind() const {
    if (form->rbuttToroidP->isChecked())
        return TankKindE::Toroid;
    if (form->rbuttCylinderP_P->isChecked())
        return TankKindE::CylinderP;
    if (form->rbuttCylinderH_P->isChecked())
        return TankKindE::CylinderH;
    return TankKindE::CylinderV;
}

std::optional<TankConfigRecord_t> ParametersTab_t::customRecord(int wall) {
    if (!form->cboxIsCustomP->isChecked())
        return std::nullopt;
    const TankKindE kind = chosenKind();
    const int outer = form->spboxCustomOutDiaP->value();
    const int length = form->spboxCustomHeigthP->value();
    tankTab.setDimensionRanges(kind);
    return makeTankRecord(WRITABLE_RECORD_ID, kind, outer, length, form->spboxCustomInDiaP->value(), wall);
}

QString ParametersTab_t::impossibleTankText(const TankConfigRecord_t& record) const {
    // Each field named as the tab shows it.
    const auto field = [](const QLabel* label) { return label->text().remove(QLatin1Char(':')); };
    const bool toroid = chosenKind() == TankKindE::Toroid;
    const QLabel* zero = record.OuterDiameter <= 0             ? form->lblCustomOutDiaP
                         : record.Length <= 0                  ? form->lblCustomHeigthP
                         : toroid && record.InnerDiameter <= 0 ? form->lblCustomInDiaP
                                                               : nullptr;
    if (zero)
        return tr("«%1» не может быть нулём.").arg(field(zero));
    if (toroid && record.InnerDiameter >= record.OuterDiameter)
        return tr("«%1» должен быть меньше, чем «%2».")
            .arg(field(form->lblCustomInDiaP), field(form->lblCustomOutDiaP));
    if (!TankGeometry_t::fromRecord(record))
        return tr("Стенка толщиной %1 мм не оставляет места внутри бака этих размеров.").arg(record.Wall);
    return QString();
}

QString ParametersTab_t::listedTank() const {
    return form->cboxTanksP->currentIndex() < 0 ? QString() : form->cboxTanksP->currentText();
}

QList<QLayout*> ParametersTab_t::footerRows() const {
    return {form->horizontalLayout, form->horizontalLayout_3};
}

QPushButton* ParametersTab_t::applyButton() const {
    return form->btnApplyP;
}

QPushButton* ParametersTab_t::propertiesButton() const {
    return form->btnPropertiesP;
}

QPushButton* ParametersTab_t::calibrationButton() const {
    return form->btnCalibration;
}

QPushButton* ParametersTab_t::calibrationHelpButton() const {
    return form->btnCalibrationHelp;
}
