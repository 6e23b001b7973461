#pragma once
// JSON values to and from the bytes of one frame on the line (CBOR payload, frame codec, delimiter).

#include <QByteArray>
#include <nlohmann/json.hpp>

// Largest CBOR payload a frame may carry.
constexpr int MAX_PAYLOAD_SIZE = 1024;

// The frame bytes (delimiter included) for a JSON value, or an empty array with a warning on the message log
// when its CBOR form does not fit MAX_PAYLOAD_SIZE (checked for depth first, without recursion).
QByteArray jsonToFrame(const nlohmann::json& value);

// One received item (COBS bytes ending in the delimiter) as a JSON value. Strict CBOR, tags refused.
// Any bad frame (codec checks, CRC, CBOR) gives a null value, and so does a payload longer than MAX_PAYLOAD_SIZE
// (which bounds the nesting depth the CBOR decoder recurses through). Never throws; the caller's bytes are not
// touched.
nlohmann::json frameToJson(const QByteArray& frame);
