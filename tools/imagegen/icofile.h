#pragma once
// Windows icon container holding one PNG-compressed image.

#include <QByteArray>
#include <QImage>

// The bytes of an .ico file with the image as its only entry (at most 256 x 256).
QByteArray icoWithPng(const QImage& image);
