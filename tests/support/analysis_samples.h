#pragma once
// Sample logs of the analysis tests, with the values their golden files
// were worked out from by hand.
//
// Log A (mph, degrees F, 1-bar MAP, manual gearbox, no channels):
//   recording 1: mark 000, A1; A2 (pulse counter wraps 250 -> 3); A3 with a
//   time stamp inside its data; a damaged frame; A4 without a speed calibration;
//   recording 2: A5; A6 with a stamp between its sync bytes (lost); A7.
// Log B (km/h, degrees C, 2-bar MAP, automatic, wideband on channel 2 and a
//   PSI user device on channel 5): B1 to B4 through the four gear texts.

#include <string>
#include <utility>

#include "support/log_builder.h"
#include "settings/settings.h"

namespace vantor::testlog {

inline FrameData BaseFrame(unsigned runSeconds, unsigned pulseCounter) {
  FrameData d{};
  // 6 cylinders and 1-bar MAP; 1310720 / 655 = 2001 rpm; 920920 / 3600 + 0.5
  // = 256 pulses per mile; knock count, sPW, aPW, aePW.
  for (auto [offset, word] : {std::pair{24, 655}, {127, 3600}, {115, 258}, {167, 400}, {138, 500}, {250, 65}})
    SetWord(d, offset, static_cast<unsigned>(word));
  SetWord(d, 235, runSeconds);
  d[166] = static_cast<std::uint8_t>(pulseCounter);
  // {offset, value}: speed 45, MAP, boost, TPS, previous TPS, coolant, intake
  // air, intercooler, O2, air flow, spark, retard, baro, vacuum, dMAP, VE, Aky,
  // WG, the flag bytes Id Hw Ac/Tc Dc Ae/Pe Cl F2 Cv, gear 12 (shown as 9),
  // loop state, INT, BLM, IAC, commanded AFR, tpsAE, mapAE.
  for (auto [offset, value] :
       {std::pair{204, 0x06}, {52, 45},  {45, 100},  {44, 50},   {73, 51},   {75, 41},   {227, 151}, {126, 60},
        {125, 71},            {62, 100}, {240, 37},  {10, 65},   {119, 10},  {254, 240}, {49, 100},  {50, 8},
        {169, 200},           {55, 128}, {178, 64},  {2, 0x80},  {3, 0x04},  {5, 0x88},  {8, 0x08},  {13, 0xC0},
        {14, 0x80},           {140, 2},  {149, 0x20}, {187, 12}, {162, 1},   {164, 128}, {163, 130}, {253, 40},
        {165, 147},           {154, 100}, {153, 7}})
    d[offset] = static_cast<std::uint8_t>(value);
  return d;
}

inline std::string BuildLogA() {
  LogBuilder log;
  log.Recording(" 07/20/2013 - 16:47:09");
  log.Raw(MarkRecord(0, " 07/20/2013 - 16:47:10"));
  log.Frame(BaseFrame(3725, 250));
  log.Frame(BaseFrame(3725, 3));
  log.Frame(BaseFrame(3726, 9), StampRecord(" 07/20/2013 - 16:47:11"), 2 + 100);
  log.Damaged(BaseFrame(3726, 9));
  FrameData uncalibrated = BaseFrame(3726, 9);
  SetWord(uncalibrated, 127, 0);
  log.Frame(uncalibrated);
  log.Recording(" 07/21/2013 - 08:00:00");
  log.Frame(BaseFrame(10, 20));
  log.Frame(BaseFrame(10, 25), StampRecord(" 07/21/2013 - 08:00:05"), 1);
  log.Frame(BaseFrame(11, 30));
  return log.Bytes();
}

inline FrameData FrameB(unsigned runSeconds, std::uint8_t byte15, std::uint8_t byte213) {
  FrameData d = BaseFrame(runSeconds, 250);
  d[204] = 0x86;     // 2-bar MAP, 6 cylinders
  d[52] = 100;
  d[227] = 160;
  d[126] = 91;
  d[15] = byte15;
  d[213] = byte213;
  SetWord(d, 257 + 2 * 2, 512);  // wideband channel
  SetWord(d, 257 + 2 * 5, 512);  // user device channel
  return d;
}

inline std::string BuildLogB() {
  LogBuilder log;
  log.Recording(" 07/22/2013 - 09:00:00");
  log.Frame(FrameB(3725, 0x00, 0x04));
  log.Frame(FrameB(3726, 0x10, 0x02));
  log.Frame(FrameB(3726, 0x00, 0x02));
  log.Frame(FrameB(3726, 0x00, 0x00));
  return log.Bytes();
}

inline Settings SettingsA() {
  Settings s;
  s.kphOrMph = 0;
  s.temperScale = 0;
  s.transType = 0;
  return s;
}

inline Settings SettingsB() {
  Settings s;
  s.kphOrMph = 1;
  s.temperScale = 1;
  s.transType = 1;
  // TT-1 wideband (2 V + 10) preferred on channel 2; a PSI user device on channel 5.
  s.adcChannels[2] = {.type = kChannelWideband, .code = 1, .index = 1, .name = "TT-1 WB      (0V=10:1 - 5V=20:1)",
                      .filter = 100, .wbPreferred = 1, .fpPreferred = 0};
  s.userDevices[0] = {.active = 1, .slot = 0, .name = "Fuel rail", .unit = "PSI", .voltJ = 500, .voltK = 4500,
                      .unitJ = 0, .unitK = 1000000, .width = 3, .precision = 1};
  s.adcChannels[5] = {.type = kChannelUserDevice, .code = 0, .index = 0, .name = "Fuel rail", .filter = 100,
                      .wbPreferred = 0, .fpPreferred = 0};
  return s;
}

// The log of the Analysis window and drawing tests: 80 frames, marks before
// frames 10 and 30, a time stamp before frame 50.
constexpr int kMarkedLogLines = 80;
inline std::string MarkedLog() {
  LogBuilder log;
  for (int i = 0; i < kMarkedLogLines; ++i) {
    if (i == 10 || i == 30) log.Raw(MarkRecord(i, " 01/01/2020 - 00:00:00"));
    if (i == 50) log.Raw(StampRecord(" 01/01/2020 - 00:00:03"));
    log.Frame(BaseFrame(static_cast<unsigned>(i / 17), static_cast<unsigned>(4 * i % 256)));
  }
  return log.Bytes();
}

}  // namespace vantor::testlog
