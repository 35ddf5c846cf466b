#include "logs/code_text_cache.h"

#include <cstdio>

namespace vantor {

CodeTextCache::CodeTextCache(unsigned codeCount, const char* format, std::function<double(unsigned)> value)
    : entries_(codeCount), format_(format), value_(std::move(value)) {}

void CodeTextCache::Fill(unsigned code, Entry& entry) {
  const int n = std::snprintf(entry.text, sizeof entry.text, format_, value_(code));
  // Every format used here gives at least one character; a longer text than
  // the entry holds is cut, never left unterminated.
  entry.length = static_cast<std::uint8_t>(n <= 0 ? 1 : (n < static_cast<int>(sizeof entry.text) ? n : sizeof entry.text - 1));
  if (n <= 0) entry.text[0] = '?';
}

}  // namespace vantor
