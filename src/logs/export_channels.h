#pragma once
// The auxiliary A/D channels as an export pass sees them: its own channel
// table built from the settings (so a pass starts with fresh filters and
// never disturbs the live values), processed frame by frame.

#include <cstdint>
#include <string_view>

#include "settings/settings.h"

namespace vantor {

class ExportChannels {
 public:
  explicit ExportChannels(const Settings& settings);
  ~ExportChannels();
  ExportChannels(const ExportChannels&) = delete;
  ExportChannels& operator=(const ExportChannels&) = delete;

  // all = false: only the preferred wideband and fuel pressure channels.
  void Process(const std::uint8_t* data, bool all);
  double WidebandAfr() const;

  // The active channels in channel order.
  int ActiveCount() const;
  std::string_view Label(int active) const;
  std::string_view Text(int active) const;
  int ColumnWidth(int active) const;

 private:
  struct State;
  State* state_;
};

}  // namespace vantor
