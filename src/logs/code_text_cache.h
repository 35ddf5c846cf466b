#pragma once
// The text of a value that depends on one frame code, formatted on first use
// and then reused: a log holds few distinct codes per column, so an export
// formats each of them once instead of once per frame.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "logs/fixed_text.h"

namespace vantor {

class CodeTextCache {
 public:
  // codeCount: 256 for byte codes, 65536 for 16-bit codes.
  CodeTextCache(unsigned codeCount, FixedFormat format, std::function<double(unsigned)> value);

  std::string_view Text(unsigned code) {
    Entry& entry = entries_[code];
    if (entry.length == 0) Fill(code, entry);
    return {entry.text, entry.length};
  }

 private:
  struct Entry {
    char text[15];
    std::uint8_t length = 0;
  };
  void Fill(unsigned code, Entry& entry);

  std::vector<Entry> entries_;
  FixedFormat format_;
  std::function<double(unsigned)> value_;
};

}  // namespace vantor
