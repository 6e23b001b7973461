#pragma once
// The tank's level and volume in words for people, in Russian: one home for the window, the table file and the
// report.

#include "tankgeometry.h"

#include <QString>

QString levelHeaderText();   // "Уровень, мм"
QString litresHeaderText();  // "Объём, л"
QString percentHeaderText(); // "Заполнение, %"
// Says that the litres are computed from the tank's dimensions, not measured.
QString computedNoteText();
// Litres with one decimal and a decimal comma, marked as approximate: "≈ 21,4 л".
QString approxLitresText(double litres);
// The fill at a level: "≈ 21,4 л (51 %)", or that the level is below the bottom or above the top.
QString fillText(const TankFill_t& fill);
