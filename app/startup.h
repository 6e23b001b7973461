#pragma once
// Start-up and run of a program that shows the main window, shared by velmaro-config and its demo: meta types, the
// per-run log file, the application object, the window, the event loop and the window's deletion when it ends.

#include <functional>

class QApplication;
class QMainWindow;

// Builds the window once the application object exists (without parent: the window owns the log file from then on).
// Returning null ends the program at once with exit code 1.
using WindowFactoryF = std::function<QMainWindow*(QApplication& app)>;

// argc and argv go to the application object unchanged; returns the event loop's exit code.
int runProgram(int& argc, char* argv[], const WindowFactoryF& makeWindow);
