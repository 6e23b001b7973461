#include "statusline.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("StatusLine_t", source);
}

QLabel* selectableLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // A long text is cut, not the window widened: the bar must not set the window's minimum width.
    label->setMinimumWidth(1);
    // The fitter may paste the sensor's versions into a support mail.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString progressText(const QString& sequence, int step, int count, bool reading) {
    return (reading ? text("%1: %2 из %3") : text("%1: шаг %2 из %3")).arg(sequence).arg(step).arg(count);
}

StatusLine_t::StatusLine_t(QStatusBar& bar) {
    // The sensor on a line of its own above what runs now: side by side, either would crowd out the other in a
    // window of the minimum width.
    auto* lines = new QWidget(&bar);
    activityP = selectableLabel(lines);
    streamingP = selectableLabel(lines);
    sensorP = selectableLabel(lines);
    activityP->setObjectName(QStringLiteral("lblStatusActivityP"));
    sensorP->setObjectName(QStringLiteral("lblStatusSensorP"));
    auto* column = new QVBoxLayout(lines);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(sensorP);
    auto* row = new QHBoxLayout;
    row->addWidget(activityP, 1);
    row->addWidget(streamingP);
    column->addLayout(row);
    bar.setSizeGripEnabled(false);
    bar.addWidget(lines, 1);
    streamingP->setText(text("Идут измерения"));
    streamingP->hide();
    sensorP->hide();
    showActivity(text("Датчик не подключён"));
}

void StatusLine_t::showSensor(const DeviceInfo_t& info, const QString& port) {
    sensorP->setText(text("%1, апп. %2, ПО %3, %4").arg(info.Name, info.HWVer, info.FWVer, port));
    sensorP->setToolTip(sensorP->text());
    sensorP->show();
}

void StatusLine_t::showActivity(const QString& text) {
    activityP->setText(text);
}

QString StatusLine_t::activity() const {
    return activityP->text();
}

void StatusLine_t::showStreaming(bool streaming) {
    streamingP->setVisible(streaming);
}

void StatusLine_t::showNoSensor(const QString& why) {
    sensorP->clear();
    sensorP->hide();
    showStreaming(false);
    showActivity(why);
}
