#pragma once
// The bank contents the simulated ECM starts with: a plausible layout 1.0
// calibration with its signature, VE table, filler, tail and checksum.

#include <cstdint>
#include <vector>

namespace vantor::sim {

std::vector<std::uint8_t> DefaultBankImage(int bank);

// The VE cell (1/256) the default calibration of a bank holds at an RPM and MAP.
std::uint8_t DefaultVeCell(int rpm, int mapKpa, int bank);

}  // namespace vantor::sim
