#pragma once
// The lines of the viewer log (".msl", tab-separated): the channel names with
// Time first, their units, and one line of values per frame with the values
// the CSV dump shows, without padding. Flags are 1 or 0; an automatic's
// range is a number: 0 P/N, 1 first/second, 3 third, 4 overdrive.

#include <cstdint>

#include "logs/export_channels.h"
#include "logs/export_value_texts.h"
#include "logs/row_text.h"
#include "settings/settings.h"

namespace vantor {

class MslRowFormatter {
 public:
  explicit MslRowFormatter(const Settings& settings);

  // Each ends in "\r\n".
  void AppendNames(RowText& row, const ExportChannels& channels) const;
  void AppendUnits(RowText& row, const ExportChannels& channels) const;
  // time: seconds of the frame, written with three decimals.
  void AppendRow(RowText& row, double time, const std::uint8_t* data, const ExportChannels& channels);

 private:
  const Settings& settings_;
  ExportValueTexts values_;
};

// The frame's time: its run seconds plus its place within that second, a
// seventeenth of a second per frame (the last places of a crowded second
// share the last seventeenth, so time never runs backwards).
class FrameClock {
 public:
  double Next(const std::uint8_t* data);

 private:
  long second_ = -1;
  int place_ = 0;
};

}  // namespace vantor
