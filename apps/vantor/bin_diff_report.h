#pragma once
// How vantor bin diff shows what changed between two calibration files: a
// text report (the VE cells laid out like the VE table, then the other byte
// ranges) or a CSV list, one difference a line.

#include <cstdio>
#include <string>

#include "cal/bin_diff.h"
#include "cal/cal_image.h"

namespace vantor::cli {

struct DiffedBin {
  std::string path;
  CalImage image;
  long size = 0;  // of the file
};

void PrintDiffText(std::FILE* out, const DiffedBin& a, const DiffedBin& b, const BinDiff& diff);
void PrintDiffCsv(std::FILE* out, const DiffedBin& a, const DiffedBin& b, const BinDiff& diff);

}  // namespace vantor::cli
