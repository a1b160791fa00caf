#pragma once

#include <cstdint>
#include <string>

// The root attributes that keep a signed catalog from being replayed: an
// increasing "serial" and an "expires" date. The highest serial this user
// accepted is kept in the per-user updates key.

// The text value under UpdatesRegistryKey holding that serial, in decimal.
extern const char* const kCatalogSerialValueName;

// A serial is decimal digits only, at most 18 of them; an empty text is 0.
bool ParseCatalogSerial(const std::string& text, std::uint64_t& serial);
// A date is written YYYY-MM-DD (2013-01-31) and must exist in the calendar;
// it comes back as the number YYYYMMDD.
bool ParseCatalogDate(const std::string& text, int& date);
// Today in Coordinated Universal Time, as YYYYMMDD.
int TodayUtc();

// 0 when nothing was accepted yet or the value cannot be read.
std::uint64_t ReadAcceptedSerial();
// Keeps the serial when it is higher than the one kept; a registry failure
// is logged and gives false.
bool RecordAcceptedSerial(std::uint64_t serial);
