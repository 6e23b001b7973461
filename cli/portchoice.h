#pragma once
// Which port a command opens: the one --port names, or the only sensor found.

#include "exitcodee.h"
#include "portlist.h"

// wanted: a shown name or port name among found, or else a device path opened as it is; empty: the only port found.
// Anything but OK comes with a problem that names the sensors found.
ExitCodeE choosePort(const QString& wanted, const QList<ShownPort_t>& found, ShownPort_t& chosen, QString& problem);
