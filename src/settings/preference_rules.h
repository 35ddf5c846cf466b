#pragma once
// The rules the Preferences dialog applies to what the user typed: range
// corrections, the temperature conversion of the learn limits and the texts
// of the channel filter lists.

#include <cstdint>
#include <string>

namespace vantor {

std::int32_t CorrectSmoothingFactor(std::int32_t value);  // 0..20
std::int32_t CorrectMaxSpeedometer(std::int32_t value);   // 10..340, to the nearest 10
std::int32_t CorrectMaxTachometer(std::int32_t value);    // 1000..8000, to the nearest 1000
std::int32_t CorrectRedline(std::int32_t value);          // 0..8000

// A learn limit shown in the other scale, rounded half up.
std::int32_t CelsiusFromFahrenheit(std::int32_t fahrenheit);
std::int32_t FahrenheitFromCelsius(std::int32_t celsius);

// The filter list: entries 0..10 show 0, 10, ... 100 (100 - [ADnFILTER]).
constexpr int kFilterListEntries = 11;
std::string FilterListText(int entry);
int FilterListEntry(std::int32_t filter);
// [ADnFILTER] from an entry's text: 100 - the number it starts with.
std::int32_t FilterFromListText(const std::string& text);

// The Display Update list, [UPDATERATE] 0..3.
constexpr int kUpdateRateEntries = 4;
const char* UpdateRateText(int entry);

}  // namespace vantor
