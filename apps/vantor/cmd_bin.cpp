// vantor bin: look into a calibration BIN file, print its VE table, compare two, convert one to layout 1.1.

#include <cstdio>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"
#include "cal/ve_file.h"
#include "cal/ve_table.h"
#include "bin_check.h"
#include "bin_diff_report.h"
#include "cli.h"
#include "update/bin_naming.h"
#include "update/calibration_migration.h"

namespace vantor::cli {
namespace {

int RunBin(const std::vector<std::string>& argv);

const Command kBin{"bin", "inspect, print the VE table of, compare or convert a calibration BIN",
                   "usage: vantor bin info FILE.bin\n"
                   "       vantor bin ve FILE.bin [--raw]\n"
                   "       vantor bin diff A.bin B.bin [--csv]\n"
                   "       vantor bin convert SRC.bin [DST.bin]\n\n"
                   "info     signature, learn generation, layout version, stored checksum, the\n"
                   "         sums of bytes 0x0008-0x1FFF and 0x0008-0x7FFF, and the file size\n"
                   "         (info and ve refuse a file shorter than 32,768 bytes)\n"
                   "ve       the 35 x 14 VE table, one RPM row per line after a MAP header;\n"
                   "         whole percent, or the raw cells with --raw\n"
                   "diff     what changed from A to B: both files' layout versions, learn\n"
                   "         generations and checksums; every VE cell that differs, as raw\n"
                   "         cells A>B and the change in percent of A, laid out like the VE\n"
                   "         table; then every other range of differing bytes by offset with\n"
                   "         both values. --csv lists one difference a line. Exit status 0\n"
                   "         when the files are the same, 1 when they differ, 2 on trouble\n"
                   "convert  the update utility's conversion to layout 1.1; DST defaults to\n"
                   "         SRC with \"_new\" before the extension and is never SRC itself\n\n"
                   "  --csv          diff: comma-separated values\n"
                   "  --config CFG   settings file to read\n",
                   RunBin};
const Registration kRegistration(kBin);

constexpr const char* kBinTooShort = "BIN File Too Short: Need 32768 Bytes";
constexpr const char* kCannotReadBin = "Can not read BIN File";

// The whole image of a BIN named on the command line: false, with the reason
// on stderr, when it is no BIN, cannot be read or is shorter than one.
bool LoadWholeBin(const std::string& path, CalImage* image, long* size) {
  if (!IsBinOrSay("bin", path, BinReader::MainProgram)) return false;
  StdioFile file(path, "rb");
  const std::size_t got = file ? file.Read(image->Data(), kCalImageSize) : 0;
  if (!file || std::ferror(file.Get())) {
    Say("bin", path + ": " + kCannotReadBin);
    return false;
  }
  if (got < kCalImageSize) {
    Say("bin", path + ": " + kBinTooShort);
    return false;
  }
  *size = file.Size();
  return true;
}

int Info(const std::string& path) {
  CalImage image;
  long size = 0;
  if (!LoadWholeBin(path, &image, &size)) return kExitFailure;
  const unsigned layout = image.LayoutVersion();
  std::printf("signature:          ORV9\n");
  std::printf("learn generation:   %u\n", static_cast<unsigned>(image.Generation()));
  std::printf("layout version:     %u.%u\n", layout >> 8, layout & 0xFF);
  std::printf("stored checksum:    0x%04X\n", static_cast<unsigned>(image.Checksum()));
  std::printf("sum 0x0008-0x1FFF:  0x%04X\n", static_cast<unsigned>(image.Sum(kChecksumStart, kCalibrationSize - 1)));
  std::printf("sum 0x0008-0x7FFF:  0x%04X\n", static_cast<unsigned>(image.ImageSum()));
  std::printf("file size:          %ld\n", size);
  return kExitOk;
}

// As the VE learn window shows original values: cell x 0.390625 + 0.5, truncated.
int Percent(std::int32_t cell) { return static_cast<int>(cell * 0.390625 + 0.5); }

int Ve(const std::string& path, bool raw) {
  CalImage image;
  long size = 0;
  if (!LoadWholeBin(path, &image, &size)) return kExitFailure;
  VeTable table;
  image.ReadVeTable(&table);
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

// Exit status 0 same, 1 different, 2 when a file is no whole BIN (the diff convention).
int Diff(const std::string& first, const std::string& second, bool csv) {
  constexpr int kTrouble = 2;
  DiffedBin a{first, {}, 0}, b{second, {}, 0};
  if (!LoadWholeBin(first, &a.image, &a.size) || !LoadWholeBin(second, &b.image, &b.size)) return kTrouble;
  const BinDiff diff = DiffImages(a.image, b.image);
  (csv ? PrintDiffCsv : PrintDiffText)(stdout, a, b, diff);
  if (!StdoutWritten("bin")) return kTrouble;
  const bool same = diff.Same() && a.size == b.size;
  return same ? kExitOk : kExitFailure;
}

int Convert(const std::string& source, const std::string& target) {
  if (!IsBinOrSay("bin", source, BinReader::UpdateUtility)) return kExitFailure;
  if (OutputIsAnInput("bin", target, {source})) return kExitFailure;
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
  const Args args(argv, {"--config"}, {"--raw", "--csv"});
  if (args.WantsHelp()) return PrintHelp(kBin);
  if (!args.Ok()) return UsageError(kBin, args.Error());
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  const auto& p = args.Positional();
  if (p.empty()) return UsageError(kBin, "expected info, ve or convert");
  if (args.Has("--raw") && p[0] != "ve") return UsageError(kBin, "--raw is for ve");
  if (args.Has("--csv") && p[0] != "diff") return UsageError(kBin, "--csv is for diff");
  if (p[0] == "diff" && p.size() == 3) return Diff(p[1], p[2], args.Has("--csv"));
  if (p[0] == "info" && p.size() == 2) return Info(p[1]);
  if (p[0] == "ve" && p.size() == 2) return Ve(p[1], args.Has("--raw"));
  if (p[0] == "convert" && (p.size() == 2 || p.size() == 3))
    return Convert(p[1], p.size() == 3 ? p[2] : UpdatedBinName(p[1]));
  return UsageError(kBin, "expected info FILE, ve FILE, diff A B or convert SRC [DST]");
}

}  // namespace
}  // namespace vantor::cli
