#include "Bench.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char kRowFormat[] = "%-44s %9s  %-30s %9s  %6s  %-11s %s\n";

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

std::vector<BenchCase>& BenchCases()
{
    static std::vector<BenchCase> cases;
    return cases;
}

double BestSeconds(int runs, const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (i == 0 || seconds < best)
            best = seconds;
    }
    return best;
}

void PrintRow(const std::string& what, double seconds, const std::string& baseline, double baselineSeconds,
              BenchTarget target)
{
    const double ratio = baselineSeconds > 0 ? seconds / baselineSeconds : 0;
    char ratioText[32];
    std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    char targetText[32] = "-";
    const char* met = "";
    if (target.maxRatio > 0) {
        std::snprintf(targetText, sizeof targetText, "ratio<=%.2f", target.maxRatio);
        met = ratio <= target.maxRatio ? "met" : "MISSED";
    } else if (target.maxSeconds > 0) {
        std::snprintf(targetText, sizeof targetText, "<%.1f s", target.maxSeconds);
        met = seconds < target.maxSeconds ? "met" : "MISSED";
    }
    std::printf(kRowFormat, what.c_str(), Seconds(seconds).c_str(), baseline.c_str(), Seconds(baselineSeconds).c_str(),
                ratioText, targetText, met);
    std::fflush(stdout);
}

void PrintSkipped(const std::string& what, const std::string& reason)
{
    std::printf("%-44s skipped: %s\n", what.c_str(), reason.c_str());
    std::fflush(stdout);
}

std::string BenchEnvironment(const char* name)
{
    char value[1024] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// Runs every case, or those whose name contains the first argument, and
// prints their rows as one table. Ratios are time over baseline.
int main(int argc, char** argv)
{
    std::printf(kRowFormat, "Measured", "seconds", "Baseline", "seconds", "ratio", "target", "");
    for (const BenchCase& bench : BenchCases()) {
        if (argc > 1 && std::strstr(bench.name.c_str(), argv[1]) == nullptr)
            continue;
        bench.run();
    }
    return 0;
}
