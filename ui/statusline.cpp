#include "statusline.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("StatusLine_t", source);
}

QLabel* selectableLabel(QStatusBar& bar) {
    auto* label = new QLabel(&bar);
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

StatusLine_t::StatusLine_t(QStatusBar& bar)
    : activityP(selectableLabel(bar)), streamingP(selectableLabel(bar)), sensorP(selectableLabel(bar)) {
    bar.setSizeGripEnabled(false);
    bar.addWidget(activityP, 1);
    bar.addPermanentWidget(streamingP);
    bar.addPermanentWidget(sensorP);
    streamingP->setText(text("Идут измерения"));
    streamingP->hide();
    sensorP->hide();
    showActivity(text("Датчик не подключён"));
}

void StatusLine_t::showSensor(const DeviceInfo_t& info, const QString& port) {
    sensorP->setText(text("%1 · аппаратная версия %2 · ПО %3 · %4").arg(info.Name, info.HWVer, info.FWVer, port));
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
