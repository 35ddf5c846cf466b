#pragma once
// The signature test of a BIN named on the command line, with the reason it
// failed on stderr after the subcommand's name.

#include <cstdio>
#include <string>

#include "cal/ve_file.h"

namespace vantor::cli {

inline bool IsBinOrSay(const char* command, const std::string& path, BinReader reader,
                       SignatureCheck* result = nullptr) {
  const SignatureCheck check = CheckSignature(path, reader);
  if (result) *result = check;
  if (check.status == SignatureStatus::Bin) return true;
  std::fprintf(stderr, "vantor %s: %s: %s\n", command, path.c_str(),
               check.status == SignatureStatus::CannotOpen ? kCannotOpenBin : check.text.c_str());
  return false;
}

}  // namespace vantor::cli
