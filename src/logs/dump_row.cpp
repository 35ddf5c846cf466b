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

struct FlagBit {
  int byte;
  unsigned mask;
};
// Bo Ae De Id Hw Pe Dc Cl Ln F1 F2 Ac Tc Cp Eg Pt Cv
constexpr FlagBit kFlags[] = {{2, 0x40},   {13, 0x40},  {13, 0x10},  {2, 0x80},  {3, 0x04},  {13, 0x80},
                              {8, 0x08},   {14, 0x80},  {14, 0x02},  {140, 0x01}, {140, 0x02}, {5, 0x08},
                              {5, 0x80},   {6, 0x01},   {180, 0x80}, {149, 0x10}, {149, 0x20}};

constexpr double kMsPerCode = 0.0152587890625;

}  // namespace

DumpRowFormatter::DumpRowFormatter(const Settings& settings)
    : settings_(settings),
      csv_(settings.anaCsv == 1),
      separator_(csv_ ? ',' : ' '),
      speed_(256, "%3.0f", [this](unsigned c) { return SpeedUnits(c, settings_); }),
      map_(3 * 256, "%3.0f", [](unsigned k) { return MapKpa(static_cast<int>(k / 256), k % 256); }),
      boost_(3 * 256, "%3.0f", [](unsigned k) { return BoostPsi(static_cast<int>(k / 256), k % 256); }),
      baro_(256, "%3.0f", Baro),
      vacuum_(256, "%3.0f", VacuumKpa),
      percent_(256, "%3.0f", Percent),
      temperature_(256, "%3.0f", [this](unsigned c) { return Temperature(c, settings_); }),
      o2_(256, "%4.0f", O2Mv),
      spark_(256, "%2.0f", Spark),
      retard_(256, "%2.0f", Retard),
      basePw_(65536, "%6.3f", [](unsigned c) { return PulseMsCapped(c, 99.0); }),
      actualPw_(65536, "%5.2f", [](unsigned c) { return PulseMsCapped(c, 99.9); }),
      tenths_(256, "%4.1f", Tenth),
      deltaTps_(256, "%4.1f", Percent),
      enrichment_(256, "%6.3f", [](unsigned c) { return PulseMsCapped(c, 99.9); }),
      deltaMap_(256, "%4.1f", DeltaMap),
      aePw_(65536, "%6.3f", [](unsigned c) { return PulseMsCapped(c, 99.9); }) {}

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
  field(speed_.Text(data[frame::kSpeed]));
  const unsigned sensor = static_cast<unsigned>(MapSensorIndex(data)) * 256;
  field(map_.Text(sensor + data[frame::kMap]));
  field(boost_.Text(sensor + data[frame::kBoost]));
  field(baro_.Text(data[frame::kBaro]));
  field(vacuum_.Text(data[frame::kVacuum]));
  field(percent_.Text(data[frame::kVe]));
  field(percent_.Text(data[frame::kTps]));
  field(temperature_.Text(data[frame::kCoolantTemp]));
  field(temperature_.Text(data[frame::kIat]));
  field(temperature_.Text(data[frame::kIntercoolerTemp]));
  field(o2_.Text(data[frame::kO2]));
  number(data[frame::kAirFlow], 3);
  field(spark_.Text(data[frame::kSparkAdvance]));
  field(retard_.Text(data[frame::kRetard]));
  number(frame::Word(data, frame::kKnockCount), 5);
  field(basePw_.Text(frame::Word(data, frame::kBasePw)));
  field(actualPw_.Text(frame::Word(data, frame::kActualPw)));
  number(static_cast<unsigned>(DutyPercent(data)), 3);
  row.Append(' ');
  field(percent_.Text(data[frame::kAky]));
  field(percent_.Text(data[frame::kWasteGate]));
  AppendFlags(row, data);
  AppendGear(row, data);
  number(data[frame::kLoopState] >= 2 ? 2u : data[frame::kLoopState], 2);
  number(data[frame::kInt], 3);
  number(data[frame::kBlm], 3);
  number(data[frame::kIac], 3);
  field(tenths_.Text(data[frame::kCommandedAfr]));
  char wideband[32];
  const int n = std::snprintf(wideband, sizeof wideband, "%4.1lf", channels.WidebandAfr());
  field(std::string_view(wideband, n > 0 ? static_cast<std::size_t>(n) : 0));
  const unsigned tps = data[frame::kTps];
  const unsigned previousTps = data[frame::kTpsPrevious];
  field(deltaTps_.Text(tps > previousTps ? tps - previousTps : 0));
  field(enrichment_.Text(data[frame::kTpsAe]));
  field(deltaMap_.Text(data[frame::kMapChange]));
  field(enrichment_.Text(data[frame::kMapAe]));
  field(aePw_.Text(frame::Word(data, frame::kAePw)));
  AppendChannels(row, channels);
  row.Append("\r\n");
}

void DumpRowFormatter::AppendFlags(RowText& row, const std::uint8_t* data) const {
  if (!csv_) row.Append(' ');
  for (const FlagBit& flag : kFlags) {
    row.Append(Flag(data, flag.byte, flag.mask));
    if (csv_) {
      row.Append(',');
    } else {
      row.Append("  ");
    }
  }
}

void DumpRowFormatter::AppendGear(RowText& row, const std::uint8_t* data) const {
  if (settings_.transType == 0) {
    const unsigned gear = data[frame::kGear];
    row.AppendUnsigned(gear >= 9 ? 9u : gear, 3);
  } else if (data[frame::kFlags15] & 0x10) {
    row.Append("P/N");
  } else if (data[frame::kTransRange] & 0x04) {
    row.Append(" OD");
  } else if (data[frame::kTransRange] & 0x02) {
    row.Append("  3");
  } else {
    row.Append("1_2");
  }
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
