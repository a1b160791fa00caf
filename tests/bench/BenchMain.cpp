#include "Bench.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

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

void PrintRatio(const std::string& what, double measuredSeconds, double baselineSeconds, const std::string& unit)
{
    std::printf("%-48s %10.4f %s  baseline %10.4f %s  ratio %.2f\n", what.c_str(), measuredSeconds, unit.c_str(),
                baselineSeconds, unit.c_str(), baselineSeconds > 0 ? measuredSeconds / baselineSeconds : 0.0);
    std::fflush(stdout);
}

// Runs every case, or those whose name contains the first argument.
int main(int argc, char** argv)
{
    for (const BenchCase& bench : BenchCases()) {
        if (argc > 1 && std::strstr(bench.name.c_str(), argv[1]) == nullptr)
            continue;
        std::printf("== %s\n", bench.name.c_str());
        bench.run();
    }
    return 0;
}
