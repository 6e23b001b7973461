#pragma once
// Records every message of the message log, from any thread, while it lives; the previous handler is restored when it
// is destroyed. Messages are recorded only, not printed. One capture at a time.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <vector>

class LogCapture_t {
public:
    struct Entry_t {
        QtMsgType type;
        QString text;
    };

    LogCapture_t();
    ~LogCapture_t();
    LogCapture_t(const LogCapture_t&) = delete;
    LogCapture_t& operator=(const LogCapture_t&) = delete;

    // A copy of everything recorded so far, oldest first.
    std::vector<Entry_t> entries() const;
    // Texts of the messages of one level, oldest first.
    QStringList texts(QtMsgType type) const;
    // Texts of the messages that start with prefix, oldest first.
    QStringList textsStartingWith(const QString& prefix) const;
    void clear();

private:
    QStringList select(const std::function<bool(const Entry_t&)>& wanted) const;
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text);

    std::vector<Entry_t> recorded;
    QtMessageHandler previous;
};
