#pragma once
// Misbehaviour the emulated sensor can be told to show, each switch on its own. All off by default.

#include <QByteArray>
#include <QString>
#include <nlohmann/json.hpp>

// How record replies misstate their id.
enum class RecordIdFaultE { NONE, SHIFTED, OUT_OF_RANGE };

struct EmulatorFaults_t {
    // Installation mode (the measurement stream) is on before any client opens the port.
    bool streamAtStart = false;
    // Every Nth frame sent (replies and measurements alike) carries a broken payload checksum; 0 is off.
    int corruptEveryNth = 0;
    // Each write is cut into this many pieces with splitGapMs between them; below 2 is off.
    int splitPieces = 0;
    int splitGapMs = 20;
    // Frames are sent in pairs: one waits up to coalesceHoldMs for the next and both go out in one write.
    bool coalesce = false;
    int coalesceHoldMs = 300;
    // Requests of this name are logged but never answered; empty is off.
    QString silentCommand;
    // Requests whose text (as requests() logs it) begins with overridePrefix are answered with overrideReply and
    // change nothing; empty is off. The default reply refuses them as the sensor refuses a bad request.
    QString overridePrefix;
    nlohmann::json overrideReply = nlohmann::json::array({"error"});
    // Tank record replies carry id + 1 (SHIFTED) or OUT_OF_RANGE_ID instead of the record's id.
    RecordIdFaultE recordId = RecordIdFaultE::NONE;
    // A stream-on is answered with a first measurement and only then its "ok".
    bool measurementBeforeStreamOk = false;
    // Only the first stream-off after a stream-on (or after the start) is answered; repeated ones are not.
    bool ignoreRepeatedStreamOff = false;
    // Bytes written in front of every frame.
    QByteArray garbage;
    // The line drops (both ends of the pseudo-terminal close) once this many frames are out; 0 is off.
    int dropAfter = 0;
    // Wait before each reply to a request, in ms; with delayedPrefix set, only before the replies to requests whose
    // text begins with it (a reply held back while the client reconnects).
    int replyDelayMs = 0;
    QString delayedPrefix;
};

// The id an OUT_OF_RANGE record reply carries.
constexpr int OUT_OF_RANGE_ID = 7;
