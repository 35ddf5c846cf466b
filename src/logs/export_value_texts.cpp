#include "logs/export_value_texts.h"

#include "live/live_frame.h"
#include "logs/frame_values.h"

namespace vantor {

using namespace exports;

namespace {

FixedFormat Padded(FixedFormat format, ExportValueTexts::Padding padding) {
  return padding == ExportValueTexts::Padding::DumpWidths ? format : FixedFormat{0, format.precision};
}

unsigned SensorKey(const std::uint8_t* data, int offset) {
  return static_cast<unsigned>(MapSensorIndex(data)) * 256 + data[offset];
}

}  // namespace

ExportValueTexts::ExportValueTexts(const Settings& settings, Padding padding)
    : settings_(settings),
      speed_(256, Padded(format::kSpeed, padding), [this](unsigned c) { return SpeedUnits(c, settings_); }),
      map_(3 * 256, Padded(format::kMap, padding),
           [](unsigned k) { return MapKpa(static_cast<int>(k / 256), k % 256); }),
      boost_(3 * 256, Padded(format::kBoost, padding),
             [](unsigned k) { return BoostPsi(static_cast<int>(k / 256), k % 256); }),
      baro_(256, Padded(format::kBaro, padding), exports::Baro),
      vacuum_(256, Padded(format::kVacuum, padding), VacuumKpa),
      percent_(256, Padded(format::kPercent, padding), Percent),
      temperature_(256, Padded(format::kTemperature, padding),
                   [this](unsigned c) { return Temperature(c, settings_); }),
      o2_(256, Padded(format::kO2, padding), O2Mv),
      spark_(256, Padded(format::kSpark, padding), exports::Spark),
      retard_(256, Padded(format::kRetard, padding), exports::Retard),
      basePw_(65536, Padded(format::kBasePw, padding), BasePwMs),
      actualPw_(65536, Padded(format::kActualPw, padding), LimitedPwMs),
      tenths_(256, Padded(format::kCommandedAfr, padding), Tenth),
      deltaTps_(256, Padded(format::kDeltaTps, padding), Percent),
      enrichment_(256, Padded(format::kEnrichment, padding), LimitedPwMs),
      deltaMap_(256, Padded(format::kDeltaMap, padding), exports::DeltaMap),
      aePw_(65536, Padded(format::kAePw, padding), LimitedPwMs),
      wideband_(Padded(format::kWideband, padding)) {}

std::string_view ExportValueTexts::Speed(const std::uint8_t* d) { return speed_.Text(d[frame::kSpeed]); }
std::string_view ExportValueTexts::Map(const std::uint8_t* d) { return map_.Text(SensorKey(d, frame::kMap)); }
std::string_view ExportValueTexts::Boost(const std::uint8_t* d) { return boost_.Text(SensorKey(d, frame::kBoost)); }
std::string_view ExportValueTexts::Baro(const std::uint8_t* d) { return baro_.Text(d[frame::kBaro]); }
std::string_view ExportValueTexts::Vacuum(const std::uint8_t* d) { return vacuum_.Text(d[frame::kVacuum]); }
std::string_view ExportValueTexts::Ve(const std::uint8_t* d) { return percent_.Text(d[frame::kVe]); }
std::string_view ExportValueTexts::Tps(const std::uint8_t* d) { return percent_.Text(d[frame::kTps]); }
std::string_view ExportValueTexts::Coolant(const std::uint8_t* d) { return temperature_.Text(d[frame::kCoolantTemp]); }
std::string_view ExportValueTexts::Iat(const std::uint8_t* d) { return temperature_.Text(d[frame::kIat]); }
std::string_view ExportValueTexts::Intercooler(const std::uint8_t* d) {
  return temperature_.Text(d[frame::kIntercoolerTemp]);
}
std::string_view ExportValueTexts::O2(const std::uint8_t* d) { return o2_.Text(d[frame::kO2]); }
std::string_view ExportValueTexts::Spark(const std::uint8_t* d) { return spark_.Text(d[frame::kSparkAdvance]); }
std::string_view ExportValueTexts::Retard(const std::uint8_t* d) { return retard_.Text(d[frame::kRetard]); }
std::string_view ExportValueTexts::BasePw(const std::uint8_t* d) { return basePw_.Text(frame::Word(d, frame::kBasePw)); }
std::string_view ExportValueTexts::ActualPw(const std::uint8_t* d) {
  return actualPw_.Text(frame::Word(d, frame::kActualPw));
}
std::string_view ExportValueTexts::Aky(const std::uint8_t* d) { return percent_.Text(d[frame::kAky]); }
std::string_view ExportValueTexts::WasteGate(const std::uint8_t* d) { return percent_.Text(d[frame::kWasteGate]); }
std::string_view ExportValueTexts::CommandedAfr(const std::uint8_t* d) { return tenths_.Text(d[frame::kCommandedAfr]); }
std::string_view ExportValueTexts::DeltaTps(const std::uint8_t* d) { return deltaTps_.Text(DeltaTpsCode(d)); }
std::string_view ExportValueTexts::TpsAe(const std::uint8_t* d) { return enrichment_.Text(d[frame::kTpsAe]); }
std::string_view ExportValueTexts::DeltaMap(const std::uint8_t* d) { return deltaMap_.Text(d[frame::kMapChange]); }
std::string_view ExportValueTexts::MapAe(const std::uint8_t* d) { return enrichment_.Text(d[frame::kMapAe]); }
std::string_view ExportValueTexts::AePw(const std::uint8_t* d) { return aePw_.Text(frame::Word(d, frame::kAePw)); }

std::string_view ExportValueTexts::Wideband(double afr) {
  return {widebandText_, FixedText(widebandText_, sizeof widebandText_, afr, wideband_)};
}

}  // namespace vantor
