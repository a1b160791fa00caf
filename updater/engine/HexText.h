#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Lower-case hexadecimal digits, two per byte.
std::string ToHexText(const std::uint8_t* bytes, std::size_t size);
// Reads hexadecimal digits of either case, two per byte; false for an odd
// count or any other character.
bool FromHexText(const std::string& text, std::vector<std::uint8_t>& bytes);
