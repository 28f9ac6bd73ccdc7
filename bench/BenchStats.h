#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

// The figures every benchmark here prints: the best and the median of its runs, in ms.
struct Stats {
    double min;
    double median;
};

inline Stats stats(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median};
}

inline double msSince(const QElapsedTimer &timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
