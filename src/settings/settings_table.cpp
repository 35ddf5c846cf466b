#include "settings/settings_table.h"

#include <string>

#include "settings/settings_io.h"

namespace vantor {
namespace {

// Row builders: one per value kind, so the tables below read like the file.
template <typename Select>
SettingsRow MakeRow(std::string key, ValueKind kind, std::int64_t min, std::int64_t max,
                    std::size_t limit, std::string def, Select select) {
  return {std::move(key), kind, min, max, limit, std::move(def),
          [select](Settings& s) -> SettingsField { return select(s); }};
}

template <typename Member>
SettingsRow IntRow(std::string key, std::int64_t min, std::int64_t max, std::string def,
                   Member member) {
  return MakeRow(std::move(key), ValueKind::Int32, min, max, 0, std::move(def),
                 [member](Settings& s) { return &(s.*member); });
}

template <typename Member>
SettingsRow ShortRow(std::string key, std::int64_t min, std::int64_t max, std::string def,
                     Member member) {
  return MakeRow(std::move(key), ValueKind::Int16, min, max, 0, std::move(def),
                 [member](Settings& s) { return &(s.*member); });
}

template <typename Member>
SettingsRow TextRow(std::string key, std::size_t limit, std::string def, Member member) {
  return MakeRow(std::move(key), ValueKind::Text, 0, 0, limit, std::move(def),
                 [member](Settings& s) { return &(s.*member); });
}

template <typename Member>
SettingsRow RealRow(std::string key, std::string def, Member member) {
  return MakeRow(std::move(key), ValueKind::Real, 0, 0, 0, std::move(def),
                 [member](Settings& s) { return &(s.*member); });
}

SettingsRow IdRow(std::string text) {
  return {"[ID]", ValueKind::Text, 0, 0, 0, std::move(text), {}};
}

// Rows of one user device slot ([UDn...]) or one channel ([ADn...]).
template <typename Member>
SettingsRow DeviceRow(int n, const char* suffix, ValueKind kind, std::int64_t min,
                      std::int64_t max, std::size_t limit, std::string def, Member member) {
  return MakeRow("[UD" + std::to_string(n) + suffix + "]", kind, min, max, limit, std::move(def),
                 [n, member](Settings& s) { return &(s.userDevices[n].*member); });
}

template <typename Member>
SettingsRow ChannelRow(int n, const char* suffix, ValueKind kind, std::int64_t min,
                       std::int64_t max, std::size_t limit, std::string def, Member member) {
  return MakeRow("[AD" + std::to_string(n) + suffix + "]", kind, min, max, limit, std::move(def),
                 [n, member](Settings& s) { return &(s.adcChannels[n].*member); });
}

constexpr std::size_t kPathLimit = 1023;

void AddGeneralRows(std::vector<SettingsRow>& r) {
  using S = Settings;
  r.push_back(IdRow("ORV KDM-9 Vantor Display"));
  r.push_back(TextRow("[PORT]", 32, "COM2", &S::port));
  r.push_back(TextRow("[DLOG]", kPathLimit, "C:\\", &S::dlog));
  r.push_back(TextRow("[DLOGNAME]", kPathLimit, "", &S::dlogName));
  r.push_back(TextRow("[DLOGPATH]", kPathLimit, "", &S::dlogPath));
  r.push_back(TextRow("[PLAY]", kPathLimit, "C:\\", &S::play));
  r.push_back(TextRow("[PLAYNAME]", kPathLimit, "", &S::playName));
  r.push_back(TextRow("[PLAYPATH]", kPathLimit, "", &S::playPath));
  r.push_back(TextRow("[LEARNVE]", kPathLimit, "C:\\", &S::learnVe));
  r.push_back(TextRow("[LEARNVENAME]", kPathLimit, "", &S::learnVeName));
  r.push_back(TextRow("[LEARNVEPATH]", kPathLimit, "", &S::learnVePath));
  r.push_back(TextRow("[NEWVE]", kPathLimit, "C:\\", &S::newVe));
  r.push_back(TextRow("[NEWVENAME]", kPathLimit, "", &S::newVeName));
  r.push_back(TextRow("[NEWVEPATH]", kPathLimit, "", &S::newVePath));
  r.push_back(TextRow("[ANALYSIS]", kPathLimit, "C:\\", &S::analysis));
  r.push_back(TextRow("[ANALYSISNAME]", kPathLimit, "", &S::analysisName));
  r.push_back(TextRow("[ANALYSISPATH]", kPathLimit, "", &S::analysisPath));
  r.push_back(IntRow("[TEMPERSCALE]", 0, 1, "1", &S::temperScale));
  // Held in either scale: 220 C is 428 F, so switching scales never clamps a limit.
  r.push_back(IntRow("[LRNLWR]", 0, kLearnTemperatureMax, "80", &S::lrnLwr));
  r.push_back(IntRow("[LRNUPR]", 0, kLearnTemperatureMax, "110", &S::lrnUpr));
  r.push_back(IntRow("[LRNINP]", 0, 1, "0", &S::lrnInp));
  r.push_back(IntRow("[PBSPD]", 0, 100, "50", &S::pbSpd));
  r.push_back(IntRow("[RDLN]", 0, 8000, "6400", &S::rdln));
  r.push_back(IntRow("[RPMRANGE]", 1000, 8000, "7000", &S::rpmRange));
  r.push_back(IntRow("[MPHRANGE]", 10, 340, "120", &S::mphRange));
  r.push_back(IntRow("[KPHORMPH]", 0, 1, "0", &S::kphOrMph));
  r.push_back(IntRow("[SMOOTHFAC]", 0, 20, "12", &S::smoothFac));
  // The switch lasts for one run: its range lets only 0 be stored.
  r.push_back(IntRow("[AUTOVSAVE]", 0, 0, "0", &S::autoVSave));
  r.push_back(IntRow("[AUTOVTIME]", 1, 60, "5", &S::autoVTime));
  r.push_back(IntRow("[AUTOVSHOW]", 0, 1, "", &S::autoVShow));
  r.push_back(IntRow("[KNOCKALERT]", 0, 1, "", &S::knockAlert));
  r.push_back(IntRow("[SAVETRIP]", 0, 1, "", &S::saveTrip));
  r.push_back(IntRow("[BFRVSSPPM]", 0, 65535, "0", &S::bfrVssPpm));
  r.push_back(IntRow("[BFRFLWCNST]", 0, 65535, "0", &S::bfrFlwCnst));
  r.push_back(RealRow("[TOTALPW]", "-1", &S::totalPw));
  r.push_back(RealRow("[TOTALVSS]", "-1", &S::totalVss));
  r.push_back(IntRow("[XPOSMALF]", -1, 1280, "-1", &S::xPosMalf));
  r.push_back(IntRow("[YPOSMALF]", -1, 1024, "-1", &S::yPosMalf));
  r.push_back(IntRow("[ACTVMALF]", -1, 1, "-1", &S::actvMalf));
  r.push_back(IntRow("[XPOSFBNK]", -1, 1280, "-1", &S::xPosFbnk));
  r.push_back(IntRow("[YPOSFBNK]", -1, 1024, "-1", &S::yPosFbnk));
  r.push_back(IntRow("[ACTVFBNK]", -1, 1, "-1", &S::actvFbnk));
  r.push_back(IntRow("[XPOSHWND]", -1, 1280, "-1", &S::xPosHwnd));
  r.push_back(IntRow("[YPOSHWND]", -1, 1024, "-1", &S::yPosHwnd));
  r.push_back(ShortRow("[FLSHBANK]", 0, 7, "0", &S::flshBank));
  r.push_back(ShortRow("[FLSHVERIFY]", 0, 1, "1", &S::flshVerify));
  r.push_back(ShortRow("[FLSHSETBANK]", 0, 1, "1", &S::flshSetBank));
  r.push_back(ShortRow("[FLSHACTION]", 0, 2, "1", &S::flshAction));
  r.push_back(TextRow("[FLSHBIN]", kPathLimit, "C:\\", &S::flshBin));
  r.push_back(TextRow("[FLSHBINFILE]", kPathLimit, "", &S::flshBinFile));
  r.push_back(TextRow("[FLSHBINPATH]", kPathLimit, "", &S::flshBinPath));
  r.push_back(TextRow("[READBIN]", kPathLimit, "C:\\", &S::readBin));
  r.push_back(TextRow("[READBINFILE]", kPathLimit, "", &S::readBinFile));
  r.push_back(TextRow("[READBINPATH]", kPathLimit, "", &S::readBinPath));
  r.push_back(IntRow("[ANASHEADER]", 0, 1, "0", &S::anaSHeader));
  r.push_back(IntRow("[ANA.CSV]", 0, 1, "0", &S::anaCsv));
  r.push_back(IntRow("[ENTERPAUSE]", 0, 1, "0", &S::enterPause));
  r.push_back(IntRow("[TRANSTYPE]", 0, 1, "0", &S::transType));
  r.push_back(IntRow("[UPDATERATE]", 0, 3, "0", &S::updateRate));
}

void AddUserDeviceRows(std::vector<SettingsRow>& r) {
  using D = UserDevice;
  for (int n = 0; n < kUserDeviceCount; ++n) {
    // An out-of-range active flag reads as 0: the slot is then free.
    r.push_back(DeviceRow(n, "ACTIVE", ValueKind::Int32, 0, 1, 0, "", &D::active));
    r.push_back(DeviceRow(n, "NAME", ValueKind::Text, 0, 0, 49, "-Available Device Entry-", &D::name));
    r.push_back(DeviceRow(n, "UNIT", ValueKind::Text, 0, 0, 5, "NEW", &D::unit));
    r.push_back(DeviceRow(n, "VOLTJ", ValueKind::Int32, 0, 5000, 0, "0", &D::voltJ));
    r.push_back(DeviceRow(n, "VOLTK", ValueKind::Int32, 0, 5000, 0, "5000", &D::voltK));
    r.push_back(DeviceRow(n, "UNITJ", ValueKind::Int32, -9999999, 99999999, 0, "0", &D::unitJ));
    r.push_back(DeviceRow(n, "UNITK", ValueKind::Int32, -9999999, 99999999, 0, "1000000", &D::unitK));
    r.push_back(DeviceRow(n, "WIDTH", ValueKind::Int32, 0, 10, 0, "4", &D::width));
    r.push_back(DeviceRow(n, "PRECI", ValueKind::Int32, 0, 10, 0, "3", &D::precision));
  }
}

void AddChannelRows(std::vector<SettingsRow>& r) {
  using C = AdcChannel;
  for (int n = 0; n < kAdcChannelCount; ++n) {
    r.push_back(ChannelRow(n, "TYPE", ValueKind::Int32, -1, 100, 0, "-1", &C::type));
    r.push_back(ChannelRow(n, "INSTA", ValueKind::Int32, 0, 100, 0, "0", &C::code));
    r.push_back(ChannelRow(n, "INDEX", ValueKind::Int32, 0, 100, 0, "0", &C::index));
    r.push_back(ChannelRow(n, "NAME", ValueKind::Text, 0, 0, 49, "None", &C::name));
    r.push_back(ChannelRow(n, "FILTER", ValueKind::Int32, 0, 100, 0, "100", &C::filter));
    r.push_back(ChannelRow(n, "WBPREF", ValueKind::Int32, 0, 1, 0, "0", &C::wbPreferred));
    r.push_back(ChannelRow(n, "FPPREF", ValueKind::Int32, 0, 1, 0, "0", &C::fpPreferred));
  }
}

SettingsTable BuildMainTable() {
  SettingsTable table;
  AddGeneralRows(table.rows);
  AddUserDeviceRows(table.rows);
  AddChannelRows(table.rows);
  // The program formats "\r\n" through a text-mode stream, so its files hold CR CR LF.
  table.lineEnd = "\r\r\n";
  table.afterRead = ApplyDerivedSettings;
  return table;
}

SettingsTable BuildUpdateTable() {
  using S = Settings;
  SettingsTable table;
  table.rows.push_back(IdRow("ORV Flash Update"));
  table.rows.push_back(TextRow("[PORT]", 32, "COM2", &S::port));
  table.rows.push_back(IntRow("[XPOSHWND]", -1, 1280, "-1", &S::xPosHwnd));
  table.rows.push_back(IntRow("[YPOSHWND]", -1, 1024, "-1", &S::yPosHwnd));
  table.rows.push_back(TextRow("[FLSHBIN]", kPathLimit, "C:\\", &S::flshBin));
  table.rows.push_back(TextRow("[FLSHBINFILE]", kPathLimit, "", &S::flshBinFile));
  table.rows.push_back(TextRow("[FLSHBINPATH]", kPathLimit, "", &S::flshBinPath));
  table.lineEnd = "\r\n";
  return table;
}

}  // namespace

const SettingsRow* SettingsTable::Find(std::string_view key) const {
  for (const SettingsRow& row : rows) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

void ApplyDerivedSettings(Settings& settings) {
  settings.updateDivisor = 3 - settings.updateRate;
  if (settings.saveTrip == 0) {
    settings.totalVss = 0.0;
    settings.totalPw = 0.0;
  }
}

const SettingsTable& MainProgramSettingsTable() {
  static const SettingsTable table = BuildMainTable();
  return table;
}

const SettingsTable& UpdateUtilitySettingsTable() {
  static const SettingsTable table = BuildUpdateTable();
  return table;
}

}  // namespace vantor
