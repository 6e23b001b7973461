// Reading a profile from arbitrary bytes: never crashes, every refusal says why, and what is accepted writes back
// to text that reads back to the same text.

#include "sensorprofile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    SensorProfile_t profile;
    QString problem;
    if (!profileFromJson(text, profile, problem)) {
        if (problem.isEmpty())
            std::abort();
        return 0;
    }
    const QByteArray written = profileToJson(profile);
    SensorProfile_t again;
    if (!profileFromJson(written, again, problem) || profileToJson(again) != written)
        std::abort();
    profileFields(profile, again.sensor);
    return 0;
}
