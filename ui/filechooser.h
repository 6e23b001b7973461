#pragma once
// The program's file dialogs: the names they suggest, and the folder they open in, which is where the last one
// closed during this run (the program keeps no settings file), at first the documents folder.

#include "devicerecords.h"

#include <QDateTime>
#include <QString>

class QWidget;

// The sensor's name, its hardware version, the date and the time to the minute, and suffix:
// "Velmaro_LS-1_EMU-000001_2026-12-06_22-05.json". Characters that some file system refuses become "_"; a sensor
// without a name is "sensor".
QString suggestedFileName(const DeviceInfo_t& info, const QDateTime& at, const QString& suffix);

// fileName is put into the last folder; the path chosen, with suffix added when the user typed none, or empty.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                        const QString& suffix);
QString askOpenFileName(QWidget* parent, const QString& caption, const QString& filter);
