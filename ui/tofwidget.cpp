#include "tofwidget.h"

#include <QGridLayout>
#include <QPushButton>

#include <qcustomplot.h>

namespace {
constexpr int SAMPLE_WINDOW = 100;
constexpr int BUTTON_MIN_WIDTH = 150;
constexpr int BUTTON_MAX_WIDTH = 200;
} // namespace

TofWidget_t::TofWidget_t(QWidget* parent)
    : QWidget(parent), btnStartStopP(new QPushButton(tr("Начать тест"), this)),
      btnClearP(new QPushButton(tr("Очистить"), this)), plotP(new QCustomPlot(this)), keys(SAMPLE_WINDOW) {
    btnClearP->setObjectName(QStringLiteral("btnClearP"));
    for (QPushButton* button : {btnStartStopP, btnClearP}) {
        button->setMinimumWidth(BUTTON_MIN_WIDTH);
        button->setMaximumWidth(BUTTON_MAX_WIDTH);
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(btnStartStopP, 0, 0);
    grid->addWidget(btnClearP, 0, 2);
    grid->addWidget(plotP, 1, 0, 1, 3);

    for (int i = 0; i < SAMPLE_WINDOW; ++i)
        keys[i] = i;
    samples.reserve(SAMPLE_WINDOW);
    setupPlot();

    connect(btnClearP, &QPushButton::clicked, this, &TofWidget_t::clearSamples, Qt::DirectConnection);
}

TofWidget_t::~TofWidget_t() = default;

void TofWidget_t::setupPlot() {
    QCPGraph* graph = plotP->addGraph();
    graph->setPen(QPen(Qt::blue));
    graph->setBrush(QBrush(QColor(0, 0, 255, 20)));
    graph->setName(tr("Уровень"));
    // Fixed ranges: the axes never follow the data.
    plotP->xAxis->setLabel(tr("Время"));
    plotP->xAxis->setRange(0, SAMPLE_WINDOW);
    plotP->yAxis->setLabel(tr("Уровень"));
    plotP->yAxis->setRange(-5, 200);

    QFont legendFont = font();
    legendFont.setPointSize(10);
    plotP->legend->setVisible(true);
    plotP->legend->setFont(legendFont);
    plotP->legend->setSelectedFont(legendFont);
    plotP->legend->setSelectableParts(QCPLegend::spItems);
}

void TofWidget_t::addSample(quint32 value) {
    if (samples.size() >= SAMPLE_WINDOW)
        samples.removeFirst();
    samples.append(static_cast<double>(value));
    updatePlot();
}

void TofWidget_t::updatePlot() {
    // As many keys as samples: the graph pairs them by position.
    plotP->graph(0)->setData(keys.mid(0, samples.size()), samples, true);
    plotP->replot(QCustomPlot::rpRefreshHint);
}

void TofWidget_t::clearSamples() {
    samples.clear(); // keeps the capacity
    updatePlot();
}
