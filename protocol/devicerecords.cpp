#include "devicerecords.h"

int unitsIndex(const QString& units) {
    if (units == QLatin1String(WireNames::UNITS_LITRES))
        return 1;
    if (units == QLatin1String(WireNames::UNITS_PERCENT))
        return 2;
    return 0;
}

QString unitsName(int index) {
    switch (index) {
    case 0:
        return QString::fromLatin1(WireNames::UNITS_MM);
    case 1:
        return QString::fromLatin1(WireNames::UNITS_LITRES);
    default:
        return QString::fromLatin1(WireNames::UNITS_PERCENT);
    }
}
