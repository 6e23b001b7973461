#include "abouttab.h"
#include "ui_abouttab.h"

#include "abouttexts.h"
#include "buildinfo.h"

namespace {

// Read out over the phone or pasted into a mail: large enough, and selectable.
void showAsValue(QLabel* value) {
    value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont large = value->font();
    large.setPointSizeF(large.pointSizeF() + 2);
    value->setFont(large);
}

} // namespace

AboutTab_t::AboutTab_t(QWidget* parent) : QWidget(parent), form(new Ui::AboutTab) {
    form->setupUi(this);
    // Plain texts in the small size: as rich texts each would build a text document before the window appears.
    for (QLabel* label : {form->lblDeviceNameP, form->lblDeviceIdNameP, form->lblFwVersionNameP,
                          form->lblAppVersionNameP, form->lblAppDeveloperNameP, form->lblAppHelpNameP}) {
        QFont small = label->font();
        small.setPointSizeF(8.25);
        label->setFont(small);
    }
    for (QLabel* value :
         {form->lblDeviceP, form->lblDeviceIdP, form->lblFwVersionP, form->lblAppVersionP, form->lblAppDeveloperP})
        showAsValue(value);
    form->lblAppDeveloperP->setText(tr("Lumo"));
    form->lblAppVersionP->setText(
        appVersionText(QString::fromUtf8(BuildInfo::VERSION_STRING), QString::fromUtf8(BuildInfo::BUILD_LABEL)));
    form->lblHelpTextP->setOpenExternalLinks(true);
}

AboutTab_t::~AboutTab_t() {
    delete form;
}

void AboutTab_t::initialize(const QList<SensorFact_t>& identity) {
    QLabel* const formRows[] = {form->lblDeviceP, form->lblDeviceIdP, form->lblFwVersionP};
    qDeleteAll(addedIdentityLabels);
    addedIdentityLabels.clear();
    for (int i = 0; i < identity.size() || i < int(std::size(formRows)); ++i) {
        const QString text = identity.value(i).text;
        if (i < int(std::size(formRows))) {
            formRows[i]->setText(text);
            continue;
        }
        auto* label = new QLabel(identity[i].label + QLatin1Char(':'), this);
        auto* value = new QLabel(text, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setAlignment(Qt::AlignCenter);
        value->setFrameShape(QFrame::Box);
        showAsValue(value);
        form->verticalLayout_11->addWidget(label);
        form->verticalLayout_12->addWidget(value);
        addedIdentityLabels << label << value;
    }
}

void AboutTab_t::showHelpLinks() {
    form->lblHelpTextP->setText(
        helpTextHtml(QString::fromUtf8(BuildInfo::GUIDE_URL), QString::fromUtf8(BuildInfo::SUPPORT_MAIL)));
    form->lblAppHelpP->setText(mailLinkHtml(QString::fromUtf8(BuildInfo::SUPPORT_MAIL)));
}

QPushButton* AboutTab_t::saveProfileButton() const {
    return form->btnSaveProfileP;
}

QPushButton* AboutTab_t::loadProfileButton() const {
    return form->btnLoadProfileP;
}

QPushButton* AboutTab_t::reportButton() const {
    return form->btnReportP;
}

QPushButton* AboutTab_t::resetCalibrationButton() const {
    return form->btnSetDefaultP;
}
