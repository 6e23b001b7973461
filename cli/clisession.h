#pragma once
// One command's connection to one sensor: choosing the port, opening it, the reading, and the outcomes every
// command shares (the port cannot be opened, no reply, the line lost, a refusal), each mapped to its exit code.

#include "clioptions.h"
#include "exitcodee.h"
#include "portlist.h"
#include "sensorconnection.h"
#include "sensorprofile.h"

#include <QObject>
#include <functional>

class CliSession_t : public QObject {
    Q_OBJECT

public:
    // Chooses the port from options.port and the sensors found; run() reports a failed choice.
    explicit CliSession_t(const CliOptions_t& options, QObject* parent = nullptr);

    SensorConnection_t& connection() { return *connectionP; }
    const ShownPort_t& port() const { return chosen; }

    // Runs once the reading is complete.
    void whenReady(std::function<void()> ready);
    // Opens the port and runs the event loop until finish(); returns the exit code.
    int run();
    // Ends the connection and the event loop; the first call counts. A message goes to standard error.
    void finish(ExitCodeE code, const QString& message = {});
    // Reads the stored calibration, then hands over the sensor's setup as a profile file holds it.
    void readProfile(std::function<void(const SensorProfile_t&)> done);

private slots:
    void slotLost(QSerialPort::SerialPortError inError);

private:
    ShownPort_t chosen;
    ExitCodeE choiceCode = ExitCodeE::OK;
    QString choiceProblem;
    SensorConnection_t* connectionP;
    std::function<void()> onReady;
    bool portOpened =
        false; // a port error before the sensor's first reply is a failure to open, after it the line lost
    bool finished = false;
};
