#include "logcapture.h"

#include <mutex>

namespace {
// Guards the active capture and its entries: the serial thread logs while the test thread reads. A standard mutex,
// so that ThreadSanitizer sees the locking (Qt's own is not instrumented).
std::mutex mutex;
LogCapture_t* active = nullptr;
} // namespace

LogCapture_t::LogCapture_t() {
    const std::lock_guard<std::mutex> lock(mutex);
    Q_ASSERT(!active);
    active = this;
    previous = qInstallMessageHandler(&LogCapture_t::record);
}

LogCapture_t::~LogCapture_t() {
    const std::lock_guard<std::mutex> lock(mutex);
    qInstallMessageHandler(previous);
    active = nullptr;
}

void LogCapture_t::record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (active)
        active->recorded.push_back({type, text});
}

std::vector<LogCapture_t::Entry_t> LogCapture_t::entries() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return recorded;
}

QStringList LogCapture_t::texts(QtMsgType type) const {
    return select([type](const Entry_t& entry) { return entry.type == type; });
}

QStringList LogCapture_t::textsStartingWith(const QString& prefix) const {
    return select([&prefix](const Entry_t& entry) { return entry.text.startsWith(prefix); });
}

QStringList LogCapture_t::select(const std::function<bool(const Entry_t&)>& wanted) const {
    const std::lock_guard<std::mutex> lock(mutex);
    QStringList out;
    for (const Entry_t& entry : recorded) {
        if (wanted(entry))
            out << entry.text;
    }
    return out;
}

void LogCapture_t::clear() {
    const std::lock_guard<std::mutex> lock(mutex);
    recorded.clear();
}
