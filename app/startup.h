#pragma once
// Start-up and run of a program that shows the main window, shared by velmaro-config and its demo: --help and
// --version (answered without a display and without a log file), meta types, the per-run log file, the application
// object, the window, the event loop and the window's deletion when it ends.

#include <QString>
#include <functional>

class QApplication;
class QCommandLineParser;
class QMainWindow;

// Builds the window once the application object exists (without parent: the window owns the log file from then on).
// Returning null ends the program at once with exit code 1.
using WindowFactoryF = std::function<QMainWindow*(QApplication& app)>;

// What --help and --version print: the version, and the description with the program's own options (none if null).
struct ProgramDescription_t {
    QString version;
    std::function<void(QCommandLineParser& parser)> describe;
};

// argc and argv go to the application object unchanged; returns the event loop's exit code, or 0 after --help or
// --version.
int runProgram(int& argc, char* argv[], const ProgramDescription_t& description, const WindowFactoryF& makeWindow);
