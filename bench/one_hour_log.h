#pragma once
// The one-hour log of the export benchmarks (61,200 frames from the simulated
// ECM, a stamp a minute and a mark every ten), their settings, and processor
// time for ratios that hold however busy the machine is.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "link/crc16.h"
#include "live/frame_reader.h"
#include "settings/settings.h"
#include "sim/engine_model.h"

namespace vantor::bench {

constexpr int kFrames = 61200;

inline std::string BenchPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("vantor_bench_") + std::to_string(getpid()) + name))
      .string();
}

// The log as the recorder writes it: header, frames, a stamp a minute and a mark every ten.
inline const std::string& OneHourLog() {
  static const std::string path = [] {
    const std::string p = BenchPath("_hour.dat");
    std::FILE* file = std::fopen(p.c_str(), "wb");
    std::fputs("TIME: 07/20/2013 - 16:47:09PORT COM2\r\nKPHORMPH 0\r\n", file);
    vantor::sim::EngineModel model(8);
    std::uint8_t data[vantor::kFrameDataSize];
    for (int i = 0; i < kFrames; ++i) {
      if (i % 1020 == 0 && i > 0) std::fputs("TIME: 07/20/2013 - 16:48:09", file);
      if (i % 10200 == 5) std::fprintf(file, "MARK%03dTIME: 07/20/2013 - 16:48:10", i / 10200);
      model.NextFrame(data);
      const std::uint16_t crc = vantor::Crc16Prefixed(0x55, 0xAA, data, sizeof data);
      std::fputc(0x55, file);
      std::fputc(0xAA, file);
      std::fwrite(data, 1, sizeof data, file);
      std::fputc(crc >> 8, file);
      std::fputc(crc & 0xFF, file);
    }
    std::fclose(file);
    return p;
  }();
  return path;
}

inline vantor::Settings BenchSettings(bool csv) {
  vantor::Settings s;
  s.anaCsv = csv ? 1 : 0;
  s.adcChannels[2].type = vantor::kChannelWideband;
  s.adcChannels[2].index = 1;
  s.adcChannels[2].code = 1;
  s.adcChannels[2].wbPreferred = 1;
  s.userDevices[0].active = 1;
  s.userDevices[0].unit = "PSI";
  s.adcChannels[5].type = vantor::kChannelUserDevice;
  return s;
}

// This thread's processor time in seconds.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace vantor::bench
