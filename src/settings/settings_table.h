#pragma once
// SettingsTable: the rows that drive both directions of the configuration
// file. Each row names a key, the kind of its value, its range or length
// limit, the default text used when a stored value is refused, and the
// Settings field it fills. Both programs' files are tables of this one type.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/settings.h"

namespace vantor {

enum class ValueKind : int { Int32 = 0, Text = 1, Real = 2, Int16 = 4 };

// Where a row's value lives; monostate for a row without a field ([ID]).
using SettingsField =
    std::variant<std::monostate, std::int32_t*, std::int16_t*, std::string*, double*>;

struct SettingsRow {
  std::string key;  // with its square brackets
  ValueKind kind = ValueKind::Text;
  std::int64_t min = 0;     // numeric kinds: inclusive range
  std::int64_t max = 0;
  std::size_t limit = 0;    // text: longest accepted value
  std::string defaultText;  // the written text of a row without field
  std::function<SettingsField(Settings&)> field;  // empty for a row without field
};

struct SettingsTable {
  std::vector<SettingsRow> rows;
  // The bytes that end each line in the file.
  std::string lineEnd;
  // Run after a read (derived fields); empty when the program has none.
  std::function<void(Settings&)> afterRead;

  // The row of key (exact, case-sensitive), or nullptr.
  const SettingsRow* Find(std::string_view key) const;
};

// The main program's derived step: updateDivisor from [UPDATERATE], and the
// trip totals are dropped unless [SAVETRIP] keeps them.
void ApplyDerivedSettings(Settings& settings);

}  // namespace vantor

namespace vantor {

// Applies the lines of a configuration file's bytes to settings, row by row,
// then the table's derived step. Used by the file readers.
void ApplySettingsText(std::string_view fileBytes, const SettingsTable& table, Settings* settings);

}  // namespace vantor
