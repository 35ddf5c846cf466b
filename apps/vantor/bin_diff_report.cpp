#include "bin_diff_report.h"

#include <map>
#include <utility>

namespace vantor::cli {
namespace {

constexpr std::size_t kBytesShown = 8;  // of a longer range in the text report

std::string Hex(const CalImage& image, std::size_t offset, std::size_t length, const char* gap) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < length; ++i) {
    std::snprintf(byte, sizeof byte, "%02X", image[offset + i]);
    if (i > 0) text += gap;
    text += byte;
  }
  return text;
}

std::string Layout(const CalImage& image) {
  const unsigned layout = image.LayoutVersion();
  return std::to_string(layout >> 8) + "." + std::to_string(layout & 0xFF);
}

std::string ChecksumText(const CalImage& image) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(image.Checksum()));
  return text;
}

void PrintFile(std::FILE* out, char which, const DiffedBin& bin) {
  const CalImage& image = bin.image;
  std::fprintf(out, "%c  %s: layout %s, learn generation %u, checksum %s", which, bin.path.c_str(),
               Layout(image).c_str(), static_cast<unsigned>(image.Generation()), ChecksumText(image).c_str());
  if (image.ImageSum() == image.Checksum())
    std::fprintf(out, " (matches its bytes)");
  else
    std::fprintf(out, " (its bytes sum to 0x%04X)", static_cast<unsigned>(image.ImageSum()));
  std::fprintf(out, ", %ld bytes\n", bin.size);
}

void PrintVeTable(std::FILE* out, const BinDiff& diff) {
  if (diff.veCells.empty()) {
    std::fprintf(out, "\nVE table: no cell differs\n");
    return;
  }
  std::fprintf(out, "\nVE table: %zu cells differ (raw cells A>B, then the change in percent of A)\n",
               diff.veCells.size());
  std::map<std::pair<int, int>, const VeCellChange*> changed;
  for (const VeCellChange& cell : diff.veCells) changed[{cell.row, cell.column}] = &cell;
  std::fprintf(out, "  RPM");
  for (int column = 1; column <= kVeColumns; ++column) std::fprintf(out, " %7d", kVeMapAxis[column - 1]);
  std::fprintf(out, "\n");
  for (int row = 1; row <= kVeRows; ++row) {
    if (changed.lower_bound({row, 0}) == changed.lower_bound({row + 1, 0})) continue;
    std::string values, percents;
    char text[32];
    for (int column = 1; column <= kVeColumns; ++column) {
      const auto found = changed.find({row, column});
      if (found == changed.end()) {
        values += "       .";
        percents += "        ";
        continue;
      }
      const VeCellChange& cell = *found->second;
      std::snprintf(text, sizeof text, " %3u>%-3u", cell.a, cell.b);
      values += text;
      double percent = 0;
      if (CellChangePercent(cell, &percent))
        std::snprintf(text, sizeof text, " %+6.1f%%", percent);
      else
        std::snprintf(text, sizeof text, " %7s", "new");
      percents += text;
    }
    std::fprintf(out, "%5d%s\n     %s\n", kVeRpmAxis[row - 1], values.c_str(), percents.c_str());
  }
}

void PrintOtherBytes(std::FILE* out, const DiffedBin& a, const DiffedBin& b, const BinDiff& diff) {
  if (diff.otherBytes.empty()) {
    std::fprintf(out, "\nOther bytes: none differ\n");
    return;
  }
  std::fprintf(out, "\nOther bytes: %zu ranges differ\n", diff.otherBytes.size());
  for (const ByteRange& range : diff.otherBytes) {
    const std::size_t shown = range.length < kBytesShown ? range.length : kBytesShown;
    const char* more = range.length > shown ? " ..." : "";
    std::fprintf(out, "  0x%04zX-0x%04zX %5zu bytes  %-22s A %s%s  B %s%s\n", range.offset,
                 range.offset + range.length - 1, range.length, range.region,
                 Hex(a.image, range.offset, shown, " ").c_str(), more, Hex(b.image, range.offset, shown, " ").c_str(),
                 more);
  }
}

}  // namespace

void PrintDiffText(std::FILE* out, const DiffedBin& a, const DiffedBin& b, const BinDiff& diff) {
  PrintFile(out, 'A', a);
  PrintFile(out, 'B', b);
  if (diff.Same() && a.size == b.size) {
    std::fprintf(out, "\nThe files are the same.\n");
    return;
  }
  PrintVeTable(out, diff);
  PrintOtherBytes(out, a, b, diff);
}

void PrintDiffCsv(std::FILE* out, const DiffedBin& a, const DiffedBin& b, const BinDiff& diff) {
  std::fprintf(out, "kind,rpm,kpa,offset,length,a,b,change_percent,region\n");
  const CalImage& x = a.image;
  const CalImage& y = b.image;
  if (diff.generationDiffers)
    std::fprintf(out, "generation,,,0x0000,2,%u,%u,,learn generation\n", static_cast<unsigned>(x.Generation()),
                 static_cast<unsigned>(y.Generation()));
  if (diff.layoutDiffers)
    std::fprintf(out, "layout,,,0x0009,2,%s,%s,,layout version\n", Layout(x).c_str(), Layout(y).c_str());
  if (diff.checksumDiffers)
    std::fprintf(out, "checksum,,,0x0006,2,%s,%s,,checksum\n", ChecksumText(x).c_str(), ChecksumText(y).c_str());
  if (a.size != b.size) std::fprintf(out, "size,,,,,%ld,%ld,,file\n", a.size, b.size);
  for (const VeCellChange& cell : diff.veCells) {
    const std::size_t offset = VeReadOffset(cell.row, cell.column);
    std::fprintf(out, "ve,%d,%d,0x%04zX,1,%u,%u,", kVeRpmAxis[cell.row - 1], kVeMapAxis[cell.column - 1], offset,
                 cell.a, cell.b);
    double percent = 0;
    if (CellChangePercent(cell, &percent)) std::fprintf(out, "%.2f", percent);
    std::fprintf(out, ",%s\n", RegionOf(offset));
  }
  for (const ByteRange& range : diff.otherBytes)
    std::fprintf(out, "bytes,,,0x%04zX,%zu,%s,%s,,%s\n", range.offset, range.length,
                 Hex(x, range.offset, range.length, "").c_str(), Hex(y, range.offset, range.length, "").c_str(),
                 range.region);
}

}  // namespace vantor::cli
