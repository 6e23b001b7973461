#pragma once
// SIGINT and SIGTERM end the event loop like QCoreApplication::quit(), so the code after exec() still runs.

class QCoreApplication;

// False when the self-pipe or the handlers cannot be set up.
bool quitOnTerminationSignals(QCoreApplication& app);
