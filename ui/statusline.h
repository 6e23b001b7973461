#pragma once
// The main window's status bar: the connected sensor (name, versions, port), what runs now and how far it got,
// whether the sensor streams its measurements, and how the last connection ended.

#include "devicerecords.h"

#include <QString>

class QLabel;
class QStatusBar;

// "Чтение данных: 3 из 7" for the reading at connection (items read), "Запись профиля: шаг 2 из 4" for every other
// sequence (steps sent).
QString progressText(const QString& sequence, int step, int count, bool reading);

class StatusLine_t {
public:
    // The labels become the bar's children.
    explicit StatusLine_t(QStatusBar& bar);

    // port: as the port box names it.
    void showSensor(const DeviceInfo_t& info, const QString& port);
    void showActivity(const QString& text);
    QString activity() const;
    void showStreaming(bool streaming);
    // No sensor any more: its line and the streaming mark go, the activity says why.
    void showNoSensor(const QString& why);

private:
    QLabel* activityP;
    QLabel* streamingP;
    QLabel* sensorP;
};
