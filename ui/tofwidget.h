#pragma once
// Page of the "Тест" tab: a live plot of the sensor's raw time-of-flight reading over the last 100 samples, a
// start/stop button that the window drives and a clear button; beside the plot, the latest level with the volume
// computed for the sensor's tank, a fill gauge, and the button that saves the tank's level-to-litres table.

#include "devicerecords.h"
#include "tankgeometry.h"

#include <QVector>
#include <QWidget>

#include <optional>

class FillGauge_t;
class QCustomPlot;
class QLabel;
class QPushButton;

class TofWidget_t : public QWidget {
    Q_OBJECT

public:
    explicit TofWidget_t(QWidget* parent = nullptr);
    ~TofWidget_t() override;

    // Appends a sample, dropping the oldest one when 100 are held, and redraws.
    void addSample(quint32 value);
    // Hands the samples to the graph (sample i at key i) and requests a redraw.
    void updatePlot();
    // The tank the readout computes with (the sensor's active record); none, or a record without inner space, leaves
    // only the level to show.
    void setTank(const std::optional<TankConfigRecord_t>& record);
    // The readout of one measurement's level, in mm above the tank's inner bottom.
    void showLevel(qint32 levelMm);
    // Neither samples nor a tank: no sensor is connected.
    void clear();
    QPushButton* startStopButton() const { return btnStartStopP; }
    QCustomPlot* plot() const { return plotP; }

private:
    void setupPlot();
    void setupPlot(QCustomPlot* plot) const;
    QWidget* makeReadout();
    void clearSamples();
    void saveTable();

    QPushButton* btnStartStopP;
    QPushButton* btnClearP;
    QCustomPlot* plotP;
    QVector<double> keys;    // 0..99, fixed
    QVector<double> samples; // oldest first, at most keys.size()
    QLabel* lblLevelP;
    QLabel* lblVolumeP;
    QLabel* lblTankP;
    FillGauge_t* gaugeP;
    QPushButton* btnTableP;
    std::optional<TankGeometry_t> tank;
    QString tankName; // the catalogue text or the dimensions, for the table file's name
};
