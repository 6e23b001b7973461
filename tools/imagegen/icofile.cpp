#include "icofile.h"

#include <QBuffer>
#include <QDataStream>

QByteArray icoWithPng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    constexpr quint32 headerSize = 6 + 16; // ICONDIR + one ICONDIRENTRY
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(1);                        // reserved, type icon, one image
    out << quint8(image.width() & 0xFF) << quint8(image.height() & 0xFF); // 0 stands for 256
    out << quint8(0) << quint8(0);                                        // no palette, reserved
    out << quint16(1) << quint16(32);                                     // planes, bits per pixel
    out << quint32(png.size()) << headerSize;                             // image size and offset
    ico.append(png);
    return ico;
}
