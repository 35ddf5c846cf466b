#pragma once
// The heading and the rows of a log dump (text table or CSV), assembled
// without printf for the values that depend on one frame code.

#include <cstdint>

#include "logs/export_channels.h"
#include "logs/export_value_texts.h"
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
  ExportValueTexts values_;
};

}  // namespace vantor
