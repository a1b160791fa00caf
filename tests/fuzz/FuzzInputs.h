#pragma once

#include <cstdint>
#include <string>

// The inputs of a run, each made again from the run's seed and its index.
enum FuzzKind {
    kFuzzCatalog,
    kFuzzSetupIni,
    kFuzzCommandLine,
};

// A catalog built like the vendor's, then bent field by field (empty,
// absurd, huge, long, unsafe names, deep nesting, many products, cycles of
// dependents) and sometimes damaged byte by byte.
std::string MakeFuzzCatalog(uint64_t seed, uint64_t index);
// A setup.ini with packages and prerequisite sections that list each other,
// bent and damaged the same ways.
std::string MakeFuzzSetupIni(uint64_t seed, uint64_t index);
// A command line of both programs' options, bent and damaged.
std::string MakeFuzzCommandLine(uint64_t seed, uint64_t index);

// The input of that kind and index.
std::string MakeFuzzInput(FuzzKind kind, uint64_t seed, uint64_t index);
