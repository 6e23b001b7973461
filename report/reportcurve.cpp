#include "reportcurve.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <algorithm>

namespace {

constexpr int CURVE_OBJECT = QTextFormat::UserObject + 1;
constexpr int READINGS_PROPERTY = QTextFormat::UserProperty + 1;
constexpr int SIZE_PROPERTY = QTextFormat::UserProperty + 2;
// Document pixels are 1/96 inch, whatever device the document is laid out for.
constexpr qreal DOCUMENT_DPI = 96;
// The share of the width left of the plot for the values written at its side.
constexpr qreal SCALE_SHARE = 0.12;

class CurveObject_t : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat& format) override {
        const QPaintDevice* device = document->documentLayout()->paintDevice();
        return format.property(SIZE_PROPERTY).toSizeF() * (device ? device->logicalDpiY() / DOCUMENT_DPI : 1);
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override {
        const QVector<qint32> readings = format.property(READINGS_PROPERTY).value<QVector<qint32>>();
        const auto [low, high] = std::minmax_element(readings.begin(), readings.end());
        const qreal span = std::max<qreal>(1, qreal(*high) - *low);
        const QRectF plot = rect.adjusted(rect.width() * SCALE_SHARE, 0, 0, 0);
        QPainterPath curve;
        for (int i = 0; i < readings.size(); ++i) {
            const QPointF point(plot.left() + plot.width() * i / (readings.size() - 1),
                                plot.bottom() - plot.height() * (readings[i] - *low) / span);
            if (i == 0)
                curve.moveTo(point);
            else
                curve.lineTo(point);
        }
        painter->save();
        painter->setPen(QPen(Qt::gray, 0));
        painter->drawRect(plot);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignTop, QString::number(*high));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignBottom, QString::number(*low));
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::blue, plot.height() / 200));
        painter->drawPath(curve);
        painter->restore();
    }
};

} // namespace

void insertCurve(QTextCursor& cursor, const QVector<qint32>& readings, const QSizeF& size) {
    if (readings.size() < 2)
        return;
    QTextDocument* document = cursor.document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    if (!layout->handlerForObject(CURVE_OBJECT))
        layout->registerHandler(CURVE_OBJECT, new CurveObject_t(document));
    QTextCharFormat format;
    format.setObjectType(CURVE_OBJECT);
    format.setProperty(READINGS_PROPERTY, QVariant::fromValue(readings));
    format.setProperty(SIZE_PROPERTY, size);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

#include "reportcurve.moc"
