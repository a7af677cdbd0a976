#pragma once
// Median and 99th percentile of timed runs, in microseconds, for the benchmarks.
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

struct TStats {
    double median = 0, p99 = 0;
};

inline TStats Stats(std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[std::min(us.size() - 1, us.size() * 99 / 100)]};
}

// Times runs of timed(prepare(run)): prepare runs first, untimed, and after() follows each
// run, untimed.
template <class Prepare, class Timed>
TStats TimePreparedRuns(int runs, Prepare&& prepare, Timed&& timed, const std::function<void()>& after = {})
{
    std::vector<double> us;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        auto&& prepared = prepare(run);
        timer.start();
        timed(prepared);
        us.push_back(timer.nsecsElapsed() / 1000.0);
        if (after) after();
    }
    return Stats(us);
}

// Times runs of timed(run); after() follows each run, untimed.
template <class Timed>
TStats TimeRuns(int runs, Timed&& timed, const std::function<void()>& after = {})
{
    return TimePreparedRuns(
        runs, [](int run) { return run; }, timed, after);
}
