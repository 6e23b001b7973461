#include "profiledialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int TABLE_WIDTH = 520;
constexpr int TABLE_HEIGHT = 360;
const QColor DIFFERENCE_COLOUR(255, 228, 196);

} // namespace

ProfileDialog_t::ProfileDialog_t(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), lblFileP(new QLabel(this)), tableP(new QTableWidget(0, 3, this)),
      lblWarningP(new QLabel(this)), btnWriteP(new QPushButton(tr("Записать в датчик"), this)),
      btnCancelP(new QPushButton(tr("Отмена"), this)) {
    setWindowTitle(tr("Профиль"));
    setModal(true);
    lblFileP->setWordWrap(true);
    tableP->setHorizontalHeaderLabels({tr("Параметр"), tr("В профиле"), tr("В датчике")});
    tableP->verticalHeader()->hide();
    tableP->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tableP->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableP->setSelectionMode(QAbstractItemView::NoSelection);
    tableP->setMinimumSize(TABLE_WIDTH, TABLE_HEIGHT);
    tableP->setAccessibleName(tr("Значения профиля"));
    lblWarningP->setWordWrap(true);
    btnCancelP->setDefault(true); // nothing is written by a stray Enter

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnWriteP);
    buttons->addWidget(btnCancelP);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFileP);
    layout->addWidget(tableP);
    layout->addWidget(lblWarningP);
    layout->addLayout(buttons);

    connect(btnWriteP, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancelP, &QPushButton::clicked, this, &QDialog::reject);
}

void ProfileDialog_t::showFields(const QString& fileName, const QList<ProfileField_t>& fields) {
    int differing = 0;
    bool ownRecordDiffers = false;
    tableP->setRowCount(fields.size());
    for (int row = 0; row < fields.size(); ++row) {
        const ProfileField_t& field = fields.at(row);
        const QStringList cells = {field.label, field.inProfile, field.inSensor};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (field.differs())
                item->setBackground(DIFFERENCE_COLOUR);
            tableP->setItem(row, column, item);
        }
        differing += field.differs() && field.written;
        ownRecordDiffers = ownRecordDiffers || (field.differs() && !field.written);
    }
    tableP->resizeColumnsToContents();
    lblFileP->setText(
        tr("Файл: %1\nОтличий от датчика: %2 (выделены).\nКалибровка из профиля не записывается: датчик запоминает "
           "точку калибровки только по своему текущему измерению.")
            .arg(fileName)
            .arg(differing));
    lblWarningP->setText(ownRecordDiffers ? tr("Внимание: активная запись профиля в этом датчике другая. Записи 0 и 1 "
                                               "принадлежат датчику и не перезаписываются.")
                                          : QString());
    lblWarningP->setVisible(ownRecordDiffers);
}
