#pragma once

#include <string>

// The value of an environment variable; empty when it is not set.
std::string EnvironmentValue(const char* name);
