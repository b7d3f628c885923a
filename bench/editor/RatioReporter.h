// Console output plus a closing table of ours/bare ratios: every benchmark
// named ".../ours" or ".../ours_colour" is set against ".../bare".
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // Ratios above limit are marked in the table.
    explicit RatioReporter(double limit) : m_limit(limit) {}

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

    struct Times
    {
        double realMs = -1;
        double cpuMs = -1;
    };
    // Median times per iteration (the median aggregate when repetitions ran);
    // negative when name did not run.
    Times Median(const std::string& name) const;

private:
    struct Samples
    {
        std::vector<double> real, cpu;
        Times median;   // from the "median" aggregate, when there is one
    };
    double m_limit;
    std::map<std::string, Samples> m_samples;
    std::vector<std::string> m_order;
};
