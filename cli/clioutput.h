#pragma once
// Standard output carries only the requested data, one flushed line at a time so that it can be piped while a
// monitor runs; the tool's own messages go to standard error.

#include "sensorsequence.h"

#include <QString>

// From here on printData alone reaches standard output: whatever else the process writes there (the frame codec's
// diagnostics) is discarded. False when the descriptors cannot be rearranged.
bool reserveStandardOutput();
void printData(const QString& line);
// "velmaro-cli: " and the message.
void printMessage(const QString& message);
// How far a write got, in one line with the steps' names: "written: …; refused: …; unanswered: …; not sent: …".
QString writeOutcomeLine(const SequenceOutcome_t& outcome);
