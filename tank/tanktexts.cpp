#include "tanktexts.h"

#include <QCoreApplication>
#include <QLocale>

namespace {
QString tt(const char* text) {
    return QCoreApplication::translate("Tank", text);
}
} // namespace

QString levelHeaderText() {
    return tt("Уровень, мм");
}

QString litresHeaderText() {
    return tt("Объём, л");
}

QString percentHeaderText() {
    return tt("Заполнение, %");
}

QString computedNoteText() {
    return tt("расчёт по размерам бака");
}

QString approxLitresText(double litres) {
    return tt("≈ %1 л").arg(QLocale(QLocale::Russian).toString(litres, 'f', 1));
}

QString fillText(const TankFill_t& fill) {
    switch (fill.place) {
    case LevelPlaceE::BELOW_BOTTOM:
        return tt("уровень ниже дна бака");
    case LevelPlaceE::ABOVE_TOP:
        return tt("уровень выше верха бака");
    case LevelPlaceE::INSIDE:
        break;
    }
    return tt("%1 (%2 %)").arg(approxLitresText(fill.litres)).arg(qRound(fill.percent));
}
