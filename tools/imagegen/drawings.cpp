#include "drawings.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor outline(0x2b, 0x4a, 0x6f);
const QColor light(0xe8, 0xf0, 0xf8);
const QColor shade(0x9d, 0xb6, 0xd0);
const QColor dark(0x5d, 0x7a, 0x99);
const QColor accent(0x2f, 0x80, 0xc8);

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QPen outlinePen(qreal width = 2.0) {
    return QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Light from the upper left: bright on the left, shaded on the right.
QLinearGradient bodyGradient(qreal x0, qreal x1) {
    QLinearGradient g(x0, 0, x1, 0);
    g.setColorAt(0.0, shade);
    g.setColorAt(0.3, light);
    g.setColorAt(1.0, shade);
    return g;
}

// Upright round body: a top ellipse, straight sides and the front half of the bottom ellipse.
QPainterPath uprightBody(const QRectF& top, qreal height) {
    const QRectF bottom = top.translated(0, height);
    QPainterPath path;
    path.moveTo(top.left(), top.center().y());
    path.arcTo(top, 180, -180);
    path.lineTo(bottom.right(), bottom.center().y());
    path.arcTo(bottom, 0, -180);
    path.closeSubpath();
    return path;
}

// A strap or weld seam running round an upright body: the front half of an ellipse.
void frontArc(QPainter& p, const QRectF& ellipse) {
    p.drawArc(ellipse, 180 * 16, 180 * 16);
}

// Upright cylinder: shaded side, lighter top face and a valve plate on it.
void uprightCylinder(QPainter& p, const QRectF& top, qreal height, const QRectF& valve, qreal valveRadius) {
    p.setPen(outlinePen());
    p.setBrush(bodyGradient(top.left(), top.right()));
    p.drawPath(uprightBody(top, height));
    p.setBrush(light);
    p.drawEllipse(top);
    p.setBrush(shade);
    p.drawRoundedRect(valve, valveRadius, valveRadius);
}

} // namespace

QImage drawLogo() {
    QImage image = canvas(200, 100);
    QPainter p(&image);
    prepare(p);

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(38);
    name.setBold(true);
    p.setFont(name);
    p.setPen(outline);
    p.drawText(QRectF(0, 8, 200, 48), Qt::AlignCenter, QStringLiteral("Velmaro"));

    // A liquid level as the mark under the name.
    QPainterPath wave;
    wave.moveTo(22, 66);
    wave.cubicTo(52, 54, 72, 78, 100, 66);
    wave.cubicTo(128, 54, 148, 78, 178, 66);
    p.setPen(QPen(accent, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);

    QFont maker(QStringLiteral("DejaVu Sans"));
    maker.setPixelSize(15);
    p.setFont(maker);
    p.setPen(dark);
    p.drawText(QRectF(0, 74, 200, 22), Qt::AlignCenter, QStringLiteral("Lumo"));
    return image;
}

QImage drawToroid() {
    QImage image = canvas(130, 105);
    QPainter p(&image);
    prepare(p);

    // A ring of circular cross-section (tube radius r around the centre circle R), viewed from above at an angle:
    // the silhouette is the union of the horizontal circles of the surface, each drawn as a flattened ellipse.
    const QPointF centre(65, 54);
    const qreal R = 38, r = 19, flatten = 0.42, lift = 0.9;
    const auto level = [&](qreal z, qreal radius) {
        return QRectF(centre.x() - radius, centre.y() - z * lift - radius * flatten, 2 * radius, 2 * radius * flatten);
    };
    QPainterPath body;
    for (int i = 0; i <= 24; ++i) {
        const qreal z = -r + i * (2 * r / 24);
        QPainterPath slice;
        slice.addEllipse(level(z, R + qSqrt(qMax<qreal>(0, r * r - z * z))));
        body = body.united(slice);
    }
    QRadialGradient g(QPointF(48, 34), 70);
    g.setColorAt(0.0, light);
    g.setColorAt(0.5, light);
    g.setColorAt(1.0, shade);
    p.setPen(outlinePen());
    p.setBrush(g);
    p.drawPath(body.simplified());

    // Crest of the tube and the weld seam round its middle.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(level(r, R));
    p.setPen(QPen(dark, 1.5, Qt::DashLine));
    frontArc(p, level(0, R + r));

    // The hole in the middle, with the far inner wall showing.
    const QRectF hole = level(r * 0.55, R - r * 0.9);
    p.setPen(outlinePen());
    p.setBrush(dark);
    p.drawEllipse(hole);
    p.setPen(QPen(shade, 2));
    p.drawArc(hole.adjusted(3, 5, -3, 5), 20 * 16, 140 * 16);
    return image;
}

QImage drawCylinderP() {
    QImage image = canvas(130, 105);
    QPainter p(&image);
    prepare(p);
    uprightCylinder(p, QRectF(5, 14, 120, 50), 34, QRectF(52, 32, 26, 12), 3);
    return image;
}

QImage drawCylinderH() {
    QImage image = canvas(130, 105);
    QPainter p(&image);
    prepare(p);

    const qreal left = 20, right = 108, top = 22, bottom = 82, capWidth = 24;
    QPainterPath body;
    body.moveTo(left, top);
    body.lineTo(right, top);
    body.arcTo(QRectF(right - capWidth / 2, top, capWidth, bottom - top), 90, -180);
    body.lineTo(left, bottom);
    body.closeSubpath();

    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.0, shade);
    g.setColorAt(0.3, light);
    g.setColorAt(1.0, shade);
    p.setPen(outlinePen());
    p.setBrush(g);
    p.drawPath(body);

    // Front head, seen end-on.
    p.setBrush(light);
    p.drawEllipse(QRectF(left - capWidth / 2, top, capWidth, bottom - top));

    // Two mounting straps.
    p.setPen(QPen(dark, 3));
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {48.0, 84.0})
        p.drawArc(QRectF(x - capWidth / 2, top, capWidth, bottom - top), -90 * 16, 180 * 16);

    // Feet under the straps.
    p.setPen(outlinePen(1.5));
    p.setBrush(dark);
    for (const qreal x : {55.0, 91.0})
        p.drawRect(QRectF(x - 9, bottom + 1, 14, 6));
    return image;
}

QImage drawCylinderV() {
    QImage image = canvas(105, 130);
    QPainter p(&image);
    prepare(p);
    const QRectF top(18, 14, 69, 22);
    uprightCylinder(p, top, 88, QRectF(45, 17, 15, 12), 2);

    // Two mounting straps.
    p.setPen(QPen(dark, 3));
    p.setBrush(Qt::NoBrush);
    for (const qreal y : {46.0, 86.0})
        frontArc(p, top.translated(0, y - top.top()));
    return image;
}

QImage drawIcon() {
    QImage image = canvas(128, 128);
    QPainter p(&image);
    prepare(p);

    QLinearGradient g(0, 0, 0, 128);
    g.setColorAt(0.0, accent);
    g.setColorAt(1.0, outline);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 24, 24);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(34);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 28, 120, 44), Qt::AlignCenter, QStringLiteral("Lumo"));

    QPainterPath wave;
    wave.moveTo(24, 88);
    wave.cubicTo(44, 78, 56, 98, 64, 88);
    wave.cubicTo(76, 78, 88, 98, 104, 88);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);

    // A small star: this icon is the festive one.
    QPainterPath star;
    const QPointF c(103, 24);
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? 11 : 4.5;
        const qreal a = qDegreesToRadians(-90.0 + i * 36);
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd2, 0x4a));
    p.drawPath(star);
    return image;
}
