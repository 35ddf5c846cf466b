#pragma once
// The texts of the exports' fixed-point columns, taken from one frame: one
// conversion for both writers, padded to the dump's widths or bare (with
// the same places) for the viewer file.

#include <cstdint>
#include <string_view>

#include "logs/code_text_cache.h"
#include "settings/settings.h"

namespace vantor {

class ExportValueTexts {
 public:
  enum class Padding { DumpWidths, None };
  ExportValueTexts(const Settings& settings, Padding padding);

  std::string_view Speed(const std::uint8_t* data);
  std::string_view Map(const std::uint8_t* data);
  std::string_view Boost(const std::uint8_t* data);
  std::string_view Baro(const std::uint8_t* data);
  std::string_view Vacuum(const std::uint8_t* data);
  std::string_view Ve(const std::uint8_t* data);
  std::string_view Tps(const std::uint8_t* data);
  std::string_view Coolant(const std::uint8_t* data);
  std::string_view Iat(const std::uint8_t* data);
  std::string_view Intercooler(const std::uint8_t* data);
  std::string_view O2(const std::uint8_t* data);
  std::string_view Spark(const std::uint8_t* data);
  std::string_view Retard(const std::uint8_t* data);
  std::string_view BasePw(const std::uint8_t* data);
  std::string_view ActualPw(const std::uint8_t* data);
  std::string_view Aky(const std::uint8_t* data);
  std::string_view WasteGate(const std::uint8_t* data);
  std::string_view CommandedAfr(const std::uint8_t* data);
  std::string_view DeltaTps(const std::uint8_t* data);
  std::string_view TpsAe(const std::uint8_t* data);
  std::string_view DeltaMap(const std::uint8_t* data);
  std::string_view MapAe(const std::uint8_t* data);
  std::string_view AePw(const std::uint8_t* data);
  // The wideband AFR of the frame (not cached: a filtered channel value).
  std::string_view Wideband(double afr);

 private:
  const Settings& settings_;
  CodeTextCache speed_;
  CodeTextCache map_;    // sensor index * 256 + code
  CodeTextCache boost_;  // sensor index * 256 + code
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
  FixedFormat wideband_;
  char widebandText_[32] = {};
};

}  // namespace vantor
