#pragma once
// A simulated module with eight banks in mixed layouts, the bank files'
// directory, and the contents every bank must have after an update.

#include <array>
#include <filesystem>
#include <vector>

#include "cal/cal_image.h"
#include "support/sim_rig.h"
#include "support/temp_dir.h"
#include "update/bank_update.h"
#include "update/calibration_migration.h"

namespace vantor::test {

// The bank file a read of this calibration makes: filler, tail and balance added.
inline std::vector<std::uint8_t> BankImageOf(const std::vector<std::uint8_t>& calibration) {
  const CalImage image = MakeImageFromCalibration(calibration.data());
  return std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize);
}

class UpdateWorld {
 public:
  explicit UpdateWorld(unsigned seed, sim::SimOptions options = UnpacedSim())
      : rig(UpdateUtilityProfile(), options), firmware(StandInFirmwareImage()) {
    for (int bank = 0; bank < kBankCount; ++bank) {
      // Bank 0 already carries 1.1 and the new code; bank 1 is at 0.9; the rest at 1.0.
      const std::uint8_t minor = bank == 1 ? 9 : 0;
      const auto calibration = SampleCalibration(seed * 16 + static_cast<unsigned>(bank), bank == 1 ? 0 : 1, minor);
      const CalImage migrated = MigratedImage(calibration.data());
      std::vector<std::uint8_t> updated(kCalImageSize);
      std::copy_n(migrated.Data(), kCalibrationSize, updated.begin());
      std::copy(firmware.begin(), firmware.end(), updated.begin() + kCalibrationSize);
      expected[bank] = updated;
      if (bank == 0) {
        rig.ecm.LoadBank(bank, updated);
      } else {
        rig.ecm.LoadBank(bank, BankImageOf(calibration));
      }
    }
    run.directory = dir.Path();
    run.firmware = &firmware;
    run.conversionPause = std::chrono::milliseconds(0);
  }

  bool AllBanksUpdated() const {
    for (int bank = 0; bank < kBankCount; ++bank)
      if (rig.ecm.Bank(bank) != expected[bank]) return false;
    return true;
  }

  // Leaves a saved "Bank_%d_old.bin" in the run's folder, as an earlier run would.
  void SaveOldFile(int bank, const std::vector<std::uint8_t>& bytes) const {
    std::filesystem::create_directories(run.directory);
    WriteAll(OldBankPath(run.directory, bank), bytes);
  }

  TempDir dir;
  SimRig rig;
  FirmwareImage firmware;
  std::array<std::vector<std::uint8_t>, kBankCount> expected;
  UpdateRun run;
};

// Every packet of a run that starts from the module as UpdateWorld sets it up.
inline std::vector<Packet> FullUpdatePackets(const UpdateWorld& world) {
  std::vector<Packet> packets{MsPacket('X', 0), MsPacket('F', 0)};
  for (int bank = 0; bank < kBankCount; ++bank) {
    packets.push_back(InfoPacket(bank, 0));
    packets.push_back(RequestCalPacket(bank));
  }
  for (int bank = 0; bank < kBankCount; ++bank) {
    packets.push_back(InfoPacket(bank, 0));
    packets.push_back(RequestCalPacket(bank));
    if (bank == 0) continue;
    const auto& want = world.expected[bank];
    for (int s = 0; s < 8; ++s) packets.push_back(ErasePacket(bank * 8 + s));
    for (int page = 1; page < 64; ++page) packets.push_back(PagePacket(page, want.data() + page * 128));
    packets.push_back(RequestCalPacket(bank));
    for (int page = 64; page < 256; ++page) packets.push_back(PagePacket(page, want.data() + page * 128));
    packets.push_back(RequestBinPacket(bank));
    packets.push_back(PagePacket(0, want.data()));
  }
  packets.push_back(StopPacket());
  return packets;
}

}  // namespace vantor::test
