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

#include "logs/log_builder.h"
#include "settings/settings.h"

namespace vantor::testlog {

inline FrameData BaseFrame(unsigned runSeconds, unsigned pulseCounter) {
  FrameData d{};
  d[204] = 0x06;             // 6 cylinders, 1-bar MAP
  SetWord(d, 24, 655);       // 1310720 / 655 = 2001 rpm
  SetWord(d, 127, 3600);     // 920920 / 3600 + 0.5 -> 256 pulses per mile
  SetWord(d, 235, runSeconds);
  d[166] = static_cast<std::uint8_t>(pulseCounter);
  d[52] = 45;                // speed
  d[45] = 100;               // MAP
  d[44] = 50;                // boost
  d[73] = 51;                // TPS
  d[75] = 41;                // previous TPS
  d[227] = 151;              // coolant
  d[126] = 60;               // intake air
  d[125] = 71;               // intercooler
  d[62] = 100;               // O2
  d[240] = 37;               // air flow
  d[10] = 65;                // spark
  d[119] = 10;               // retard
  SetWord(d, 115, 258);      // knock count
  SetWord(d, 167, 400);      // sPW
  SetWord(d, 138, 500);      // aPW
  SetWord(d, 250, 65);       // aePW
  d[254] = 240;              // baro
  d[49] = 100;               // vacuum
  d[50] = 8;                 // dMAP
  d[169] = 200;              // VE
  d[55] = 128;               // Aky
  d[178] = 64;               // WG
  d[2] = 0x80;               // Id
  d[3] = 0x04;               // Hw
  d[5] = 0x88;               // Ac, Tc
  d[8] = 0x08;               // Dc
  d[13] = 0xC0;              // Ae, Pe
  d[14] = 0x80;              // Cl
  d[140] = 0x02;             // F2
  d[149] = 0x20;             // Cv
  d[187] = 12;               // gear, shown as 9
  d[162] = 1;                // loop state
  d[164] = 128;              // INT
  d[163] = 130;              // BLM
  d[253] = 40;               // IAC
  d[165] = 147;              // commanded AFR
  d[154] = 100;              // tpsAE
  d[153] = 7;                // mapAE
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
constexpr int kLogAValidFrames = 6;

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
  AdcChannel& wideband = s.adcChannels[2];
  wideband.type = kChannelWideband;
  wideband.code = 1;
  wideband.index = 1;  // TT-1: 2 V + 10
  wideband.name = "TT-1 WB      (0V=10:1 - 5V=20:1)";
  wideband.wbPreferred = 1;
  UserDevice& device = s.userDevices[0];
  device.active = 1;
  device.name = "Fuel rail";
  device.unit = "PSI";
  device.voltJ = 500;
  device.unitJ = 0;
  device.voltK = 4500;
  device.unitK = 1000000;
  device.width = 3;
  device.precision = 1;
  AdcChannel& user = s.adcChannels[5];
  user.type = kChannelUserDevice;
  user.code = 0;
  user.index = 0;
  user.name = "Fuel rail";
  return s;
}

}  // namespace vantor::testlog
