#pragma once
// Registers the value types that cross from the serial thread to the window in queued signals.
// Call first thing, before any serial link exists.
void registerMetaTypes();
