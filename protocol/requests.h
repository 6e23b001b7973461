#pragma once
// Request texts of the sensor's JSON command set, byte-exact. Blanks in the texts never reach the wire
// (the worker re-encodes the parsed JSON as CBOR).

#include <QByteArray>
#include <QString>

namespace Cmd {
// Bare read requests.
extern const QByteArray INFO;            // ["Info"]
extern const QByteArray TANK_CONFIG;     // ["TankConfig"]
extern const QByteArray INSTALLATION;    // ["Installation"]
extern const QByteArray OMNICOMM_CONFIG; // ["OmnicommConfig"]
extern const QByteArray CALIBRATION;     // ["Calibration"]
// Prefixes of write and action requests: the name array left open, ending in a comma and one blank.
extern const QByteArray TANK_CONFIG_PREFIX;
extern const QByteArray INSTALLATION_PREFIX;
extern const QByteArray OMNICOMM_CONFIG_PREFIX;
extern const QByteArray CALIBRATION_PREFIX;
} // namespace Cmd

// Response name of a command: the bare request without its brackets and quotes, e.g. "Info".
QString responseNameOf(const QByteArray& bareRequest);

QByteArray reqTankRecord(int id);
QByteArray reqActiveRecord(int active);
QByteArray reqWriteTankConfig(const QString& liquid, int mixture, int active);
QByteArray reqWriteTankRecord(const QString& shape, const QString& orientation, int size, int outer, int inner,
                              int wall);
QByteArray reqInstallation(int on);
QByteArray reqWriteOmnicommConfig(int address, bool txMode, const QString& units, int periodSec);
QByteArray reqCalibrate(int percent);
QByteArray reqCalibrationRead();
QByteArray reqCalibrationReset();
