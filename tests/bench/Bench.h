#pragma once

#include <functional>
#include <string>
#include <vector>

// A benchmark compares the code under test with a baseline run in the same
// process and prints the ratio, so the numbers mean the same on any machine.
// Each case registers itself with KW_BENCH and prints its own lines.
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

// Prints one result line: "name: measured X, baseline Y, ratio Z".
void PrintRatio(const std::string& what, double measuredSeconds, double baselineSeconds, const std::string& unit = "s");
