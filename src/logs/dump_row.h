#pragma once
// The heading and the rows of a log dump (text table or CSV), assembled
// without printf for the values that depend on one frame code.

#include <cstdint>

#include "logs/code_text_cache.h"
#include "logs/export_channels.h"
#include "logs/row_text.h"
#include "settings/settings.h"

namespace vantor {

class DumpRowFormatter {
 public:
  explicit DumpRowFormatter(const Settings& settings);

  char Separator() const { return separator_; }
  // The heading line with the active channels' labels, ending in "\r\n".
  void AppendHeading(RowText& row, const ExportChannels& channels) const;
  // One frame's row (the channels already processed for it), ending in "\r\n".
  void AppendRow(RowText& row, const std::uint8_t* data, const ExportChannels& channels);

 private:
  void AppendFlags(RowText& row, const std::uint8_t* data) const;
  void AppendGear(RowText& row, const std::uint8_t* data) const;
  void AppendChannels(RowText& row, const ExportChannels& channels) const;

  const Settings& settings_;
  const bool csv_;
  const char separator_;
  CodeTextCache speed_;
  CodeTextCache map_;     // sensor index * 256 + code
  CodeTextCache boost_;   // sensor index * 256 + code
  CodeTextCache baro_;
  CodeTextCache vacuum_;
  CodeTextCache percent_;
  CodeTextCache temperature_;
  CodeTextCache o2_;
  CodeTextCache spark_;
  CodeTextCache retard_;
  CodeTextCache basePw_;
  CodeTextCache actualPw_;
  CodeTextCache tenths_;
  CodeTextCache deltaTps_;
  CodeTextCache enrichment_;
  CodeTextCache deltaMap_;
  CodeTextCache aePw_;
};

}  // namespace vantor
