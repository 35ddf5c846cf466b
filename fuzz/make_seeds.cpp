// vantor_fuzz_seeds DIR: writes the starting corpus of every fuzz target
// into DIR/<target>/: logs built from the simulated engine's frames with
// stamps, marks and a damaged frame; both programs' configuration texts;
// sample BIN images; and the simulated module's replies to a few packets.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "support/sim_rig.h"
#include "support/temp_dir.h"
#include "support/log_builder.h"
#include "settings/settings_io.h"
#include "sim/engine_model.h"

namespace {

namespace fs = std::filesystem;
using vantor::testlog::FrameData;
using vantor::testlog::LogBuilder;

void Save(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string EngineLog(int frames, bool withRecords) {
  vantor::sim::EngineModel engine;
  LogBuilder log;
  log.Recording(" 07/20/2013 - 16:47:09");
  for (int i = 0; i < frames; ++i) {
    FrameData data{};
    engine.NextFrame(data.data());
    if (withRecords && i == 3) log.Frame(data, vantor::testlog::MarkRecord(0, " 07/20/2013 - 16:47:10"), 1);
    else if (withRecords && i == 5) log.Frame(data, vantor::testlog::StampRecord(" 07/20/2013 - 16:47:11"), 40);
    else if (withRecords && i == 7) log.Damaged(data);
    else log.Frame(data);
  }
  return log.Bytes();
}

std::string Replies(const std::vector<vantor::test::Packet>& packets) {
  vantor::sim::SimOptions options;
  options.paced = false;
  vantor::sim::SimEcm ecm(options);
  ecm.Receive(vantor::test::MsPacket('F', 0).data(), vantor::test::MsPacket('F', 0).size());
  std::vector<std::uint8_t> out(70000);
  ecm.Transmit(out.data(), out.size());  // drops the stream's last bytes and the flash-mode reply
  std::string replies;
  for (const auto& packet : packets) {
    ecm.Receive(packet.data(), packet.size());
    const std::size_t got = ecm.Transmit(out.data(), out.size());
    replies.append(reinterpret_cast<const char*>(out.data()), got);
  }
  return replies;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vantor_fuzz_seeds DIR\n");
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* target : {"frame_file", "frame_ring", "log_passes"}) {
    Save(root / target, "plain.dat", EngineLog(20, false));
    Save(root / target, "records.dat", EngineLog(12, true));
  }
  Save(root / "log_passes", "run.dat", EngineLog(120, true));

  vantor::Settings settings;
  Save(root / "settings", "main.cfg", vantor::SettingsText(vantor::MainProgramSettingsTable(), &settings));
  Save(root / "settings", "update.cfg", vantor::SettingsText(vantor::UpdateUtilitySettingsTable(), &settings));

  const auto calibration = vantor::test::SampleCalibration(7);
  const vantor::CalImage image = vantor::MakeImageFromCalibration(calibration.data());
  Save(root / "bin", "sample.bin", std::string(reinterpret_cast<const char*>(image.Data()), vantor::kCalImageSize));
  Save(root / "bin", "short.bin", std::string(reinterpret_cast<const char*>(image.Data()), 600));

  Save(root / "reply", "info.bin", Replies({vantor::test::InfoPacket(2, 0)}));
  Save(root / "reply", "cal.bin", Replies({vantor::test::RequestCalPacket(1)}));
  auto spoiled = vantor::test::ErasePacket(3);
  spoiled.back() ^= 1;  // refused with 'N'
  Save(root / "reply", "erase.bin", Replies({vantor::test::ErasePacket(3), spoiled, vantor::test::StopPacket()}));
  return 0;
}
