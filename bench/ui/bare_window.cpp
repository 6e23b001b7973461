// The floor for a Qt Widgets program with a plot: a bare QMainWindow holding one QCustomPlot, shown as the tool's
// window is. Started by bench_ui_process beside velmaro-config.
#include <QApplication>
#include <QMainWindow>
#include <qcustomplot.h>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QCustomPlot);
    window.resize(550, 606);
    window.show();
    return app.exec();
}
