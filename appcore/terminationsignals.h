#pragma once
// SIGINT, SIGTERM and SIGHUP (the terminal closed) call a handler in the event loop instead of ending the process, so
// the program can end what it has under way (a sensor left streaming, a link) and still run the code after exec().

#include <functional>

class QCoreApplication;

// The handler runs in app's thread, once per batch of signals. False when the self-pipe or the handlers cannot be
// set up.
bool onTerminationSignals(QCoreApplication& app, std::function<void()> handler);
