#pragma once
// Steps and expectations shared by the write-sequence tests: choosing a tank on the parameters tab as a user does,
// the records and requests the sensor should see, and what the sensor was asked since the reading.

#include "tankkind.h"
#include "windowharness.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <nlohmann/json.hpp>

// Columns of the tests' data tables.
Q_DECLARE_METATYPE(TankKindE)
Q_DECLARE_METATYPE(nlohmann::json)

class QSpinBox;

namespace WriteFlow {

extern const QString SAVED;
extern const QString SAVED_RESTART;
extern const QString INPUT_REFUSED;
extern const QString FSM_FAILED;

// Clicks the shape buttons for kind and sets the custom box, as a user would.
void showTankKind(WindowHarness_t& h, TankKindE kind, bool custom);
// Makes the list item with this text current; false when the list has none.
bool chooseTank(WindowHarness_t& h, const QString& text);
QSpinBox* wallBox(WindowHarness_t& h);

// A tank record as the sensor stores it and as the record write carries it.
nlohmann::json tankRecord(int id, TankKindE kind, int outer, int length, int inner, int wall);
// Request texts as the emulator logs them (compact, keys sorted).
QString requestText(const nlohmann::json& request);
QString recordWrite(const nlohmann::json& record);
QString activation(int id);
QString tankConfigWrite(int mixture, const char* liquid, int active);

// Connects, reads the sensor and remembers how many requests the reading took.
class Session_t {
public:
    explicit Session_t(WindowHarness_t& harness) : h(harness) {}
    bool connectAndRead();
    // What the sensor was asked after the reading, oldest first.
    QStringList requestsSinceReading() const;

private:
    WindowHarness_t& h;
    int readingRequests = 0;
};

} // namespace WriteFlow
