#include "ui/draw/diagnostics_values.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "live/live_frame.h"

namespace vantor::ui {
namespace {

TEST(DiagnosticsChart, NarrowBandY) {
  struct Case {
    int millivolts, y;
  };
  for (const Case& c : {Case{0, 521}, Case{442, 436}, Case{1000, 330}, Case{1127, 330}, Case{-5, 521}})
    EXPECT_EQ(NarrowBandY(c.millivolts), c.y) << c.millivolts << " mV";
}

TEST(DiagnosticsChart, WidebandLimitsAndY) {
  struct Case {
    double afr, kept;
    int y;
  };
  const Case cases[] = {
      {25.0, 20.0, 330}, {20.0, 20.0, 330}, {14.7, 14.7, 431}, {10.0, 10.0, 521}, {8.0, 10.0, 521}, {NAN, 10.0, 521},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ChartAfr(c.afr), c.kept) << c.afr;
    EXPECT_EQ(WidebandY(ChartAfr(c.afr)), c.y) << c.afr;
  }
}

TEST(DiagnosticsValues, CoolantIsKeptWhileTheEcmSaysSo) {
  std::array<std::uint8_t, 273> frame{};
  DiagnosticValues values;
  frame[frame::kCoolantCounts] = 120;
  frame[frame::kCoolantTable] = 0x01;  // table 0: 161 at count 120
  frame[frame::kMap] = 100;
  ReadDiagnosticValues(values, frame.data(), 850, 2, 0);
  EXPECT_EQ(values.ctsCode, 161);
  EXPECT_DOUBLE_EQ(values.mapKpa, 100 * 0.7705 + 8.0);
  frame[frame::kCoolantCounts] = 0;
  frame[frame::kFlags149] = 0x01;
  ReadDiagnosticValues(values, frame.data(), 850, 2, 0);
  EXPECT_EQ(values.ctsRaw, 0);
  EXPECT_EQ(values.ctsCode, 161);
  EXPECT_DOUBLE_EQ(CodeCelsius(values.ctsCode), 80.75);
}

}  // namespace
}  // namespace vantor::ui
