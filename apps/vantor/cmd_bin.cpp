// vantor bin: look into a calibration BIN file, print its VE table, convert it to layout 1.1.

#include <cstdio>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"
#include "cal/ve_file.h"
#include "cal/ve_table.h"
#include "bin_check.h"
#include "cli.h"
#include "update/bin_naming.h"
#include "update/calibration_migration.h"

namespace vantor::cli {
namespace {

int RunBin(const std::vector<std::string>& argv);

const Command kBin{"bin", "inspect, print the VE table of, or convert a calibration BIN",
                   "usage: vantor bin info FILE.bin\n"
                   "       vantor bin ve FILE.bin [--raw]\n"
                   "       vantor bin convert SRC.bin [DST.bin]\n\n"
                   "info     signature, learn generation, layout version, stored checksum, the\n"
                   "         sums of bytes 0x0008-0x1FFF and 0x0008-0x7FFF, and the file size\n"
                   "ve       the 35 x 14 VE table, one RPM row per line after a MAP header;\n"
                   "         whole percent, or the raw cells with --raw\n"
                   "convert  the update utility's conversion to layout 1.1; DST defaults to\n"
                   "         SRC with \"_new\" before the extension\n\n"
                   "  --config CFG   settings file to read\n",
                   RunBin};
const Registration kRegistration(kBin);

int Info(const std::string& path) {
  if (!IsBinOrSay("bin", path, BinReader::MainProgram)) return kExitFailure;
  StdioFile file(path, "rb");
  std::vector<std::uint8_t> bytes(kCalImageSize, 0);
  const std::size_t size = file ? file.Read(bytes.data(), bytes.size()) : 0;
  const long total = file.Size();
  const auto sumTo = [&](std::size_t last) { return size > kChecksumStart ? Sum(bytes.data(), kChecksumStart, std::min(last, size - 1)) : 0; };
  std::printf("signature:          ORV9\n");
  std::printf("learn generation:   %u\n", static_cast<unsigned>(bytes[0] << 8 | bytes[1]));
  std::printf("layout version:     %u.%u\n", size > 9 ? bytes[9] : 0u, size > 10 ? bytes[10] : 0u);
  std::printf("stored checksum:    0x%04X\n", static_cast<unsigned>(bytes[6] << 8 | bytes[7]));
  std::printf("sum 0x0008-0x1FFF:  0x%04X\n", static_cast<unsigned>(sumTo(kCalibrationSize - 1)));
  std::printf("sum 0x0008-0x7FFF:  0x%04X\n", static_cast<unsigned>(sumTo(kCalImageSize - 1)));
  std::printf("file size:          %ld\n", total);
  return kExitOk;
}

// As the VE learn window shows original values: cell x 0.390625 + 0.5, truncated.
int Percent(std::int32_t cell) { return static_cast<int>(cell * 0.390625 + 0.5); }

int Ve(const std::string& path, bool raw) {
  if (!IsBinOrSay("bin", path, BinReader::MainProgram)) return kExitFailure;
  VeTable table;
  if (!ReadVeTable(path, &table)) {
    std::fprintf(stderr, "vantor bin: Error reading VE table from BIN File\n");
    return kExitFailure;
  }
  std::printf("  RPM");
  for (int c = 1; c <= kVeColumns; ++c) std::printf(" %4d", table.At(0, c));
  std::printf("\n");
  for (int r = 1; r <= kVeRows; ++r) {
    std::printf("%5d", table.At(r, 0));
    for (int c = 1; c <= kVeColumns; ++c) std::printf(" %4d", raw ? table.At(r, c) : Percent(table.At(r, c)));
    std::printf("\n");
  }
  return kExitOk;
}

int Convert(const std::string& source, const std::string& target) {
  if (!IsBinOrSay("bin", source, BinReader::UpdateUtility)) return kExitFailure;
  const ConvertOutcome outcome = ConvertCalibration(source, target);
  switch (outcome.status) {
    case ConvertStatus::Error:
      std::fprintf(stderr, "vantor bin: %s\n", outcome.text.c_str());
      return kExitFailure;
    case ConvertStatus::AlreadyCurrent:
      std::printf("%s\n", outcome.text.c_str());
      return kExitOk;
    case ConvertStatus::Ok:
      std::printf("%s\n", target.c_str());
      return kExitOk;
  }
  return kExitFailure;
}

int RunBin(const std::vector<std::string>& argv) {
  const Args args(argv, {"--config"}, {"--raw"});
  if (args.WantsHelp()) return PrintHelp(kBin);
  if (!args.Ok()) return UsageError(kBin, args.Error());
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  const auto& p = args.Positional();
  if (p.empty()) return UsageError(kBin, "expected info, ve or convert");
  if (args.Has("--raw") && p[0] != "ve") return UsageError(kBin, "--raw is for ve");
  if (p[0] == "info" && p.size() == 2) return Info(p[1]);
  if (p[0] == "ve" && p.size() == 2) return Ve(p[1], args.Has("--raw"));
  if (p[0] == "convert" && (p.size() == 2 || p.size() == 3))
    return Convert(p[1], p.size() == 3 ? p[2] : UpdatedBinName(p[1]));
  return UsageError(kBin, "expected info FILE, ve FILE or convert SRC [DST]");
}

}  // namespace
}  // namespace vantor::cli
