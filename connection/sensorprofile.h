#pragma once
// A sensor's setup as a file the user chose to write: its identity, tank records, tank configuration, RS485 settings
// and calibration, with when and by which program it was saved. Profiles travel between people, so reading one is
// an input boundary: strict, size-limited, and never throwing.

#include "sensorsnapshot.h"

#include <QDateTime>
#include <QList>
#include <QString>

inline constexpr char PROFILE_FORMAT[] = "velmaro-sensor-profile";
constexpr int PROFILE_VERSION = 1;
constexpr qint64 PROFILE_MAX_BYTES = 1024 * 1024;

struct SensorProfile_t {
    QDateTime saved;
    QString programVersion;
    QString portName; // the source sensor's port as the port list showed it, e.g. "Velmaro#0001"
    // Identity, tank configuration, the records as read (record 2 always among them), RS485 settings, and the
    // calibration (read just before saving, unknown when the sensor would not tell it; informative, never written
    // back).
    SensorSnapshot_t sensor;
};

// The profile as indented UTF-8 JSON text, keys as the sensor's own; saved to the second with its UTC offset. A
// profile without a calibration has null there.
QByteArray profileToJson(const SensorProfile_t& profile);
// Strict reading of the form: format and version, every field present with its type and within what a sensor may
// hold, record 2 and the active record among the records. Whatever was read from a sensor reads back; what writing
// takes is writeIssues' business.
// False with the first problem in Russian, naming the field (e.g. "Records[1].Wall"), and out untouched.
bool profileFromJson(const QByteArray& text, SensorProfile_t& out, QString& problem);

// Written atomically: a failure leaves no partial file. False with the reason (in Russian).
bool saveProfile(const QString& path, const SensorProfile_t& profile, QString& error);
// A file over PROFILE_MAX_BYTES is refused before it is read. False with the first problem (in Russian).
bool loadProfile(const QString& path, SensorProfile_t& out, QString& problem);

// One value a profile sets, beside what a sensor holds.
struct ProfileField_t {
    QString key;       // the profile file's name of the value, e.g. "TankConfig.Mixture", "Records[2].Wall"
    QString label;     // Russian, for the user, e.g. "Смесь, % пропана"
    QString inProfile; // as text
    QString inSensor;  // as text; empty when the sensor lacks it (a record it did not send)
    // False for the profile's active record when it is record 0 or 1: those are the sensor's own and never written,
    // so a difference there cannot be mended by writing the profile.
    bool written = true;
    bool differs() const { return inProfile != inSensor; }
};

// Every value writing the profile sets (record 2 when the profile's active record is 2, otherwise the profile's
// active record as a check only; Active, Mixture, Liquid; the four RS485 settings), in that order.
QList<ProfileField_t> profileFields(const SensorProfile_t& profile, const SensorSnapshot_t& sensor);

// What writing a profile sends, by the window's rules: the liquid from the mixture, period 0 while periodic output is
// off, the units as the RS485 tab shows them, and record 2 (written only when active) as the window writes a tank of
// its kind, Height as Length. Records 0 and 1 are never written and stay as they are.
SensorSnapshot_t writtenSetup(const SensorSnapshot_t& setup);

// A value of a setup that writing cannot put into a sensor as it stands.
struct WriteIssue_t {
    QString key;   // as ProfileField_t's
    QString label; // Russian
    QString value; // as the setup holds it, as text
    QString sent;  // what writing sends instead; empty when writing refuses the value
    QString range; // for a refused value, what the window offers, e.g. "0..254"
};

// Every value writing would send otherwise (see writtenSetup) or refuse, being outside what the window offers (the
// mixture, the RS485 address, the period while periodic output is on, record 2's wall when record 2 is active), in
// profileFields' order. None for a setup the window could have written.
QList<WriteIssue_t> writeIssues(const SensorSnapshot_t& setup);
// Those of the issues that writing refuses.
QList<WriteIssue_t> refusedValues(const QList<WriteIssue_t>& issues);
