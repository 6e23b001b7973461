#include "tankkind.h"

TankKindE tankKindOf(const TankConfigRecord_t& record) {
    if (record.Shape == QLatin1String(WireNames::SHAPE_TOROIDAL))
        return record.InnerDiameter != 0 ? TankKindE::Toroid : TankKindE::CylinderP;
    return record.Orientation == QLatin1String(WireNames::ORIENTATION_HORIZONTAL) ? TankKindE::CylinderH
                                                                                  : TankKindE::CylinderV;
}

TankConfigRecord_t makeTankRecord(int id, TankKindE kind, int outer, int length, int innerDiameter, int wall) {
    const bool toroidal = kind == TankKindE::Toroid || kind == TankKindE::CylinderP;
    TankConfigRecord_t record;
    record.id = id;
    record.Shape = QString::fromLatin1(toroidal ? WireNames::SHAPE_TOROIDAL : WireNames::SHAPE_CYLINDRIC);
    record.Orientation = QString::fromLatin1(kind == TankKindE::CylinderV ? WireNames::ORIENTATION_VERTICAL
                                                                          : WireNames::ORIENTATION_HORIZONTAL);
    record.Height = length;
    record.Length = length;
    record.OuterDiameter = outer;
    record.InnerDiameter = kind == TankKindE::Toroid ? innerDiameter : 0;
    record.Wall = wall;
    return record;
}
