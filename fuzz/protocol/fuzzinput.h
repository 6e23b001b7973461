#pragma once
// Shared by the fuzz entry points: typed values taken from the front of the fuzz input, and a silent message log
// (the receive path logs several lines per item; formatting them still runs).

#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <cstring>

inline void silenceMessageLog() {
    static const bool installed =
        (qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}), true);
    (void)installed;
}

class FuzzInput_t {
public:
    FuzzInput_t(const std::uint8_t* data, std::size_t size) : dataP(data), left(size) {}

    std::uint8_t byte() {
        if (left == 0)
            return 0;
        --left;
        return *dataP++;
    }
    std::int32_t int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        std::int32_t out;
        std::memcpy(&out, &value, sizeof out);
        return out;
    }
    // Up to 255 bytes, length first.
    QByteArray bytes() {
        const std::size_t n = qMin<std::size_t>(byte(), left);
        const QByteArray out(reinterpret_cast<const char*>(dataP), int(n));
        dataP += n;
        left -= n;
        return out;
    }
    QByteArray rest() {
        const QByteArray out(reinterpret_cast<const char*>(dataP), int(left));
        dataP += left;
        left = 0;
        return out;
    }

private:
    const std::uint8_t* dataP;
    std::size_t left;
};
