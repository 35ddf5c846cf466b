#pragma once
// Prints every line added to a message pane, as it is added, without its padding.

#include <cstdio>
#include <string_view>

#include "cal/message_pane.h"

namespace vantor::cli {

inline void PrintPaneLines(MessagePane& pane) {
  pane.SetLineHook([](Rgb, std::string_view text) {
    std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
  });
}

}  // namespace vantor::cli
