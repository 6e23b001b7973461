#pragma once
// Work that the user need not wait for before a window appears: it runs once, right after the window's first paint.

#include <functional>

class QWidget;

// Runs work once, in the event loop, after window (a top-level widget) has been painted for the first time. Nothing
// runs for a window that is never painted; the work goes with the window.
void runAfterFirstPaint(QWidget* window, std::function<void()> work);
