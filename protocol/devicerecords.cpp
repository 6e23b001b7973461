#include "devicerecords.h"

#include "tankkind.h"

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

TankKindE tankKindOf(const TankConfigRecord_t& record) {
    if (record.Shape == QLatin1String(WireNames::SHAPE_TOROIDAL))
        return record.InnerDiameter != 0 ? TankKindE::Toroid : TankKindE::CylinderP;
    return record.Orientation == QLatin1String(WireNames::ORIENTATION_HORIZONTAL) ? TankKindE::CylinderH
                                                                                  : TankKindE::CylinderV;
}

TankWireFields_t tankWireFields(TankKindE kind, qint32 toroidInnerDiameter) {
    const bool toroidal = kind == TankKindE::Toroid || kind == TankKindE::CylinderP;
    TankWireFields_t fields;
    fields.Shape = QString::fromLatin1(toroidal ? WireNames::SHAPE_TOROIDAL : WireNames::SHAPE_CYLINDRIC);
    fields.Orientation = QString::fromLatin1(kind == TankKindE::CylinderV ? WireNames::ORIENTATION_VERTICAL
                                                                          : WireNames::ORIENTATION_HORIZONTAL);
    fields.InnerDiameter = kind == TankKindE::Toroid ? toroidInnerDiameter : 0;
    return fields;
}
