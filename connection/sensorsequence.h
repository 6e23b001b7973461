#pragma once
// A conversation with the sensor as data: a sequence is a list of steps, each one request with the reply it awaits,
// what that reply stores and what the sensor's refusal of it means. One runner in SensorConnection_t sends the steps
// in order, so a new step is one row and no step names the one after it.

#include "sensorsnapshot.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <nlohmann/json.hpp>

// What the sensor's refusal ("error") of a step means.
enum class RefusalE {
    FAIL,    // the error path: the connection ends
    REFUSED, // the sequence ends refused: no later write step is sent, later reading steps still run
    UNKNOWN, // an optional read: what it reads is not known, and the sequence goes on
};

struct Step_t {
    QString name;  // for the log and the command line, e.g. "Records[2]"
    QString label; // for the user, in Russian, e.g. "запись 2"
    nlohmann::json request;
    const char* reply; // the name of the awaited reply: "ok" or the command name of a data reply
    // Takes the awaited reply into the snapshot; false when it does not hold what was asked for (the error path).
    std::function<bool(const nlohmann::json& reply, SensorSnapshot_t& sensor)> store;
    RefusalE refusal = RefusalE::FAIL;
    bool writes = false; // changes what the sensor holds, so a write's outcome names it
};

enum class SequenceE {
    READING,
    TANK,
    ACTIVATION,
    PROPERTIES,
    OMNICOMM,
    CALIBRATION_EMPTY,
    CALIBRATION_FULL,
    CALIBRATION_RESET,
    CALIBRATION_READ,
    PROFILE,
    STREAM_ON,
    STREAM_OFF,
};

struct Sequence_t {
    SequenceE kind = SequenceE::READING;
    QString label; // for the user, e.g. "Запись профиля"
    QList<Step_t> steps;
};

enum class StepResultE { NOT_SENT, UNANSWERED, DONE, REFUSED };

// How a sequence ended: all its steps run, a step refused, or the connection ended under it.
enum class SequenceEndE { COMPLETE, REFUSED, FAILED, LOST, CLOSED };

struct StepOutcome_t {
    QString name;
    QString label;
    bool writes = false;
    StepResultE result = StepResultE::NOT_SENT;
};

// How far a sequence got, step by step.
struct SequenceOutcome_t {
    SequenceE kind = SequenceE::READING;
    SequenceEndE end = SequenceEndE::COMPLETE;
    QList<StepOutcome_t> steps;

    // The labels (or, with names, the names) of the write steps, or of the reading steps, with this result.
    QStringList writeSteps(StepResultE result, bool names = false) const;
    QStringList readSteps(StepResultE result, bool names = false) const;
};

// For the user, in Russian: what was written, refused, perhaps written (sent, never answered) and not sent.
QString writeOutcomeText(const SequenceOutcome_t& outcome);

// Why the conversation failed, at which step.
enum class FailureE { NO_REPLY, REFUSED, UNEXPECTED_REPLY, UNREADABLE_REPLY };

struct Failure_t {
    FailureE kind = FailureE::NO_REPLY;
    QString step;      // the step's name
    QString stepLabel; // for the user
    QString reply;     // the unexpected reply's name
    int waitedMs = 0;  // the reply time limit
};

// For the user, in Russian: what went wrong, and what to do next.
QString failureText(const Failure_t& failure);
