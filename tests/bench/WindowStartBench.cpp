#include "Bench.h"

#include <cstdlib>

// scripts/run-bench.sh starts the programs under Xvfb and times them until
// the UI driver finds their first window; the baseline is a trivial program
// with one window, so the ratio leaves out what any start costs under Wine.
KW_BENCH(FirstWindow)
{
    const std::string trivial = BenchEnvironment("KW_BENCH_TRIVIAL_SECONDS");
    const std::string updater = BenchEnvironment("KW_BENCH_UPDATER_SECONDS");
    const std::string setup = BenchEnvironment("KW_BENCH_SETUP_SECONDS");
    if (trivial.empty()) {
        PrintSkipped("start to first window", "run through scripts/run-bench.sh, which drives the windows");
        return;
    }
    const double baseline = std::atof(trivial.c_str());
    if (updater.empty())
        PrintSkipped("updater start to check dialog", "the window did not show");
    else
        PrintRow("updater start to check dialog", std::atof(updater.c_str()), "melvaro.exe stand-in window", baseline);
    if (setup.empty())
        PrintSkipped("setup start to language dialog", "the window did not show");
    else
        PrintRow("setup start to language dialog", std::atof(setup.c_str()), "melvaro.exe stand-in window", baseline);
}
