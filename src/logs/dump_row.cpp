#include "logs/dump_row.h"

#include <cstdio>

#include "live/live_frame.h"
#include "logs/frame_values.h"

namespace vantor {

using namespace exports;

namespace {

constexpr const char* kTextHeading =
    "RUNTIME   RPM %cPH MAP PSI BRO VAC VE%% TPS CTS IAT I/C   O2 Flw SA Rt KnkCt   sPW    aPW DC%% Aky%% WG%% "
    "Bo Ae De Id Hw Pe Dc Cl Ln F1 F2 Ac Tc Cp Eg Pt Cv   Gr Cl INT BLM IAC  AFR  WB  dTPS  tpsAE dMAP  mapAE   aePW  ";
constexpr const char* kCsvHeading =
    "RUNTIME,RPM,%cPH,MAP,PSI,BRO,VAC,VE%%,TPS,CTS,IAT,I/C,O2,Flw,SA,Rt,KnkCt,sPW,aPW,DC%%,Aky%%,WG%%,"
    "Bo,Ae,De,Id,Hw,Pe,Dc,Cl,Ln,F1,F2,Ac,Tc,Cp,Eg,Pt,Cv,Gr,Cl,INT,BLM,IAC,AFR,WB,dTPS,tpsAE,dMAP,mapAE,aePW,";

}  // namespace

DumpRowFormatter::DumpRowFormatter(const Settings& settings)
    : settings_(settings),
      csv_(settings.anaCsv == 1),
      separator_(csv_ ? ',' : ' '),
      values_(settings, ExportValueTexts::Padding::DumpWidths) {}

void DumpRowFormatter::AppendHeading(RowText& row, const ExportChannels& channels) const {
  char heading[512];
  const int n = std::snprintf(heading, sizeof heading, csv_ ? kCsvHeading : kTextHeading,
                              settings_.kphOrMph == 1 ? 'K' : 'M');
  row.Append(std::string_view(heading, n > 0 ? static_cast<std::size_t>(n) : 0));
  for (int i = 0; i < channels.ActiveCount(); ++i) {
    row.AppendRightAligned(channels.Label(i), channels.ColumnWidth(i));
    row.Append(separator_);
  }
  row.Append("\r\n");
}

void DumpRowFormatter::AppendRow(RowText& row, const std::uint8_t* data, const ExportChannels& channels) {
  const char sep = separator_;
  const auto field = [&](std::string_view text) {
    row.Append(text);
    row.Append(sep);
  };
  const auto number = [&](unsigned value, int width) {
    row.AppendUnsigned(value, width);
    row.Append(sep);
  };
  const unsigned seconds = RunSeconds(data);
  row.AppendTwoDigits(seconds / 3600);
  row.Append(':');
  row.AppendTwoDigits(seconds % 3600 / 60);
  row.Append(':');
  row.AppendTwoDigits(seconds % 60);
  row.Append(sep);
  number(static_cast<unsigned>(Rpm(data)), 4);
  ExportValueTexts& v = values_;
  for (std::string_view text : {v.Speed(data), v.Map(data), v.Boost(data), v.Baro(data), v.Vacuum(data), v.Ve(data),
                                v.Tps(data), v.Coolant(data), v.Iat(data), v.Intercooler(data), v.O2(data)})
    field(text);
  number(data[frame::kAirFlow], 3);
  field(v.Spark(data));
  field(v.Retard(data));
  number(frame::Word(data, frame::kKnockCount), 5);
  field(v.BasePw(data));
  field(v.ActualPw(data));
  number(static_cast<unsigned>(DutyPercent(data)), 3);
  row.Append(' ');
  field(v.Aky(data));
  field(v.WasteGate(data));
  AppendFlags(row, data);
  AppendGear(row, data);
  number(LoopState(data), 2);
  number(data[frame::kInt], 3);
  number(data[frame::kBlm], 3);
  number(data[frame::kIac], 3);
  field(v.CommandedAfr(data));
  field(v.Wideband(channels.WidebandAfr()));
  for (std::string_view text : {v.DeltaTps(data), v.TpsAe(data), v.DeltaMap(data), v.MapAe(data), v.AePw(data)})
    field(text);
  AppendChannels(row, channels);
  row.Append("\r\n");
}

void DumpRowFormatter::AppendFlags(RowText& row, const std::uint8_t* data) const {
  if (!csv_) row.Append(' ');
  for (const FlagColumn& flag : kFlagColumns) {
    row.Append(Flag(data, flag.byte, flag.mask));
    if (csv_) {
      row.Append(',');
    } else {
      row.Append("  ");
    }
  }
}

void DumpRowFormatter::AppendGear(RowText& row, const std::uint8_t* data) const {
  static constexpr const char* kRangeTexts[] = {"P/N", "1_2", "  3", " OD"};
  if (settings_.transType == 0)
    row.AppendUnsigned(StickGear(data), 3);
  else
    row.Append(kRangeTexts[static_cast<int>(AutoGear(data))]);
  row.Append(separator_);
}

void DumpRowFormatter::AppendChannels(RowText& row, const ExportChannels& channels) const {
  // The text table keeps a blank before the channel group, as its heading does.
  if (!csv_) row.Append(' ');
  for (int i = 0; i < channels.ActiveCount(); ++i) {
    row.AppendRightAligned(channels.Text(i), channels.ColumnWidth(i));
    row.Append(separator_);
  }
}

}  // namespace vantor
