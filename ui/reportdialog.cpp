#include "reportdialog.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int EDIT_WIDTH = 360;
constexpr int NOTE_LINES = 4;
// Sets the buttons apart from the note field above them.
constexpr int BUTTON_GAP = 10;

} // namespace

ReportDialog_t::ReportDialog_t(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), editVehicleP(new QLineEdit(this)), editPlateP(new QLineEdit(this)),
      editFitterP(new QLineEdit(this)), editNoteP(new QPlainTextEdit(this)),
      btnSavePdfP(new QPushButton(tr("Сохранить PDF..."), this)), btnPrintP(new QPushButton(tr("Печать..."), this)),
      btnCancelP(new QPushButton(tr("Отмена"), this)) {
    setWindowTitle(tr("Отчёт об установке"));
    auto* form = new QFormLayout;
    const auto addRow = [&](const QString& label, QWidget* edit) {
        edit->setAccessibleName(label);
        edit->setMinimumWidth(EDIT_WIDTH);
        form->addRow(label + QLatin1Char(':'), edit);
    };
    for (QLineEdit* edit : {editVehicleP, editPlateP, editFitterP})
        edit->setMaxLength(REPORT_LINE_MAX_LENGTH);
    addRow(tr("Автомобиль"), editVehicleP);
    addRow(tr("Госномер"), editPlateP);
    addRow(tr("Установщик"), editFitterP);
    addRow(tr("Примечание"), editNoteP);
    editNoteP->setTabChangesFocus(true);
    // A plain text edit has no length limit of its own: what goes beyond the report's is taken back at once.
    connect(editNoteP, &QPlainTextEdit::textChanged, this, [this] {
        if (editNoteP->document()->characterCount() - 1 <= REPORT_NOTE_MAX_LENGTH)
            return;
        editNoteP->setPlainText(editNoteP->toPlainText().left(REPORT_NOTE_MAX_LENGTH));
        editNoteP->moveCursor(QTextCursor::End);
    });
    editNoteP->setFixedHeight(
        editNoteP->fontMetrics().lineSpacing() * NOTE_LINES +
        2 * (editNoteP->frameWidth() + static_cast<int>(editNoteP->document()->documentMargin())));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {btnSavePdfP, btnPrintP, btnCancelP})
        buttons->addWidget(button);
    btnSavePdfP->setDefault(true);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addSpacing(BUTTON_GAP);
    column->addLayout(buttons);

    setModal(true);
    connect(btnSavePdfP, &QPushButton::clicked, this, &ReportDialog_t::signSavePdf);
    connect(btnPrintP, &QPushButton::clicked, this, &ReportDialog_t::signPrint);
    connect(btnCancelP, &QPushButton::clicked, this, &QWidget::hide);
}

ReportDialog_t::~ReportDialog_t() = default;

ReportDetails_t ReportDialog_t::details() const {
    return {editVehicleP->text().trimmed(), editPlateP->text().trimmed(), editFitterP->text().trimmed(),
            editNoteP->toPlainText().trimmed()};
}
