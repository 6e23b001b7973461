#pragma once
// The program's pictures and icon as Qt resources.

// Makes the resources available. Safe to call more than once; call it before the first picture is loaded.
void initResources();
