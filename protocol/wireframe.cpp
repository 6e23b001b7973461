#include "wireframe.h"

#include "lumo_cobs.h"

#include <QDebug>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

using nlohmann::json;

namespace {
// to_cbor recurses once per level, so depth is checked without recursion first. Every level costs at least one
// CBOR byte, so a value nested deeper than the payload limit could not fit anyway.
bool nestedDeeperThan(const json& value, std::size_t limit) {
    std::vector<std::pair<const json*, std::size_t>> pending{{&value, 0}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node->is_structured())
            continue;
        if (depth >= limit)
            return true;
        for (const json& child : *node)
            pending.emplace_back(&child, depth + 1);
    }
    return false;
}
} // namespace

QByteArray jsonToFrame(const json& value) {
    if (nestedDeeperThan(value, MAX_PAYLOAD_SIZE)) {
        qWarning() << "Request does not fit a frame";
        return {};
    }
    const std::vector<std::uint8_t> cbor = json::to_cbor(value);
    if (cbor.size() > std::size_t(MAX_PAYLOAD_SIZE)) {
        qWarning() << "Request does not fit a frame:" << cbor.size();
        return {};
    }
    // The codec writes the header in front of the payload and its CRC behind it.
    std::array<std::uint8_t, COBS_HEADER_SIZE + MAX_PAYLOAD_SIZE + COBS_CRC_SIZE> frame;
    std::memcpy(frame.data() + COBS_HEADER_SIZE, cbor.data(), cbor.size());
    QByteArray out(int(COBS_ENCODED_MAX(cbor.size())), Qt::Uninitialized);
    const std::uint32_t written = CobsEncode(frame.data() + COBS_HEADER_SIZE, std::uint16_t(cbor.size()),
                                             reinterpret_cast<std::uint8_t*>(out.data()));
    out.resize(int(written));
    return out;
}

json frameToJson(const QByteArray& frame) {
    QByteArray buffer(frame.constData(), frame.size()); // decoded in place: never the caller's bytes
    auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
    const std::uint32_t length = CobsDecode(bytes, std::uint32_t(buffer.size()));
    if (CobsCheckHeader(bytes, length) == 2)
        return nullptr;
    const std::uint8_t* payload = nullptr;
    const std::uint16_t payloadLength = CobsCheckPayload(bytes, &payload);
    if (payloadLength == 0)
        return nullptr;
    // from_cbor recurses once per nesting level; the size limit bounds the depth.
    if (payloadLength > MAX_PAYLOAD_SIZE) {
        qWarning() << "Reply too large:" << payloadLength;
        return nullptr;
    }
    try {
        json value = json::from_cbor(payload, payload + payloadLength, true, false, json::cbor_tag_handler_t::error);
        if (value.is_discarded())
            return nullptr;
        return value;
    } catch (const json::exception&) {
        // A huge declared array or map length throws out_of_range.408 even with exceptions disabled.
        return nullptr;
    }
}
