#pragma once
// The start-up benches' figures: a median and one printed line per series of timings.

#include <algorithm>
#include <cstdio>
#include <vector>

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "what  median … ms  min … ms  max … ms  (n runs)" and the note, e.g. a target.
inline void printTimings(const char* what, const std::vector<double>& values, const char* note = "") {
    std::printf("%-34s median %7.2f ms  min %7.2f ms  max %7.2f ms  (%d runs%s)\n", what, median(values),
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()),
                int(values.size()), note);
}
