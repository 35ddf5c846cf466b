#pragma once
// Before a bank is erased, the calibration the module holds is held against
// the saved files: a run may only carry on with a module whose bank is what
// the saved "Bank_%d_old.bin" says, or what an interrupted run can have left
// of it. Saved files from another module must never be programmed.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// True when every 128-byte page of the module's 8,192 calibration bytes
// equals that page of the saved file, or of the converted file, or is erased
// (all 0xFF).
bool HoldsSavedCalibration(const std::uint8_t* module, const std::uint8_t* saved, const std::uint8_t* converted);

// What the user does about saved files from another module, in lines of at
// most width characters, naming the folder (shortened to fit).
std::vector<std::string> ForeignSavedFilesAdvice(const std::string& folder, std::size_t width);

}  // namespace vantor
