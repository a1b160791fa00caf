#pragma once

#include <functional>
#include <string>
#include <vector>

// A benchmark compares the code under test with a baseline measured in the
// same run and prints the ratio, so the numbers mean the same on any
// machine. Each case registers itself with KW_BENCH and prints rows of the
// one table that kwbench prints.
using BenchFunction = std::function<void()>;

struct BenchCase {
    std::string name;
    BenchFunction run;
};

std::vector<BenchCase>& BenchCases();

struct BenchRegistration {
    BenchRegistration(const char* name, BenchFunction run) { BenchCases().push_back({name, std::move(run)}); }
};

#define KW_BENCH(name)                                                                                                 \
    static void name();                                                                                                \
    static BenchRegistration name##_registration(#name, name);                                                         \
    static void name()

// Seconds taken by the best of the given number of runs of the function.
double BestSeconds(int runs, const std::function<void()>& work);

// What the run's goal is for a row: the most the ratio (time over baseline)
// or the time may be; 0 for none.
struct BenchTarget {
    double maxRatio = 0;
    double maxSeconds = 0;
};

// One row: what was measured and its seconds, the baseline and its seconds,
// their ratio (below 1 is faster) and whether the target is met.
void PrintRow(const std::string& what, double seconds, const std::string& baseline, double baselineSeconds,
              BenchTarget target = BenchTarget());
// A row that could not be measured, and why.
void PrintSkipped(const std::string& what, const std::string& reason);

// A value scripts/run-bench.sh measured outside Wine; empty when not set.
std::string BenchEnvironment(const char* name);
