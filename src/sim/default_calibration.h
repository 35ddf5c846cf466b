#pragma once
// The bank contents the simulated ECM starts with: a plausible layout 1.0
// calibration with its signature, VE table, filler, tail and checksum.

#include <cstdint>
#include <vector>

namespace vantor::sim {

std::vector<std::uint8_t> DefaultBankImage(int bank);

}  // namespace vantor::sim
