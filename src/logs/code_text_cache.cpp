#include "logs/code_text_cache.h"

namespace vantor {

CodeTextCache::CodeTextCache(unsigned codeCount, FixedFormat format, std::function<double(unsigned)> value)
    : entries_(codeCount), format_(format), value_(std::move(value)) {}

void CodeTextCache::Fill(unsigned code, Entry& entry) {
  const std::size_t n = FixedText(entry.text, sizeof entry.text, value_(code), format_);
  // Every value gives at least one character; an empty text would be filled again each time.
  entry.length = static_cast<std::uint8_t>(n == 0 ? 1 : n);
  if (n == 0) entry.text[0] = '?';
}

}  // namespace vantor
