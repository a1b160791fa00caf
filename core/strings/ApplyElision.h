#pragma once

#include <string>

// French elision after formatting: "+de+ " before a vowel becomes "d'", before
// anything else "de " (likewise "+De+ ", "+DE+ " and the "que" forms).
void ApplyElision(std::string& text);
