#include "settings/preference_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vantor {

std::int32_t CorrectSmoothingFactor(std::int32_t value) { return std::clamp(value, 0, 20); }

std::int32_t CorrectMaxSpeedometer(std::int32_t value) { return (std::clamp(value, 10, 340) + 5) / 10 * 10; }

std::int32_t CorrectMaxTachometer(std::int32_t value) {
  return (std::clamp(value, 1000, 8000) + 500) / 1000 * 1000;
}

std::int32_t CorrectRedline(std::int32_t value) { return std::clamp(value, 0, 8000); }

std::int32_t CelsiusFromFahrenheit(std::int32_t fahrenheit) {
  return static_cast<std::int32_t>((fahrenheit - 32) / 1.8 + 0.5);
}

std::int32_t FahrenheitFromCelsius(std::int32_t celsius) { return static_cast<std::int32_t>(celsius * 1.8 + 32 + 0.5); }

std::string FilterListText(int entry) {
  const int number = entry * 10;
  const char* format = "   %3d %%";
  if (number == 0) format = "   %3d %%    (fast)";
  if (number == 100) format = "   %3d %%  (slow)";
  char text[32];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

int FilterListEntry(std::int32_t filter) { return std::clamp((100 - filter) / 10, 0, kFilterListEntries - 1); }

std::int32_t FilterFromListText(const std::string& text) {
  return 100 - static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

const char* UpdateRateText(int entry) {
  static const char* const kTexts[kUpdateRateEntries] = {"  4 Times a Second", "  6 Times a Second",
                                                         "  9 Times a Second", "17 Times a Second"};
  return kTexts[std::clamp(entry, 0, kUpdateRateEntries - 1)];
}

}  // namespace vantor
