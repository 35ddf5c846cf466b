// The configuration file reader of both programs.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings_io.h"
#include "settings/settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const vantor::SettingsTable* table :
       {&vantor::MainProgramSettingsTable(), &vantor::UpdateUtilitySettingsTable()}) {
    vantor::Settings settings;
    vantor::ApplySettingsText(text, *table, &settings);
    // What was read must write out again and read back.
    vantor::Settings again;
    vantor::ApplySettingsText(vantor::SettingsText(*table, &settings), *table, &again);
  }
  return 0;
}
