#include "fillgauge.h"

#include <QPainter>

namespace {
constexpr int BAR_HEIGHT = 18;
constexpr int MIN_WIDTH = 200;
constexpr int MARGIN = 4;
const QColor LIQUID(70, 130, 220);
const QColor OVER_LIMIT(230, 140, 30);
const QColor OUTSIDE(200, 30, 30);
} // namespace

FillGauge_t::FillGauge_t(QWidget* parent) : QWidget(parent) {
    // The limit's label sits above the bar.
    setFixedHeight(fontMetrics().height() + BAR_HEIGHT + 2 * MARGIN);
    setMinimumWidth(MIN_WIDTH);
}

FillGauge_t::~FillGauge_t() = default;

void FillGauge_t::setFill(const TankFill_t& fill) {
    shown = fill;
    update();
}

void FillGauge_t::clear() {
    shown.reset();
    update();
}

void FillGauge_t::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect bar(MARGIN, height() - MARGIN - BAR_HEIGHT, width() - 2 * MARGIN, BAR_HEIGHT);
    const auto xAt = [&](double percent) { return bar.left() + static_cast<int>(bar.width() * percent / 100); };
    if (shown) {
        switch (shown->place) {
        case LevelPlaceE::BELOW_BOTTOM:
            painter.fillRect(QRect(bar.left(), bar.top(), 4, bar.height()), OUTSIDE);
            break;
        case LevelPlaceE::ABOVE_TOP:
            painter.fillRect(bar, OUTSIDE);
            break;
        case LevelPlaceE::INSIDE:
            painter.fillRect(QRect(bar.topLeft(), QPoint(xAt(shown->percent), bar.bottom())),
                             shown->percent > LPG_FILL_LIMIT_PERCENT ? OVER_LIMIT : LIQUID);
            break;
        }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(bar);
    const int limitX = xAt(LPG_FILL_LIMIT_PERCENT);
    const QString limitText = tr("предел заполнения %1 %").arg(LPG_FILL_LIMIT_PERCENT);
    painter.setPen(QPen(OUTSIDE, 2, Qt::DashLine));
    painter.drawLine(limitX, bar.top() - 3, limitX, bar.bottom() + 2);
    painter.drawText(QPoint(limitX - fontMetrics().horizontalAdvance(limitText) - MARGIN, fontMetrics().ascent()),
                     limitText);
}
