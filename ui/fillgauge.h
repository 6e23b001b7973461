#pragma once
// A horizontal bar of how full the tank is, with the mark of the 80 % filling limit of LPG tanks. A level outside the
// tank is drawn as such: an empty bar with a red start below the bottom, a red bar above the top.

#include "tankgeometry.h"

#include <QWidget>

// The share of the volume an LPG tank may be filled to: the vapour needs the rest as the liquid warms.
constexpr double LPG_FILL_LIMIT_PERCENT = 80;

class FillGauge_t : public QWidget {
    Q_OBJECT

public:
    explicit FillGauge_t(QWidget* parent = nullptr);
    ~FillGauge_t() override;

    void setFill(const TankFill_t& fill);
    // No level to show: an empty bar.
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TankFill_t> shown;
};
