#pragma once

#include <string>

// Replaces %NAME% references by the environment's values. On failure the
// text is left as it was (and the failure traced).
void ExpandEnvironment(std::string& text);
