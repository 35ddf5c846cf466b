// Reading the configuration lines into Settings.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "settings/settings_table.h"

namespace vantor {
namespace {

// Lines are taken in pieces of at most this many bytes; a longer line is
// read as several lines.
constexpr std::size_t kLinePiece = 1047;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A CR LF pair reads as LF; a lone CR stays data.
std::string FoldLineEnds(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out.push_back(bytes[i]);
  }
  return out;
}

// Decimal integer the way the C library's atoi reads it (leading white
// space, optional sign, digits up to the first non-digit, none gives 0),
// saturating instead of overflowing.
std::int64_t ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kCap = std::numeric_limits<std::int32_t>::max() + std::int64_t{1};
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(kCap, value * 10 + (text[i] - '0'));
  }
  return negative ? -value : value;
}

// Decimal real, trailing characters ignored, 0.0 when there is no number.
// Independent of the process locale, so a file reads the same everywhere.
double ParseReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  double value = 0.0;
  std::from_chars(text.data() + i, text.data() + text.size(), value);
  return negative ? -value : value;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view WithoutLineEnd(std::string_view value) {
  while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.remove_suffix(1);
  return value;
}

void StoreInteger(const SettingsRow& row, const SettingsField& field, std::string_view value) {
  std::int64_t number = ParseInteger(value);
  if (number < row.min || number > row.max) number = ParseInteger(row.defaultText);
  if (auto* p32 = std::get_if<std::int32_t*>(&field)) **p32 = static_cast<std::int32_t>(number);
  if (auto* p16 = std::get_if<std::int16_t*>(&field)) **p16 = static_cast<std::int16_t>(number);
}

void StoreText(const SettingsRow& row, const SettingsField& field, std::string_view value) {
  auto* text = std::get_if<std::string*>(&field);
  if (text == nullptr) return;
  // The length test leaves out the line end, so a text this program wrote
  // always reads back as written.
  std::string_view chosen = WithoutLineEnd(value).size() > row.limit
                                ? std::string_view(row.defaultText)
                                : value;
  **text = std::string(Trim(chosen));
}

void StoreValue(const SettingsRow& row, Settings* settings, std::string_view value) {
  SettingsField field = row.field(*settings);
  switch (row.kind) {
    case ValueKind::Int32:
    case ValueKind::Int16:
      StoreInteger(row, field, value);
      break;
    case ValueKind::Text:
      StoreText(row, field, value);
      break;
    case ValueKind::Real:
      if (auto* real = std::get_if<double*>(&field)) **real = ParseReal(value);
      break;
  }
}

void ApplyLine(std::string_view line, const SettingsTable& table, Settings* settings) {
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return;
  const SettingsRow* row = table.Find(line.substr(0, close + 1));
  if (row == nullptr || !row->field) return;
  // One separator character follows the key, whatever it is.
  std::size_t valueStart = std::min(close + 2, line.size());
  StoreValue(*row, settings, line.substr(valueStart));
}

}  // namespace

void ApplySettingsText(std::string_view fileBytes, const SettingsTable& table,
                       Settings* settings) {
  std::string text = FoldLineEnds(fileBytes);
  std::string_view rest(text);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::size_t length = end == std::string_view::npos ? rest.size() : end + 1;
    length = std::min(length, kLinePiece);
    ApplyLine(rest.substr(0, length), table, settings);
    rest.remove_prefix(length);
  }
  if (table.afterRead) table.afterRead(*settings);
}

}  // namespace vantor
