#include "diagnosticdialog.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace {

constexpr int MESSAGE_WIDTH = 400;
constexpr int BUTTON_MAX_WIDTH = 300;

const QString& driverFolder() {
    static const QString path = QStringLiteral("Driver");
    return path;
}

const QString& shortText() {
    static const QString text =
        DiagnosticDialog_t::tr("Проверьте подключение устройства и исправность используемого USB-кабеля.");
    return text;
}

const QString& longText() {
    static const QString text =
        shortText() + DiagnosticDialog_t::tr(" Если проблем с подключением не обнаружено, то нажмите кнопку "
                                             "\"Драйвер\" и в открывшейся папке запустите файл для повторной "
                                             "установки драйвера.");
    return text;
}

} // namespace

bool driverFolderExists() {
    return QDir(driverFolder()).exists();
}

void openDriverFolder() {
    QDesktopServices::openUrl(QUrl(driverFolder(), QUrl::TolerantMode));
}

DiagnosticDialog_t::DiagnosticDialog_t(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), lblMessageP(new QLabel(this)), btnDriverP(new QPushButton(tr("Драйвер"), this)),
      btnCloseP(new QPushButton(tr("Закрыть"), this)) {
    setWindowTitle(tr("Диагностика"));
    setModal(true);

    lblMessageP->setObjectName(QStringLiteral("lblMessageP"));
    btnCloseP->setObjectName(QStringLiteral("btnCloseP"));
    lblMessageP->setLineWidth(5);
    lblMessageP->setAlignment(Qt::AlignCenter);
    lblMessageP->setWordWrap(true);
    lblMessageP->setMinimumWidth(MESSAGE_WIDTH);
    lblMessageP->setMaximumWidth(MESSAGE_WIDTH);

    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    btnDriverP->setMaximumWidth(BUTTON_MAX_WIDTH);
    btnCloseP->setMaximumWidth(BUTTON_MAX_WIDTH);
    row->addWidget(btnDriverP, 1);
    row->addStretch(1);
    row->addWidget(btnCloseP, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(lblMessageP);
    column->addWidget(buttons);

    connect(btnCloseP, &QPushButton::clicked, this, &QWidget::hide);
    setDriverAvailable(false);
}

DiagnosticDialog_t::~DiagnosticDialog_t() = default;

void DiagnosticDialog_t::setDriverAvailable(bool available) {
    btnDriverP->setVisible(available);
    lblMessageP->setText(available ? longText() : shortText());
}
