#pragma once
// The real main window against real emulated sensors, each on its own pseudo-terminal. The window's port list
// offers every emulator while its line is up, with the sensor's USB identifiers and the serial number
// "EMU<n>:Velmaro1" (shown as "Velmaro#EMU<n>"); a dropped line leaves the list, as an unplugged sensor does.

#include "mainwindow.h"
#include "sensoremulator.h"
#include "tofwidget.h"
#include "widgetlookup.h"

#include <QApplication>
#include <QPushButton>
#include <memory>
#include <vector>

class WindowHarness_t {
public:
    // The emulators are started before the window is built, so its first port list shows them.
    explicit WindowHarness_t(int emulatorCount = 1);

    MainWindow_t& window() { return *windowP; }
    SensorEmulator_t& emulator(int index = 0) { return *emulators.at(index); }
    // Replaces sections of an emulator's state (as in its state file); false when the emulator refuses them.
    bool loadState(int index, const nlohmann::json& sections);

    // A named widget of the window's form; the test fails at once when there is none.
    template <typename T = QWidget>
    T* widget(const char* name) const {
        return child<T>(*windowP, name);
    }
    // One of the window's own dialogs, e.g. dialog<CalibrationDialog_t>(); the test fails at once when there is none.
    template <typename Dialog>
    Dialog* dialog() const {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<Dialog*>(widget))
                return found;
        qFatal("no top-level %s", Dialog::staticMetaObject.className());
        return nullptr;
    }
    QPushButton* connectButton() const { return widget<QPushButton>("btnSerialPortP"); }
    TofWidget_t* testPage() const { return windowP->findChild<TofWidget_t*>(); }

    // Clicks the connect button and waits until the reading is complete ("Отключить").
    bool connectAndRead(int timeoutMs = 10000);
    bool waitForButtonText(const QString& text, int timeoutMs = 10000) const;

private:
    std::vector<std::unique_ptr<SensorEmulator_t>> emulators;
    std::unique_ptr<MainWindow_t> windowP; // after the emulators: the window closes its link before the sensors go
};
