#pragma once
// Registers the value types that cross from the serial thread in queued signals. Every link registers them as it is
// made; the program also does so first thing.
#include <QMetaType>
#include <nlohmann/json.hpp>

Q_DECLARE_METATYPE(nlohmann::json)

void registerMetaTypes();
