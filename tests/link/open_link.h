#pragma once
// An open link, its stream request cleared from the wire and its tick running
// as in the flash window; commands run while the test thread serves it.

#include "support/test_ecm_support.h"

namespace vantor::test {

struct OpenLink : LinkRig {
  explicit OpenLink(const LinkProfile& profile = MainProgramProfile()) : LinkRig(profile) {
    link.Tick().Start();
    Open();
    wire->ClearPackets();
  }
  template <typename F, typename... Args>
  int Run(F command, Args... args) {
    int result = 0;
    WhileServed([&] { result = command(link, args...); });
    return result;
  }
};

}  // namespace vantor::test
