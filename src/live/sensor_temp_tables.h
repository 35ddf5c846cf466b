#pragma once
// Thermistor lookup tables of the diagnostics: A/D count -> temperature code
// (degrees C = code x 0.75 - 40), from 255 at count 0 down to 0 at count 255.

#include <array>
#include <cstdint>

namespace vantor {

using SensorTempTable = std::array<std::uint16_t, 256>;

constexpr int kCoolantTableHot = 0;   // coolant sensor, frame byte 212 bit 0 set
constexpr int kIntakeAirTable = 1;
constexpr int kCoolantTableCold = 2;  // coolant sensor otherwise, indexed count + 10

const SensorTempTable& SensorTempTableAt(int table);

}  // namespace vantor
