#pragma once
// The program's pictures, drawn with QPainter so that they can be redrawn at any time.

#include <QImage>

QImage drawLogo();      // 200 x 100, text logo
QImage drawToroid();    // 130 x 105, toroidal tank seen at an angle
QImage drawCylinderP(); // 130 x 105, solid squat cylinder
QImage drawCylinderH(); // 130 x 105, horizontal cylinder
QImage drawCylinderV(); // 105 x 130, vertical cylinder
QImage drawIcon();      // 128 x 128, window icon
