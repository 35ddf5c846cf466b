#pragma once
// Settings: every user preference, one field per configuration key.
// Fields start at the keys' start values; ReadSettings overwrites them.

#include <array>
#include <cstdint>
#include <string>

namespace vantor {

struct UserDevice {
  std::int32_t active = 0;                           // [UDnACTIVE]
  std::int32_t slot = 0;                             // fixed, 0..15
  std::string name = "-Available Device Entry-";     // [UDnNAME]
  std::string unit = "NEW";                          // [UDnUNIT]
  std::int32_t voltJ = 0;                            // [UDnVOLTJ] millivolts
  std::int32_t voltK = 5000;                         // [UDnVOLTK]
  std::int32_t unitJ = 0;                            // [UDnUNITJ] value x 10000
  std::int32_t unitK = 1000000;                      // [UDnUNITK]
  std::int32_t width = 4;                            // [UDnWIDTH]
  std::int32_t precision = 4;                        // [UDnPRECI]
};

// Channel types.
constexpr std::int32_t kChannelNone = -1;
constexpr std::int32_t kChannelWideband = 0;
constexpr std::int32_t kChannelFuelPressure = 1;
constexpr std::int32_t kChannelUserDevice = 2;

struct AdcChannel {
  std::int32_t type = kChannelNone;  // [ADnTYPE]
  std::int32_t code = 0;             // [ADnINSTA]
  std::int32_t index = 0;            // [ADnINDEX]
  std::string name = "None";         // [ADnNAME]
  std::int32_t filter = 100;         // [ADnFILTER]
  std::int32_t wbPreferred = 0;      // [ADnWBPREF]
  std::int32_t fpPreferred = 0;      // [ADnFPPREF]
};

constexpr int kUserDeviceCount = 16;
// The longest name and unit a configuration file keeps through a write and a read.
constexpr int kUserDeviceNameMax = 47;
constexpr int kUserDeviceUnitMax = 3;
// Learn limits are kept in the scale shown: 220 C is 428 F.
constexpr std::int32_t kLearnTemperatureMax = 428;
constexpr int kAdcChannelCount = 8;

struct Settings {
  Settings();

  std::string port = "COM2";                           // [PORT]
  std::string dlog, dlogName, dlogPath;                // [DLOG] [DLOGNAME] [DLOGPATH]
  std::string play, playName, playPath;                // [PLAY] ...
  std::string learnVe, learnVeName, learnVePath;       // [LEARNVE] ...
  std::string newVe, newVeName, newVePath;             // [NEWVE] ...
  std::string analysis, analysisName, analysisPath;    // [ANALYSIS] ...
  std::int32_t temperScale = 1;                        // [TEMPERSCALE] 1 = C
  std::int32_t lrnLwr = 75;                            // [LRNLWR]
  std::int32_t lrnUpr = 110;                           // [LRNUPR]
  std::int32_t lrnInp = 0;                             // [LRNINP] 0 BLM, 1 WB
  std::int32_t pbSpd = 50;                             // [PBSPD]
  std::int32_t rdln = 5800;                            // [RDLN]
  std::int32_t rpmRange = 7000;                        // [RPMRANGE]
  std::int32_t mphRange = 120;                         // [MPHRANGE]
  std::int32_t kphOrMph = 0;                           // [KPHORMPH] 1 = KPH
  std::int32_t smoothFac = 5;                          // [SMOOTHFAC]
  std::int32_t autoVSave = 0;                          // [AUTOVSAVE]
  std::int32_t autoVTime = 5;                          // [AUTOVTIME]
  std::int32_t autoVShow = 1;                          // [AUTOVSHOW]
  std::int32_t knockAlert = 1;                         // [KNOCKALERT]
  std::int32_t saveTrip = 0;                           // [SAVETRIP]
  std::int32_t bfrVssPpm = 0;                          // [BFRVSSPPM]
  std::int32_t bfrFlwCnst = 0;                         // [BFRFLWCNST]
  double totalPw = 0.0;                                // [TOTALPW]
  double totalVss = 0.0;                               // [TOTALVSS]
  std::int32_t xPosMalf = -1, yPosMalf = -1;           // [XPOSMALF] [YPOSMALF]
  std::int32_t actvMalf = 0;                           // [ACTVMALF]
  std::int32_t xPosFbnk = -1, yPosFbnk = -1;           // [XPOSFBNK] [YPOSFBNK]
  std::int32_t actvFbnk = 0;                           // [ACTVFBNK]
  std::int32_t xPosHwnd = -1, yPosHwnd = -1;           // [XPOSHWND] [YPOSHWND]
  std::int16_t flshBank = 0;                           // [FLSHBANK]
  std::int16_t flshVerify = 1;                         // [FLSHVERIFY]
  std::int16_t flshSetBank = 1;                        // [FLSHSETBANK]
  std::int16_t flshAction = 1;                         // [FLSHACTION]
  std::string flshBin, flshBinFile, flshBinPath;       // [FLSHBIN] [FLSHBINFILE] [FLSHBINPATH]
  std::string readBin, readBinFile, readBinPath;       // [READBIN] [READBINFILE] [READBINPATH]
  std::int32_t anaSHeader = 0;                         // [ANASHEADER]
  std::int32_t anaCsv = 0;                             // [ANA.CSV]
  std::int32_t enterPause = 0;                         // [ENTERPAUSE]
  std::int32_t transType = 0;                          // [TRANSTYPE] 0 Stick, 1 Auto
  std::int32_t updateRate = 0;                         // [UPDATERATE]
  std::array<UserDevice, kUserDeviceCount> userDevices;
  std::array<AdcChannel, kAdcChannelCount> adcChannels;

  // Derived: frames skipped between redraws, 3 - [UPDATERATE]; 3 before any read.
  std::int32_t updateDivisor = 3;
};

}  // namespace vantor
