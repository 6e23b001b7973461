#pragma once
// Standard output for a program's data alone, while the frame codec, which prints its diagnostics there, writes
// elsewhere. Taken in two steps, so that --help and --version can still print in between.

#include <cstdio>

// First thing in the process, before any descriptor is opened: a reader that goes away makes writes fail with EPIPE
// instead of killing the process, and a closed standard output is taken by /dev/null, so no later descriptor lands on
// it. False when standard output was closed.
bool reserveStandardOutput();

// Moves standard output to a stream of its own and puts diagnostics (a descriptor, kept open by the caller; -1 for
// /dev/null) in its place. Null when the descriptors cannot be rearranged.
std::FILE* takeStandardOutput(int diagnostics = -1);
