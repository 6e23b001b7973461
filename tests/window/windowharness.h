#pragma once
// The real main window against real emulated sensors, each on its own pseudo-terminal. The window's port list
// offers every emulator while its line is up, with the sensor's USB identifiers and the serial number
// "EMU<n>:Velmaro1" (shown as "Velmaro#EMU<n>"); a dropped line leaves the list, as an unplugged sensor does.

#include "mainwindow.h"
#include "sensoremulator.h"
#include "widgetlookup.h"

#include <QApplication>
#include <QString>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

class CalibrationDialog_t;
class DiagnosticDialog_t;
class PropertiesDialog_t;
class QPushButton;
class TofWidget_t;

class WindowHarness_t {
public:
    // The emulators are started before the window is built, so its first port list shows them.
    explicit WindowHarness_t(int emulatorCount = 1);
    ~WindowHarness_t();
    WindowHarness_t(const WindowHarness_t&) = delete;
    WindowHarness_t& operator=(const WindowHarness_t&) = delete;

    MainWindow_t& window() { return *windowP; }
    SensorEmulator_t& emulator(int index = 0) { return *emulators.at(index); }
    // Replaces sections of an emulator's state (as in its state file); false when the emulator refuses them.
    bool loadState(int index, const nlohmann::json& sections);

    // A named widget of the window's form; the test fails at once when there is none.
    template <typename T = QWidget>
    T* widget(const char* name) const {
        return child<T>(*windowP, name);
    }
    QPushButton* connectButton() const;
    PropertiesDialog_t* propertiesDialog() const;
    CalibrationDialog_t* calibrationDialog() const;
    DiagnosticDialog_t* diagnosticDialog() const;
    TofWidget_t* testPage() const;

    // Clicks the connect button and waits until the reading is complete ("Отключить").
    bool connectAndRead(int timeoutMs = 10000);
    bool waitForButtonText(const QString& text, int timeoutMs = 10000) const;
    // Waits until the emulator has received request (compact JSON, e.g. ["Info"]) count times in all.
    bool waitForRequest(const QString& request, int count = 1, int index = 0, int timeoutMs = 10000) const;

private:
    std::vector<std::unique_ptr<SensorEmulator_t>> emulators;
    std::unique_ptr<MainWindow_t> windowP;
};

// The frame the sensor would send for a JSON text, e.g. frameOf(R"(["ok"])").
QByteArray frameOf(const char* jsonText);
