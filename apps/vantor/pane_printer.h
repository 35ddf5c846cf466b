#pragma once
// Prints every line added to a message pane, as it is added, without its
// padding: the lines in the pane's failed-step and final-failure colours on
// stderr, the rest on stdout.

#include <cstdio>
#include <string_view>

#include "cal/message_pane.h"

namespace vantor::cli {

inline void PrintPaneLines(MessagePane& pane) {
  const PaneStyle& style = pane.Style();
  pane.SetLineHook([&style](Rgb background, std::string_view text) {
    const bool failure = background == style.failedStep || background == style.finalFailure;
    std::FILE* out = failure ? stderr : stdout;
    std::fprintf(out, "%.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(out);
  });
}

}  // namespace vantor::cli
