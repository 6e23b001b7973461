#pragma once
// Page of the "Тест" tab: a live plot of the sensor's raw time-of-flight reading over the last 100 samples, a
// start/stop button that the window drives and a clear button.

#include <QVector>
#include <QWidget>

class QCustomPlot;
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
    QPushButton* startStopButton() const { return btnStartStopP; }
    QCustomPlot* plot() const { return plotP; }

private:
    void setupPlot();
    void clearSamples();

    QPushButton* btnStartStopP;
    QPushButton* btnClearP;
    QCustomPlot* plotP;
    QVector<double> keys;    // 0..99, fixed
    QVector<double> samples; // oldest first, at most keys.size()
};
