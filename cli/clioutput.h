#pragma once
// Standard output carries only the requested data, one flushed line at a time so that it can be piped while a
// monitor runs; the tool's own messages go to standard error.

#include "sensorprofile.h"
#include "sensorsequence.h"

#include <QString>

#include <functional>

// First thing in the process (see reserveStandardOutput); a closed standard output counts as lost.
void reserveCliStandardOutput();
// From here on printData alone reaches standard output: whatever else the process writes there (the frame codec's
// diagnostics) is discarded. False when the descriptors cannot be rearranged.
bool keepStandardOutputForData();
// Writes one line. Once a write has failed, standard output counts as lost: nothing more is written, and
// whenOutputLost's handler runs once, from the event loop.
void printData(const QString& line);
bool isOutputLost();
// The last handler given wins; the tool's run ends with OUTPUT_LOST when the output was lost.
void whenOutputLost(std::function<void()> handler);
// "velmaro-cli: " and the message.
void printMessage(const QString& message);
// How far a write got, in one line with the steps' names: "written: …; refused: …; unanswered: …; not sent: …".
QString writeOutcomeLine(const SequenceOutcome_t& outcome);
// A value writing cannot put back as it stands, e.g. "OmnicommConfig.Address: 255 cannot be written (the window
// writes 0..254)" or "OmnicommConfig.TxPeriodSec: 60 is written as 0".
QString writeIssueLine(const WriteIssue_t& issue);
// Why the conversation failed, with the step's name, e.g. "no reply to Info within 5000 ms".
QString failureLine(const Failure_t& failure);
