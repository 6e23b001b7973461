// The live plot: a sliding window of the last 100 samples at keys 0..99, clearing, and fixed axes.

#include "tofwidget.h"

#include <QPushButton>
#include <QtTest>
#include <qcustomplot.h>

namespace {

QCPGraph* graphOf(const TofWidget_t& widget) {
    return widget.plot()->graphCount() == 1 ? widget.plot()->graph(0) : nullptr;
}

} // namespace

class TestTofWidget : public QObject {
    Q_OBJECT

private slots:
    void after150Samples_plotHoldsSamples51To150AtKeys0To99() {
        TofWidget_t widget;
        for (quint32 sample = 1; sample <= 150; ++sample)
            widget.addSample(sample);
        QCPGraph* graph = graphOf(widget);
        QVERIFY(graph);
        QCOMPARE(graph->data()->size(), 100);
        int key = 0;
        for (const QCPGraphData& point : *graph->data()) {
            QCOMPARE(point.key, double(key));
            QCOMPARE(point.value, double(key + 51));
            ++key;
        }
    }

    void fewSamples_plottedFromKey0() {
        TofWidget_t widget;
        widget.addSample(10);
        widget.addSample(20);
        QCPGraph* graph = graphOf(widget);
        QVERIFY(graph);
        QCOMPARE(graph->data()->size(), 2);
        QCOMPARE(graph->data()->at(1)->key, 1.0);
        QCOMPARE(graph->data()->at(1)->value, 20.0);
    }

    void clear_emptiesPlotAndNextSampleLandsAtKey0() {
        TofWidget_t widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        for (quint32 sample = 0; sample < 120; ++sample)
            widget.addSample(sample);
        QTest::mouseClick(widget.findChild<QPushButton*>(QStringLiteral("btnClearP")), Qt::LeftButton);
        QCPGraph* graph = graphOf(widget);
        QVERIFY(graph);
        QCOMPARE(graph->data()->size(), 0);
        widget.addSample(42);
        QCOMPARE(graph->data()->size(), 1);
        QCOMPARE(graph->data()->at(0)->key, 0.0);
        QCOMPARE(graph->data()->at(0)->value, 42.0);
    }

    void sampleValue_plottedUnsigned_data() {
        QTest::addColumn<quint32>("sample");
        QTest::newRow("zero") << quint32(0);
        QTest::newRow("top of the axis") << quint32(200);
        QTest::newRow("largest reading") << quint32(0xFFFFFFFFu);
    }
    void sampleValue_plottedUnsigned() {
        QFETCH(quint32, sample);
        TofWidget_t widget;
        widget.addSample(sample);
        QCOMPARE(graphOf(widget)->data()->at(0)->value, double(sample));
    }

    void setup_oneNamedGraphOnFixedAxes() {
        TofWidget_t widget;
        QCOMPARE(widget.startStopButton()->text(), QStringLiteral("Начать тест"));
        QCPGraph* graph = graphOf(widget);
        QVERIFY(graph);
        QCOMPARE(graph->name(), QStringLiteral("Уровень"));
        QCOMPARE(graph->pen().color(), QColor(Qt::blue));
        QCOMPARE(graph->brush().color(), QColor(0, 0, 255, 20));
        QCOMPARE(widget.plot()->xAxis->label(), QStringLiteral("Время"));
        QCOMPARE(widget.plot()->yAxis->label(), QStringLiteral("Уровень"));
        QCOMPARE(widget.plot()->xAxis->range(), QCPRange(0, 100));
        QCOMPARE(widget.plot()->yAxis->range(), QCPRange(-5, 200));
        QVERIFY(widget.plot()->legend->visible());
        QCOMPARE(widget.plot()->legend->font().pointSize(), 10);
        QCOMPARE(widget.plot()->legend->selectedFont().pointSize(), 10);
        QCOMPARE(widget.plot()->legend->selectableParts(), QCPLegend::SelectableParts(QCPLegend::spItems));
    }

    void largeSample_axesDoNotRescale() {
        TofWidget_t widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        widget.addSample(100000);
        QCoreApplication::processEvents();
        QCOMPARE(widget.plot()->xAxis->range(), QCPRange(0, 100));
        QCOMPARE(widget.plot()->yAxis->range(), QCPRange(-5, 200));
    }
};

QTEST_MAIN(TestTofWidget)
#include "test_tofwidget.moc"
