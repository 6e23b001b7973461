#include "omnicommtab.h"
#include "ui_omnicommtab.h"

#include <utility>

OmnicommTab_t::OmnicommTab_t(QWidget* parent) : QWidget(parent), form(new Ui::OmnicommTab) {
    form->setupUi(this);
    start = save();
    start.TxPeriodSec = form->spboxOmniTxPeriod->value();
    // Disabling the group keeps the period box's own state, so it comes back as the check box says.
    connect(form->cboxOmniTxMode, &QCheckBox::toggled, form->spboxOmniTxPeriod, &QWidget::setEnabled);
    form->spboxOmniTxPeriod->setEnabled(form->cboxOmniTxMode->isChecked());
    setControlsEnabled(false);
    // Screen readers and UI automation find an input by the text of its label.
    for (const auto& [input, label] : {std::pair<QWidget*, QLabel*>{form->spboxOmniAddr, form->lblOmniAddr},
                                       {form->cboxOmniUnits, form->lblOmniUnits},
                                       {form->spboxOmniTxPeriod, form->lblTxPeriod}})
        input->setAccessibleName(label->text());
    form->cboxOmniTxMode->setAccessibleName(form->cboxOmniTxMode->text().trimmed());
    levelRows();
}

OmnicommTab_t::~OmnicommTab_t() {
    delete form;
}

void OmnicommTab_t::initialize(const OmnicommConfig_t& config) {
    form->cboxOmniTxMode->setChecked(config.TxMode);
    form->cboxOmniUnits->setCurrentIndex(unitsIndex(config.Units));
    form->spboxOmniAddr->setValue(config.Address);
    form->spboxOmniTxPeriod->setValue(config.TxPeriodSec);
}

OmnicommConfig_t OmnicommTab_t::save() const {
    OmnicommConfig_t config;
    config.TxMode = form->cboxOmniTxMode->isChecked();
    // Without periodic output the period box's value means nothing to the sensor.
    config.TxPeriodSec = config.TxMode ? form->spboxOmniTxPeriod->value() : 0;
    config.Units = unitsName(form->cboxOmniUnits->currentIndex());
    config.Address = form->spboxOmniAddr->value();
    return config;
}

void OmnicommTab_t::clear() {
    initialize(start);
}

void OmnicommTab_t::setControlsEnabled(bool enabled) {
    form->verticalLayoutWidget->setEnabled(enabled);
}

QPushButton* OmnicommTab_t::applyButton() const {
    return form->btnOmniApply;
}

void OmnicommTab_t::levelRows() {
    // Labels and fields sit in two separate columns; one row height for both keeps each label level with its field
    // whatever the style's widget heights.
    const std::initializer_list<QWidget*> rows = {form->lblOmniAddr,      form->lblOmniUnits,  form->cboxOmniTxMode,
                                                  form->lblTxPeriod,      form->spboxOmniAddr, form->cboxOmniUnits,
                                                  form->spboxOmniTxPeriod};
    int rowHeight = 0;
    for (QWidget* row : rows)
        rowHeight = qMax(rowHeight, row->sizeHint().height());
    for (QWidget* row : rows)
        row->setFixedHeight(rowHeight);
    // The spacer facing the check box gets no layout spacing of its own, so it stands for a row and one gap.
    form->horizontalSpacer_11->changeSize(40, rowHeight + form->verticalLayout_14->spacing(), QSizePolicy::Expanding,
                                          QSizePolicy::Fixed);
    form->verticalLayout_14->invalidate();
}
