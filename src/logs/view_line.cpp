#include "logs/view_line.h"

#include <cstdio>
#include <cstring>

#include "live/live_frame.h"
#include "logs/frame_values.h"

namespace vantor {

using namespace exports;

char ViewLineKind(bool markMet, bool stampMet) {
  if (markMet) return kKindMark;
  return stampMet ? kKindStamp : kKindPlain;
}

ViewLineFormatter::ViewLineFormatter(const Settings& settings)
    : settings_(settings),
      speed_(256, format::kSpeed, [this](unsigned c) { return SpeedUnits(c, settings_); }),
      map_(3 * 256, format::kMap, [](unsigned k) { return MapKpa(static_cast<int>(k / 256), k % 256); }),
      percent_(256, format::kPercent, Percent),
      temperature_(256, format::kTemperature, [this](unsigned c) { return Temperature(c, settings_); }),
      o2_(256, format::kO2, O2Mv),
      spark_(256, format::kSpark, Spark),
      pulseWidth_(65536, {4, 1}, LimitedPwMs),
      aePulseWidth_(65536, {5, 2}, LimitedPwMs) {}

namespace {

void AppendField(RowText& row, std::string_view text) {
  row.Append(text);
  row.Append(' ');
}

// The field holds four characters; a channel reading outside what fits
// (a user device set as the wideband source) is limited so the line keeps its size.
void AppendWideband(RowText& row, double afr) {
  if (afr > 99.9) afr = 99.9;
  if (afr < -9.9) afr = -9.9;
  char text[16];
  AppendField(row, std::string_view(text, FixedText(text, sizeof text, afr, format::kWideband)));
}

}  // namespace

void ViewLineFormatter::Format(const std::uint8_t* data, char kind, double wbAfr, char* line) {
  RowText& row = row_;
  row.Clear();
  row.Append(kind);
  row.AppendUnsigned(data[frame::kVssCounter], 3);
  row.Append(' ');
  row.AppendUnsigned(static_cast<unsigned>(PulsesPerMileField(frame::Word(data, frame::kVssConstant))), 6);
  const unsigned seconds = RunSeconds(data);
  const unsigned hours = seconds / 3600 > 9 ? 9 : seconds / 3600;
  row.Append(' ');
  row.AppendUnsigned(hours, 1);
  row.Append(':');
  row.AppendTwoDigits(seconds % 3600 / 60);
  row.Append(':');
  row.AppendTwoDigits(seconds % 60);
  row.Append(' ');
  row.AppendUnsigned(static_cast<unsigned>(Rpm(data)), 4);
  row.Append(' ');
  AppendField(row, speed_.Text(data[frame::kSpeed]));
  AppendField(row, map_.Text(static_cast<unsigned>(MapSensorIndex(data)) * 256 + data[frame::kMap]));
  AppendField(row, percent_.Text(data[frame::kTps]));
  AppendField(row, temperature_.Text(data[frame::kCoolantTemp]));
  AppendField(row, temperature_.Text(data[frame::kIat]));
  AppendField(row, o2_.Text(data[frame::kO2]));
  row.AppendUnsigned(data[frame::kAirFlow], 3);
  row.Append(' ');
  AppendField(row, spark_.Text(data[frame::kSparkAdvance]));
  AppendField(row, pulseWidth_.Text(frame::Word(data, frame::kBasePw)));
  AppendField(row, pulseWidth_.Text(frame::Word(data, frame::kActualPw)));
  row.AppendUnsigned(static_cast<unsigned>(DutyPercent(data)), 3);
  row.Append("  ");
  const char flags[6] = {Flag(data, 13, 0x40), Flag(data, 13, 0x10), Flag(data, 13, 0x80),
                         Flag(data, 8, 0x08),  Flag(data, 14, 0x80), Flag(data, 14, 0x02)};
  for (char flag : flags) {
    row.Append(flag);
    row.Append(' ');
  }
  for (int offset : {frame::kInt, frame::kBlm, frame::kIac}) {
    row.AppendUnsigned(data[offset], 3);
    row.Append(' ');
  }
  AppendWideband(row, wbAfr);
  AppendField(row, aePulseWidth_.Text(frame::Word(data, frame::kAePw)));

  // Every field has its fixed width; the guard keeps the line size whatever happens.
  constexpr std::size_t kTextSize = kViewLineSize - 2;
  const std::size_t n = row.Size() < kTextSize ? row.Size() : kTextSize;
  std::memcpy(line, row.Data(), n);
  std::memset(line + n, ' ', kTextSize - n);
  line[kTextSize] = '\r';
  line[kTextSize + 1] = '\n';
}

std::string ViewHeadingTop() {
  return " RUNTIME          MAP TPS CTS IAT   O2 Air SA  sPW  aPW  DC AE  PE  CL                 WB  aePW";
}

std::string ViewHeadingUnits(const Settings& settings) {
  const char speed = settings.kphOrMph == 1 ? 'K' : 'M';
  const char scale = settings.temperScale == 1 ? 'C' : 'F';
  char text[160];
  std::snprintf(text, sizeof text,
                " h:mm:ss  RPM %cPH KPa   %%  \xC2\xB0%c  \xC2\xB0%c   mV Flw  \xC2\xB0   mS   mS   %%   DE  DC  LN INT BLM IAC  AFR    mS",
                speed, scale, scale);
  return text;
}

}  // namespace vantor
