// Program entry: the main window on the shared start-up, without command-line options.
#include "mainwindow.h"
#include "startup.h"

int main(int argc, char* argv[]) {
    return runProgram(argc, argv, [](QApplication&) { return new MainWindow_t; });
}
