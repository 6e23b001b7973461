#include "calibrationdialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int HELP_WIDTH = 400;
constexpr int ROW_ITEM_MAX_WIDTH = 200;

// The button texts also appear in the help text.
const QString& fullButtonText() {
    static const QString text = CalibrationDialog_t::tr("Полный бак");
    return text;
}

const QString& emptyButtonText() {
    static const QString text = CalibrationDialog_t::tr("Пустой бак");
    return text;
}

const QString& helpText() {
    static const QString text = CalibrationDialog_t::tr("Подключите экран к компьютеру. Нажмите кнопку \"") +
                                fullButtonText() + CalibrationDialog_t::tr("\" сразу после заправки бака газом, а \"") +
                                emptyButtonText() +
                                CalibrationDialog_t::tr("\" – после смены типа подаваемого в двигатель топлива.\n"
                                                        "Внимание! Датчик калибруется при поданном на него питании");
    return text;
}

void addRowItem(QHBoxLayout* row, QWidget* item) {
    item->setMaximumWidth(ROW_ITEM_MAX_WIDTH);
    row->addWidget(item, 1);
}

} // namespace

CalibrationDialog_t::CalibrationDialog_t(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), lblHelpP(new QLabel(helpText(), this)), btnFullP(new QPushButton(fullButtonText(), this)),
      btnEmptyP(new QPushButton(emptyButtonText(), this)), btnCloseP(new QPushButton(tr("Закрыть"), this)),
      lblFullValueP(new QLabel(this)), lblEmptyValueP(new QLabel(this)) {
    lblHelpP->setObjectName(QStringLiteral("lblHelpP"));
    btnCloseP->setObjectName(QStringLiteral("btnCloseP"));
    lblFullValueP->setObjectName(QStringLiteral("lblFullValueP"));
    lblEmptyValueP->setObjectName(QStringLiteral("lblEmptyValueP"));
    lblHelpP->setLineWidth(5);
    lblHelpP->setAlignment(Qt::AlignCenter);
    lblHelpP->setWordWrap(true);
    lblHelpP->setMinimumWidth(HELP_WIDTH);
    lblHelpP->setMaximumWidth(HELP_WIDTH);
    lblFullValueP->setAlignment(Qt::AlignCenter);
    lblEmptyValueP->setAlignment(Qt::AlignCenter);

    auto* column = new QVBoxLayout(this);
    column->addWidget(lblHelpP);

    auto* buttons = new QHBoxLayout;
    addRowItem(buttons, btnEmptyP);
    buttons->addStretch(1);
    addRowItem(buttons, btnFullP);
    buttons->addStretch(1);
    addRowItem(buttons, btnCloseP);
    column->addLayout(buttons);

    auto* values = new QHBoxLayout;
    addRowItem(values, lblEmptyValueP);
    values->addStretch(1);
    addRowItem(values, lblFullValueP);
    column->addLayout(values);

    // Enter must never store a calibration point: no button answers it.
    for (QPushButton* button : {btnEmptyP, btnFullP, btnCloseP})
        button->setAutoDefault(false);
    setModal(true);
    setWindowTitle(tr("Калибровка"));
    connect(btnCloseP, &QPushButton::clicked, this, &QWidget::hide);
}

CalibrationDialog_t::~CalibrationDialog_t() = default;

void CalibrationDialog_t::setEmptyValue(qint32 value) {
    lblEmptyValueP->setText(tr("Значение \"Пустой\": %1").arg(calibrationValueText(value)));
}

void CalibrationDialog_t::setFullValue(qint32 value) {
    lblFullValueP->setText(tr("Значение \"Полный\": %1").arg(calibrationValueText(value)));
}

void CalibrationDialog_t::clearValues() {
    lblEmptyValueP->clear();
    lblFullValueP->clear();
}
