#include "logs/msl_row.h"

#include <string>
#include <string_view>

#include "live/live_frame.h"
#include "logs/frame_values.h"

namespace vantor {

using namespace exports;

namespace {

constexpr char kTab = '\t';
constexpr int kFramesPerSecond = 17;

// Units that follow the settings.
enum class Unit { Fixed, Speed, Temperature };

struct Column {
  const char* name;
  const char* unit;
  Unit kind = Unit::Fixed;
};

// The CSV dump's columns in its order, named as the viewers know them where
// they have a name for one. The 17 flags follow "WG%".
constexpr Column kBeforeFlags[] = {
    {"Time", "s"},          {"RPM", "rpm"},        {"Speed", "", Unit::Speed}, {"MAP", "kPa"},
    {"PSI", "psi"},         {"BRO", "kPa"},        {"VAC", "kPa"},             {"VE", "%"},
    {"TPS", "%"},           {"CLT", "", Unit::Temperature}, {"IAT", "", Unit::Temperature},
    {"I/C", "", Unit::Temperature}, {"O2", "mV"},  {"Flw", ""},                {"Spark Advance", "deg"},
    {"Knock Retard", "deg"}, {"KnkCt", ""},        {"sPW", "ms"},              {"PW", "ms"},
    {"Duty Cycle", "%"},    {"Aky%", "%"},         {"WG%", "%"}};
constexpr Column kAfterFlags[] = {
    {"Gr", ""},   {"Cl", ""},     {"INT", ""},  {"BLM", ""},     {"IAC", "steps"}, {"AFR Target", "AFR"},
    {"AFR", "AFR"}, {"dTPS", "%"}, {"tpsAE", "ms"}, {"dMAP", "kPa"}, {"mapAE", "ms"}, {"aePW", "ms"}};

std::string_view UnitText(const Column& column, const Settings& settings) {
  switch (column.kind) {
    case Unit::Speed: return settings.kphOrMph == 1 ? "KPH" : "MPH";
    case Unit::Temperature: return settings.temperScale == 1 ? "\xC2\xB0" "C" : "\xC2\xB0" "F";
    case Unit::Fixed: break;
  }
  return column.unit;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string_view ChannelUnit(const ActiveChannel& channel, const Settings& settings) {
  switch (channel.type) {
    case kChannelWideband: return "AFR";
    case kChannelFuelPressure: return "psi";
    case kChannelUserDevice:
      if (channel.index >= 0 && channel.index < kUserDeviceCount) return settings.userDevices[channel.index].unit;
      break;
    default: break;
  }
  return {};
}

// Names or units of every column, tab-separated.
template <typename Text>
void AppendHeadingLine(RowText& row, const ExportChannels& channels, Text text,
                       std::string_view (*channelText)(const ExportChannels&, int, const Settings&),
                       const Settings& settings) {
  bool first = true;
  const auto add = [&](std::string_view item) {
    if (!first) row.Append(kTab);
    row.Append(item);
    first = false;
  };
  for (const Column& column : kBeforeFlags) add(text(column));
  for (const FlagColumn& flag : kFlagColumns) add(text(Column{flag.name, ""}));
  for (const Column& column : kAfterFlags) add(text(column));
  for (int i = 0; i < channels.ActiveCount(); ++i) add(channelText(channels, i, settings));
  row.Append("\r\n");
}

}  // namespace

MslRowFormatter::MslRowFormatter(const Settings& settings)
    : settings_(settings), values_(settings, ExportValueTexts::Padding::None) {}

void MslRowFormatter::AppendNames(RowText& row, const ExportChannels& channels) const {
  AppendHeadingLine(
      row, channels, [](const Column& column) { return std::string_view(column.name); },
      [](const ExportChannels& c, int i, const Settings&) { return Trimmed(c.Label(i)); }, settings_);
}

void MslRowFormatter::AppendUnits(RowText& row, const ExportChannels& channels) const {
  const Settings& settings = settings_;
  AppendHeadingLine(
      row, channels, [&settings](const Column& column) { return UnitText(column, settings); },
      [](const ExportChannels& c, int i, const Settings& s) { return ChannelUnit(c.Shown(i), s); }, settings_);
}

void MslRowFormatter::AppendRow(RowText& row, double time, const std::uint8_t* data, const ExportChannels& channels) {
  char timeText[32];
  row.Append(std::string_view(timeText, FixedText(timeText, sizeof timeText, time, {0, 3})));
  const auto field = [&row](std::string_view text) {
    row.Append(kTab);
    row.Append(text);
  };
  const auto number = [&row](unsigned value) {
    row.Append(kTab);
    row.AppendUnsigned(value, 1);
  };
  ExportValueTexts& v = values_;
  number(static_cast<unsigned>(Rpm(data)));
  for (std::string_view text : {v.Speed(data), v.Map(data), v.Boost(data), v.Baro(data), v.Vacuum(data), v.Ve(data),
                                v.Tps(data), v.Coolant(data), v.Iat(data), v.Intercooler(data), v.O2(data)})
    field(text);
  number(data[frame::kAirFlow]);
  field(v.Spark(data));
  field(v.Retard(data));
  number(frame::Word(data, frame::kKnockCount));
  field(v.BasePw(data));
  field(v.ActualPw(data));
  number(static_cast<unsigned>(DutyPercent(data)));
  field(v.Aky(data));
  field(v.WasteGate(data));
  for (const FlagColumn& flag : kFlagColumns) field(Flag(data, flag.byte, flag.mask) == 'Y' ? "1" : "0");
  static constexpr unsigned kRangeNumbers[] = {0, 1, 3, 4};
  number(settings_.transType == 0 ? StickGear(data) : kRangeNumbers[static_cast<int>(AutoGear(data))]);
  number(LoopState(data));
  number(data[frame::kInt]);
  number(data[frame::kBlm]);
  number(data[frame::kIac]);
  field(v.CommandedAfr(data));
  field(v.Wideband(channels.WidebandAfr()));
  for (std::string_view text : {v.DeltaTps(data), v.TpsAe(data), v.DeltaMap(data), v.MapAe(data), v.AePw(data)})
    field(text);
  for (int i = 0; i < channels.ActiveCount(); ++i) field(Trimmed(channels.Text(i)));
  row.Append("\r\n");
}

double FrameClock::Next(const std::uint8_t* data) {
  const long second = static_cast<long>(RunSeconds(data));
  place_ = second == second_ ? place_ + 1 : 0;
  second_ = second;
  const int place = place_ < kFramesPerSecond ? place_ : kFramesPerSecond - 1;
  return static_cast<double>(second) + static_cast<double>(place) / kFramesPerSecond;
}

}  // namespace vantor
