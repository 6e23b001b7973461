#pragma once
// The sensor's data as plain value types. Field names are the JSON keys on the wire.

#include <QString>
#include <QtGlobal>

struct DeviceInfo_t {
    QString Name;
    QString HWVer;
    QString FWVer;
};

struct TankConfig_t {
    qint32 Mixture = 0; // propane share, percent
    QString Liquid;
    qint32 Active = 0; // id of the tank record in use
};

// The sensor keeps three tank records, ids 0..2. Records 0 and 1 are the sensor's own and only ever activated;
// every tank the user defines or picks from the catalogue is written into record 2.
constexpr int TANK_RECORD_COUNT = 3;
constexpr int WRITABLE_RECORD_ID = 2;
// Inner diameter of every catalogue toroid, in mm.
constexpr int CATALOGUE_TOROID_INNER_DIAMETER_MM = 172;
// Largest dimension, in mm, a record's fields carry.
constexpr int MAX_RECORD_DIMENSION_MM = 4095;

// What the window offers, and so all the tool ever writes: wall thickness (properties dialog), propane share (its
// slider), RS485 address and period (RS485 tab).
constexpr int MIN_WALL_MM = 1;
constexpr int MAX_WALL_MM = 15;
constexpr int MIN_MIXTURE_PERCENT = 5;
constexpr int MAX_MIXTURE_PERCENT = 95;
constexpr int MAX_WRITTEN_ADDRESS = 254;
constexpr int MAX_WRITTEN_TX_PERIOD_SEC = 30;

struct TankConfigRecord_t {
    qint32 id = 0;
    QString Shape;
    QString Orientation;
    qint32 Height = 0;
    qint32 Length = 0;
    qint32 OuterDiameter = 0;
    qint32 InnerDiameter = 0;
    qint32 Wall = 0;
};

struct Installation_t {
    qint32 RawTOF = 0;
    qint32 mm = 0;
};

struct OmnicommConfig_t {
    qint32 Address = 0;
    bool TxMode = false;
    QString Units;
    qint32 TxPeriodSec = 0;
};

struct Calibration_t {
    qint32 Empty = 0;
    qint32 Full = 0;
};

// Exact wire names; compared case-sensitively.
namespace WireNames {
inline constexpr char SHAPE_CYLINDRIC[] = "Cylindric";
inline constexpr char SHAPE_TOROIDAL[] = "Toroidal";
inline constexpr char ORIENTATION_HORIZONTAL[] = "Horizontal";
inline constexpr char ORIENTATION_VERTICAL[] = "Vertical";
inline constexpr char LIQUID_PROPANE[] = "Propane";
inline constexpr char LIQUID_BUTANE[] = "Butane";
inline constexpr char LIQUID_MIX[] = "Mix";
inline constexpr char UNITS_MM[] = "mm";
inline constexpr char UNITS_LITRES[] = "litres";
inline constexpr char UNITS_PERCENT[] = "percent";
inline constexpr char REPLY_OK[] = "ok";
inline constexpr char REPLY_ERROR[] = "error";
} // namespace WireNames

// Position in the RS485 tab's unit list: 0 "mm" (also for any unknown name), 1 "litres", 2 "percent".
int unitsIndex(const QString& units);
// Wire name for a unit list position; any position other than 0 and 1 is "percent".
QString unitsName(int index);
