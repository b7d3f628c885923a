#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {
double ToMs(double value, benchmark::TimeUnit unit)
{
    switch (unit) {
    case benchmark::kNanosecond:
        return value / 1e6;
    case benchmark::kMicrosecond:
        return value / 1e3;
    case benchmark::kMillisecond:
        return value;
    case benchmark::kSecond:
        return value * 1e3;
    }
    return value;
}

double MedianOf(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        if (run.error_occurred)
            continue;
        const std::string& name = run.run_name.function_name;
        if (!m_samples.count(name))
            m_order.push_back(name);
        Samples& s = m_samples[name];
        const double real = ToMs(run.GetAdjustedRealTime(), run.time_unit);
        const double cpu = ToMs(run.GetAdjustedCPUTime(), run.time_unit);
        if (run.run_type == Run::RT_Iteration) {
            s.real.push_back(real);
            s.cpu.push_back(cpu);
        } else if (run.aggregate_name == "median") {
            s.median = {real, cpu};
        }
    }
}

RatioReporter::Times RatioReporter::Median(const std::string& name) const
{
    const auto it = m_samples.find(name);
    if (it == m_samples.end())
        return {};
    if (it->second.median.realMs >= 0)
        return it->second.median;
    return {MedianOf(it->second.real), MedianOf(it->second.cpu)};
}

void RatioReporter::Finalize()
{
    std::ostream& out = GetOutputStream();
    char line[256];
    out << "\nRatios ours/bare (medians per iteration; the limit " << m_limit << "x applies to real time)\n";
    std::snprintf(line, sizeof line, "%-36s %10s %10s %7s   %10s %10s %7s\n", "case", "ours ms", "bare ms", "real",
                  "ours cpu", "bare cpu", "cpu");
    out << line;
    for (const std::string& name : m_order) {
        std::string prefix;
        if (EndsWith(name, "/ours"))
            prefix = name.substr(0, name.size() - 5);
        else if (EndsWith(name, "/ours_colour"))
            prefix = name.substr(0, name.size() - 12);
        else
            continue;
        const Times ours = Median(name);
        const Times bare = Median(prefix + "/bare");
        if (bare.realMs <= 0 || bare.cpuMs <= 0) {
            std::snprintf(line, sizeof line, "%-36s %10.3f %10s\n", name.c_str(), ours.realMs, "-");
        } else {
            const double ratio = ours.realMs / bare.realMs;
            std::snprintf(line, sizeof line, "%-36s %10.3f %10.3f %7.2f   %10.3f %10.3f %7.2f%s\n", name.c_str(),
                          ours.realMs, bare.realMs, ratio, ours.cpuMs, bare.cpuMs, ours.cpuMs / bare.cpuMs,
                          ratio > m_limit ? "  over the limit" : "");
        }
        out << line;
    }
    ConsoleReporter::Finalize();
}
