#pragma once
// Finds a named widget of a form; the test stops at once when there is none.

#include <QString>
#include <QWidget>

template <typename T = QWidget>
T* child(const QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}
