#include "firstpaint.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaintWatcher_t : public QObject {
public:
    FirstPaintWatcher_t(QWidget* window, std::function<void()> work)
        : QObject(window), window(window), work(std::move(work)) {
        // The whole application's events: an opaque child covering the window is painted instead of the window.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Paint && receiver->isWidgetType() &&
            static_cast<QWidget*>(receiver)->window() == window) {
            qApp->removeEventFilter(this);
            // Queued behind the paint, which covers the whole window, so the painted window reaches the screen first.
            QTimer::singleShot(0, window, std::move(work));
            deleteLater();
        }
        return false;
    }

private:
    QWidget* const window;
    std::function<void()> work;
};

} // namespace

void runAfterFirstPaint(QWidget* window, std::function<void()> work) {
    new FirstPaintWatcher_t(window, std::move(work));
}
