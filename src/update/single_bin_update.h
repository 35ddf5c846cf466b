#pragma once
// Converting one BIN file on disk to layout 1.1 (the utility's "BIN Update..."
// menu item, after its file chooser): the checks and the box to show.

#include <string>

namespace vantor {

struct SingleBinUpdate {
  int result = -1;            // 0 when the chooser's job is done
  bool chooseAgain = false;   // not a BIN: the chooser opens again
  std::string newPath;        // the "_new" name
  std::string text;           // message box text and caption
  std::string caption;
};

SingleBinUpdate UpdateOneBinFile(const std::string& sourcePath);

}  // namespace vantor
