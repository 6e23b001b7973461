#include "tofwidget.h"

#include "filechooser.h"
#include "fillgauge.h"
#include "okmessagebox.h"
#include "tankcatalogue.h"
#include "tanktable.h"
#include "tanktexts.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <qcustomplot.h>

namespace {
constexpr int SAMPLE_WINDOW = 100;
constexpr int BUTTON_MIN_WIDTH = 150;
constexpr int BUTTON_MAX_WIDTH = 200;
} // namespace

TofWidget_t::TofWidget_t(QWidget* parent)
    : QWidget(parent), btnStartStopP(new QPushButton(tr("Начать тест"), this)),
      btnClearP(new QPushButton(tr("Очистить"), this)), plotP(new QCustomPlot(this)), keys(SAMPLE_WINDOW),
      lblLevelP(new QLabel(this)), lblVolumeP(new QLabel(this)), lblTankP(new QLabel(this)),
      gaugeP(new FillGauge_t(this)), btnTableP(new QPushButton(tr("Таблица тарировки..."), this)) {
    btnClearP->setObjectName(QStringLiteral("btnClearP"));
    for (QPushButton* button : {btnStartStopP, btnClearP}) {
        button->setMinimumWidth(BUTTON_MIN_WIDTH);
        button->setMaximumWidth(BUTTON_MAX_WIDTH);
    }
    auto* grid = new QGridLayout(this);
    grid->addWidget(btnStartStopP, 0, 0);
    grid->addWidget(btnClearP, 0, 2);
    grid->addWidget(plotP, 1, 0, 1, 3);
    grid->addWidget(makeReadout(), 2, 0, 1, 3);
    grid->setRowStretch(1, 1); // the plot takes the height the readout leaves

    for (int i = 0; i < SAMPLE_WINDOW; ++i)
        keys[i] = i;
    samples.reserve(SAMPLE_WINDOW);
    setupPlot();

    connect(btnClearP, &QPushButton::clicked, this, &TofWidget_t::clearSamples, Qt::DirectConnection);
    connect(btnTableP, &QPushButton::clicked, this, &TofWidget_t::saveTable);
    setTank(std::nullopt);
}

QWidget* TofWidget_t::makeReadout() {
    lblLevelP->setObjectName(QStringLiteral("lblLevelP"));
    lblVolumeP->setObjectName(QStringLiteral("lblVolumeP"));
    lblTankP->setObjectName(QStringLiteral("lblTankP"));
    btnTableP->setObjectName(QStringLiteral("btnTableP"));
    QFont big = font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    lblLevelP->setFont(big);
    lblVolumeP->setFont(big);
    lblVolumeP->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTankP->setWordWrap(true);
    auto* readout = new QWidget(this);
    auto* grid = new QGridLayout(readout);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lblLevelP, 0, 0);
    grid->addWidget(lblVolumeP, 0, 1);
    grid->addWidget(gaugeP, 1, 0, 1, 2);
    grid->addWidget(lblTankP, 2, 0);
    grid->addWidget(btnTableP, 2, 1, Qt::AlignRight);
    return readout;
}

TofWidget_t::~TofWidget_t() = default;

void TofWidget_t::setupPlot() {
    setupPlot(plotP);
}

void TofWidget_t::setupPlot(QCustomPlot* plot) const {
    QCPGraph* graph = plot->addGraph();
    graph->setPen(QPen(Qt::blue));
    graph->setBrush(QBrush(QColor(0, 0, 255, 20)));
    graph->setName(tr("Уровень"));
    // Fixed ranges: the axes never follow the data.
    plot->xAxis->setLabel(tr("Время"));
    plot->xAxis->setRange(0, SAMPLE_WINDOW);
    plot->yAxis->setLabel(tr("Уровень"));
    plot->yAxis->setRange(-5, 200);

    QFont legendFont = font();
    legendFont.setPointSize(10);
    plot->legend->setVisible(true);
    plot->legend->setFont(legendFont);
    plot->legend->setSelectedFont(legendFont);
    plot->legend->setSelectableParts(QCPLegend::spItems);
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

void TofWidget_t::clear() {
    clearSamples();
    setTank(std::nullopt);
}

void TofWidget_t::setTank(const std::optional<TankConfigRecord_t>& record) {
    tank = record ? TankGeometry_t::fromRecord(*record) : std::nullopt;
    lblLevelP->setText(tr("Уровень: —"));
    lblVolumeP->clear();
    gaugeP->clear();
    btnTableP->setEnabled(tank.has_value());
    if (!tank) {
        tankName.clear();
        lblTankP->setText(record ? tr("Размеры бака не позволяют рассчитать объём") : QString());
        return;
    }
    const std::optional<QByteArray> catalogue = catalogueTextOf(*record);
    tankName = catalogue ? QString::fromUtf8(catalogue->left(catalogue->indexOf(' ')))
                         : QStringLiteral("%1x%2").arg(record->OuterDiameter).arg(record->Length);
    QString text = tr("Объём бака %1, %2").arg(approxLitresText(tank->innerVolumeLitres()), computedNoteText());
    if (const std::optional<int> nominal = catalogue ? nominalLitres(*catalogue) : std::nullopt)
        text += tr("; номинальный %1 л").arg(*nominal);
    lblTankP->setText(text);
}

void TofWidget_t::showLevel(qint32 levelMm) {
    lblLevelP->setText(tr("Уровень: %1 мм").arg(levelMm));
    if (!tank)
        return;
    const TankFill_t fill = tank->fillAt(levelMm);
    lblVolumeP->setText(fillText(fill));
    gaugeP->setFill(fill);
}

void TofWidget_t::saveTable() {
    if (!tank)
        return;
    // Named after the tank: the table belongs to the tank, not to the sensor.
    const QString path = askSaveFileName(this, tr("Сохранить таблицу тарировки"), tr("Тарировка_%1.csv").arg(tankName),
                                         tr("Таблица CSV (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    QString error;
    if (saveTankTableCsv(path, tankTable(*tank, DEFAULT_TABLE_STEP_MM), russianSpreadsheetCsv(), error))
        OkMessageBox box(tr("Таблица тарировки сохранена:\n%1").arg(QDir::toNativeSeparators(path)));
    else
        OkMessageBox box(tr("Таблица тарировки не сохранена.\n%1").arg(error));
}
