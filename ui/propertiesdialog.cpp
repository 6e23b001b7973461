#include "propertiesdialog.h"

#include "devicerecords.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

namespace {
constexpr int ROW_HEIGHT = 20;
constexpr int COLUMNS = 8;
} // namespace

PropertiesDialog_t::PropertiesDialog_t(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), lblWallP(new QLabel(tr("Толщина стенки бака, мм:"), this)),
      spboxWallP(new QSpinBox(this)), lineSeparatorP(new QFrame(this)),
      btnApplyP(new QPushButton(tr("Применить"), this)), btnCloseP(new QPushButton(tr("Закрыть"), this)),
      lblPropaneP(new QLabel(this)), lblButaneP(new QLabel(this)), sliderMixtureP(new QSlider(Qt::Horizontal, this)) {
    lblPropaneP->setObjectName(QStringLiteral("lblPropaneP"));
    lblButaneP->setObjectName(QStringLiteral("lblButaneP"));
    btnCloseP->setObjectName(QStringLiteral("btnCloseP"));
    lblWallP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblWallP->setMinimumSize(3 * sizeUnit, ROW_HEIGHT);
    lblWallP->setBuddy(spboxWallP);

    spboxWallP->setRange(MIN_WALL_MM, MAX_WALL_MM);
    spboxWallP->setValue(3);
    spboxWallP->setAlignment(Qt::AlignLeft);
    spboxWallP->setMinimumSize(2 * sizeUnit, ROW_HEIGHT);
    spboxWallP->setAccessibleName(lblWallP->text());

    lineSeparatorP->setFrameShape(QFrame::HLine);
    lineSeparatorP->setFrameShadow(QFrame::Sunken);
    lineSeparatorP->setLineWidth(10);
    // A centred cell gives a line its size hint, which has no width: without a minimum the line is not drawn.
    lineSeparatorP->setMinimumWidth(COLUMNS * sizeUnit);

    btnApplyP->setMinimumSize(4 * sizeUnit, ROW_HEIGHT);
    btnCloseP->setMinimumSize(4 * sizeUnit, ROW_HEIGHT);

    lblPropaneP->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblPropaneP->setMinimumSize(2 * sizeUnit, ROW_HEIGHT);
    lblButaneP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblButaneP->setMinimumSize(2 * sizeUnit, ROW_HEIGHT);

    sliderMixtureP->setRange(MIN_MIXTURE_PERCENT, MAX_MIXTURE_PERCENT);
    sliderMixtureP->setMinimumSize(COLUMNS * sizeUnit, ROW_HEIGHT);
    sliderMixtureP->setAccessibleName(tr("Соотношение пропан/бутан"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblWallP, 0, 0, 1, 3, Qt::AlignRight);
    grid->addWidget(spboxWallP, 0, 3, 1, 2, Qt::AlignLeft);
    grid->addWidget(lineSeparatorP, 1, 0, 1, COLUMNS, Qt::AlignCenter);
    grid->addWidget(lblPropaneP, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(lblButaneP, 2, 6, 1, 2, Qt::AlignRight);
    grid->addWidget(sliderMixtureP, 3, 0, 1, COLUMNS, Qt::AlignCenter);
    grid->addWidget(btnApplyP, 4, 0, 1, 4, Qt::AlignRight);
    grid->addWidget(btnCloseP, 4, 4, 1, 4, Qt::AlignLeft);

    setModal(true);
    setWindowTitle(tr("Дополнительные параметры"));
    connect(sliderMixtureP, &QSlider::sliderMoved, this, &PropertiesDialog_t::fillMixtureLabels);
    // Keys, the wheel and clicks beside the handle move the value without sliderMoved; the labels follow them too.
    connect(sliderMixtureP, &QSlider::valueChanged, this, &PropertiesDialog_t::fillMixtureLabels);
    connect(btnCloseP, &QPushButton::clicked, this, &QWidget::hide);
    setMixture(START_MIXTURE);
}

PropertiesDialog_t::~PropertiesDialog_t() = default;

void PropertiesDialog_t::setMixture(int percent) {
    sliderMixtureP->setValue(percent);
    // The slider's own value, not percent: the labels must show what the window will write.
    emit sliderMixtureP->sliderMoved(sliderMixtureP->value());
}

int PropertiesDialog_t::mixture() const {
    return sliderMixtureP->value();
}

int PropertiesDialog_t::wallThickness() const {
    return spboxWallP->value();
}

void PropertiesDialog_t::fillMixtureLabels(int propane) {
    lblPropaneP->setText(QString::asprintf(tr("пропан %d%%").toUtf8().constData(), propane));
    lblButaneP->setText(QString::asprintf(tr("%d%% бутан").toUtf8().constData(), 100 - propane));
}
