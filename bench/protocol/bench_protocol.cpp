// Throughput of the frame codec and the JSON layer, with memcpy of 1 KiB as the ceiling.
// The codec prints its diagnostics to standard output, which goes to /dev/null here; the figures go to standard
// error. Run: bench_protocol [--benchmark_filter=...]

#include "lumo_cobs.h"
#include "requests.h"
#include "wireframe.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

namespace {
constexpr std::size_t KIB = 1024;

// Deterministic bytes with zeros about as often as in random data.
std::vector<std::uint8_t> pseudoRandom(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    std::uint32_t x = 12345;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = std::uint8_t(x >> 16);
    }
    return bytes;
}

const std::vector<std::uint8_t> INFO_PAYLOAD{0x81, 0x64, 0x49, 0x6E, 0x66, 0x6F};

// A payload that makes a frame of exactly 1 KiB.
std::vector<std::uint8_t> kibFramePayload(bool zeros) {
    return zeros ? std::vector<std::uint8_t>(KIB - COBS_FRAME_OVERHEAD, 0) : pseudoRandom(KIB - COBS_FRAME_OVERHEAD);
}

std::vector<std::uint8_t> encoded(const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
    std::memcpy(area.data() + COBS_HEADER_SIZE, payload.data(), payload.size());
    std::vector<std::uint8_t> out(COBS_ENCODED_MAX(std::uint32_t(payload.size())));
    out.resize(CobsEncode(area.data() + COBS_HEADER_SIZE, std::uint16_t(payload.size()), out.data()));
    return out;
}

void setRates(benchmark::State& state, std::size_t bytesPerItem) {
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytesPerItem));
    state.SetItemsProcessed(std::int64_t(state.iterations()));
}

void memcpy1KiB(benchmark::State& state) {
    const std::vector<std::uint8_t> source = pseudoRandom(KIB);
    std::vector<std::uint8_t> target(KIB);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), KIB);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    setRates(state, KIB);
}
BENCHMARK(memcpy1KiB);

void crc16_1KiB(benchmark::State& state) {
    const std::vector<std::uint8_t> data = pseudoRandom(KIB);
    for (auto _ : state)
        benchmark::DoNotOptimize(CobsCrc16(data.data(), 0, std::uint16_t(KIB)));
    setRates(state, KIB);
}
BENCHMARK(crc16_1KiB);

void cobsEncode(benchmark::State& state, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> area(COBS_FRAME_OVERHEAD + payload.size());
    std::memcpy(area.data() + COBS_HEADER_SIZE, payload.data(), payload.size());
    std::vector<std::uint8_t> out(COBS_ENCODED_MAX(std::uint32_t(payload.size())));
    for (auto _ : state) {
        benchmark::DoNotOptimize(CobsEncode(area.data() + COBS_HEADER_SIZE, std::uint16_t(payload.size()), out.data()));
        benchmark::ClobberMemory();
    }
    setRates(state, payload.size() + COBS_FRAME_OVERHEAD);
}
BENCHMARK_CAPTURE(cobsEncode, frame_1KiB, kibFramePayload(false));
BENCHMARK_CAPTURE(cobsEncode, frame_Info_16B, INFO_PAYLOAD);

// Decoding works in place, so it runs over a block of fresh copies that is refilled outside the timing.
void cobsDecode(benchmark::State& state, const std::vector<std::uint8_t>& payload) {
    constexpr std::size_t COPIES = 256;
    const std::vector<std::uint8_t> item = encoded(payload);
    std::vector<std::uint8_t> block(COPIES * item.size());
    std::size_t next = COPIES;
    for (auto _ : state) {
        if (next == COPIES) {
            state.PauseTiming();
            for (std::size_t i = 0; i < COPIES; ++i)
                std::memcpy(block.data() + i * item.size(), item.data(), item.size());
            next = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(CobsDecode(block.data() + next++ * item.size(), std::uint32_t(item.size())));
        benchmark::ClobberMemory();
    }
    setRates(state, item.size());
}
BENCHMARK_CAPTURE(cobsDecode, frame_1KiB, kibFramePayload(false));
BENCHMARK_CAPTURE(cobsDecode, frame_1KiB_all_zero_payload, kibFramePayload(true));
BENCHMARK_CAPTURE(cobsDecode, frame_Info_16B, INFO_PAYLOAD);

void frameToJson_tankRecordReply(benchmark::State& state) {
    const QByteArray item = jsonToFrame(nlohmann::json::parse(
        R"(["TankConfig", {"id":1,"Shape":"Toroidal","Orientation":"Horizontal","Height":600,"Length":600,)"
        R"("OuterDiameter":630,"InnerDiameter":172,"Wall":3}])"));
    for (auto _ : state)
        benchmark::DoNotOptimize(frameToJson(item));
    setRates(state, std::size_t(item.size()));
}
BENCHMARK(frameToJson_tankRecordReply);

void jsonToFrame_tankRecordWrite(benchmark::State& state) {
    const nlohmann::json request = reqWriteTankRecord({2, "Cylindric", "Horizontal", 640, 640, 300, 0, 3});
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray frame = jsonToFrame(request);
        bytes = std::size_t(frame.size());
        benchmark::DoNotOptimize(frame);
    }
    setRates(state, bytes);
}
BENCHMARK(jsonToFrame_tankRecordWrite);
} // namespace

int main(int argc, char** argv) {
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
