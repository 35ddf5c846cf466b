#include "settings/user_device_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vantor {
namespace {

constexpr std::size_t kScanLimit = 31;
constexpr double kVoltsMax = 5.0;
constexpr double kReadingMax = 9999.9999;
constexpr double kReadingMin = -999.9999;

// The value of a whole text; false for an empty text or one with no number.
bool ParseNumber(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtod(text.c_str(), &end);
  return end != text.c_str();
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::string FilterTypedNumber(const std::string& text, bool signedDecimal, bool* removed) {
  std::string kept;
  bool point = false;
  *removed = false;
  for (std::size_t i = 0; i < text.size() && i < kScanLimit; ++i) {
    const char c = text[i];
    const bool keep = (c >= '0' && c <= '9') || (signedDecimal && c == '-' && i == 0) ||
                      (signedDecimal && c == '.' && !point);
    if (c == '.' && keep) point = true;
    if (keep)
      kept += c;
    else
      *removed = true;
  }
  if (text.size() > kScanLimit) kept += text.substr(kScanLimit);
  return kept;
}

int CheckVolts(std::string& text) {
  double value = 0.0;
  int result = 0;
  if (!ParseNumber(text, &value) || value < 0.0) {
    value = 0.0;
    result = -1;
  } else if (value > kVoltsMax) {
    value = kVoltsMax;
    result = -1;
  }
  text = Format("%.3f", std::trunc(value * 1000 + 0.55) / 1000);
  return result;
}

int CheckReading(std::string& text) {
  double value = 0.0;
  int result = 0;
  if (!ParseNumber(text, &value)) {
    value = 0.0;
    result = -1;
  } else if (value > kReadingMax || value < kReadingMin) {
    value = std::clamp(value, kReadingMin, kReadingMax);
    result = -1;
  }
  const double half = value < 0 ? -0.55 : 0.55;
  text = Format("%.4f", std::trunc(value * 10000 + half) / 10000);
  return result;
}

int CheckPlaces(std::string& text) {
  if (std::atoi(text.c_str()) <= kPlacesMax) return 0;
  text = std::to_string(kPlacesMax);
  return -1;
}

UserDeviceTexts SlotTexts(const UserDevice& device) {
  UserDeviceTexts texts;
  texts.name = device.active ? device.name : kNewDeviceName;
  texts.unit = device.unit;
  texts.voltsJ = Format("%.3f", device.voltJ / 1000.0);
  texts.voltsK = Format("%.3f", device.voltK / 1000.0);
  texts.readingJ = Format("%.4f", device.unitJ / 10000.0);
  texts.readingK = Format("%.4f", device.unitK / 10000.0);
  texts.places = std::to_string(device.precision);
  return texts;
}

void SaveSlot(UserDeviceTexts& texts, UserDevice& device) {
  CheckVolts(texts.voltsJ);
  CheckVolts(texts.voltsK);
  CheckReading(texts.readingJ);
  CheckReading(texts.readingK);
  CheckPlaces(texts.places);
  // Rounded: the texts are exact to the stored unit, a truncation could lose one.
  const auto milli = [](const std::string& t) { return static_cast<std::int32_t>(std::lround(std::atof(t.c_str()) * 1000)); };
  const auto tenThousandths = [](const std::string& t) {
    return static_cast<std::int32_t>(std::lround(std::atof(t.c_str()) * 10000));
  };
  device.active = 1;
  device.name = texts.name.substr(0, kUserDeviceNameMax);
  device.unit = texts.unit.substr(0, kUserDeviceUnitMax);
  device.voltJ = milli(texts.voltsJ);
  device.voltK = milli(texts.voltsK);
  device.unitJ = tenThousandths(texts.readingJ);
  device.unitK = tenThousandths(texts.readingK);
  device.precision = std::clamp(std::atoi(texts.places.c_str()), 0, kPlacesMax);
}

void ClearSlot(UserDevice& device) {
  const std::int32_t slot = device.slot;
  device = UserDevice{};
  device.slot = slot;
}

}  // namespace vantor
