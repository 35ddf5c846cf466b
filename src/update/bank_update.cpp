#include "update/bank_update.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cal/bank_file.h"
#include "cal/cal_image.h"
#include "cal/job_dialogue.h"
#include "cal/message_pane.h"
#include "cal/stdio_file.h"
#include "link/commands.h"
#include "link/ecm_link.h"
#include "update/calibration_migration.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

constexpr int kSectorsPerBank = 8;

std::string BankPath(const std::string& directory, const char* pattern, int bank) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, bank);
  return directory.empty() ? std::string(name) : (fs::path(directory) / name).string();
}

std::string BankLine(int bank) {
  char text[32];
  std::snprintf(text, sizeof text, "Bank #: %d ", bank);
  return text;
}

void MakeReadOnly(const std::string& path) {
  std::error_code ignored;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove, ignored);
}

// One update run's dialogue with the ECM and its pane.
class UpdateDialogue : public JobDialogue {
 public:
  UpdateDialogue(EcmLink& link, MessageSink& pane, const UpdateRun& run)
      : JobDialogue(link, pane, UpdatePaneStyle()), run_(run) {}

  void SelectBank(int bank) { bank_ = bank; }

  // Read phase: the bank's calibration into an open file (then completed by the caller).
  bool ReadCalibration(StdioFile& file) {
    if (!Info(bank_)) return false;
    if (!Step(TxSlRequestCal(link_, bank_), "TxSlRequestCal Failed")) return false;
    if (!Step(file.Write(Returned(), kCalibrationSize) ? 0 : -1, "File Write Failed")) return false;
    Progress("Bank Read Successful");
    return true;
  }

  int Run() {
    Progress("Updating your ORV KDM-9 Flash ECM");
    if (!Step(TxMsXmit(link_, kStreamStop), "TxMsXmit Failed")) return -1;
    if (!Step(TxMsFlash(link_), "TxMsFlash Failed")) return -1;
    if (!ReadAll() || !ConvertAll() || !ProgramAll()) return -1;
    Progress("ORV Flash Update Completed...");
    return Step(TxSlStop(link_, true), "TxSlStop Failed") ? 0 : -1;
  }

 private:
  bool ReadAll() {
    Progress("Reading Calibrations");
    for (int bank = 0; bank < kBankCount; ++bank) {
      Progress(BankLine(bank));
      SelectBank(bank);
      if (ReadBankToFile(link_, pane_, bank, OldBankPath(run_.directory, bank)) != 0) return false;
    }
    return true;
  }

  bool ConvertAll() {
    Progress("Creating New Calibrations");
    for (int bank = 0; bank < kBankCount; ++bank) {
      Progress(BankLine(bank));
      const ConvertOutcome outcome = ConvertCalibration(OldBankPath(run_.directory, bank),
                                                        NewBankPath(run_.directory, bank), run_.conversionPause);
      if (outcome.status == ConvertStatus::Error) {
        pane_.AddLine(style_.failedStep, outcome.text);
        return false;
      }
    }
    return true;
  }

  bool ProgramAll() {
    Progress("Programming Banks...");
    for (int bank = 0; bank < kBankCount; ++bank) {
      if (!ProgramOne(bank)) {
        pane_.AddLine(style_.finalFailure, "BIN Programing FAILED!");
        return false;
      }
    }
    return true;
  }

  bool ProgramOne(int bank) {
    Progress(BankLine(bank));
    SelectBank(bank);
    if (!Info(bank_)) return false;
    if (!Step(TxSlRequestCal(link_, bank), "TxSlReqstPage Failed")) return false;
    if (Returned()[9] == 1 && Returned()[10] == 1) {
      Progress("Bank Already Updated");
      return true;
    }
    auto calibration = std::make_unique<std::array<std::uint8_t, kCalibrationSize>>();
    if (!LoadNewCalibration(bank, calibration.get())) return false;
    for (int s = 0; s < kSectorsPerBank; ++s)
      if (!Step(TxSlEraseSector(link_, bank * kSectorsPerBank + s), "TxSlEraseSector Failed")) return false;
    // Page 0 carries the layout version: it goes last, so an unfinished bank never reads as 1.1.
    if (!ProgramPages(calibration->data() + kCalPageSize, 1, kCalibrationPages - 1)) return false;
    if (!VerifyCalibration(*calibration)) return false;
    if (!ProgramPages(run_.firmware->data(), kFirmwareFirstPage, kFirmwarePages)) return false;
    if (!VerifyFirmware()) return false;
    std::array<std::uint8_t, kCalPageSize> pageZero;
    std::copy_n(calibration->begin(), kCalPageSize, pageZero.begin());
    pageZero[9] = 1;
    pageZero[10] = 1;
    if (!Step(TxSlPgmPage(link_, 0, bank_, pageZero.data()), "TxSlPgmPage Failed")) return false;
    pane_.AddLine(style_.success, "Bank Updated/Verified Successfully");
    return true;
  }

  bool LoadNewCalibration(int bank, std::array<std::uint8_t, kCalibrationSize>* calibration) {
    StdioFile file(NewBankPath(run_.directory, bank), "rb");
    if (!Step(file ? 0 : -1, "New Calibration File Open Failed")) return false;
    const bool whole = file.Read(calibration->data(), calibration->size()) == calibration->size();
    return Step(whole ? 0 : -1, "New Calibration File Read Failure");
  }

  // Pages first, first + 1, ... from consecutive 128-byte slices of data.
  bool ProgramPages(const std::uint8_t* data, int first, int count) {
    for (int n = 0; n < count; ++n)
      if (!Step(TxSlPgmPage(link_, first + n, bank_, data + n * kCalPageSize), "TxSlPgmPage Failed"))
        return false;
    return true;
  }

  bool VerifyCalibration(const std::array<std::uint8_t, kCalibrationSize>& calibration) {
    if (!FreshRequest(TxSlRequestCal, bank_, "TxSlRequestCal Failed")) return false;
    const bool same = std::equal(calibration.begin() + kCalPageSize, calibration.end(), Returned() + kCalPageSize);
    return Step(same ? 0 : -1, "Verify Failed");
  }

  bool VerifyFirmware() {
    if (!FreshRequest(TxSlRequestBin, bank_, "TxSlRequestBin Failed  ")) return false;
    const bool same = std::equal(run_.firmware->begin(), run_.firmware->end(), Returned() + kCalibrationSize);
    return Step(same ? 0 : -1, "Verify Failed  ");
  }

  const UpdateRun& run_;
  int bank_ = 0;
};

}  // namespace

std::string OldBankPath(const std::string& directory, int bank) {
  return BankPath(directory, "Bank_%d_old.bin", bank);
}

std::string NewBankPath(const std::string& directory, int bank) {
  return BankPath(directory, "Bank_%d_new.bin", bank);
}

int ReadBankToFile(EcmLink& link, MessageSink& pane, int bank, const std::string& path) {
  const UpdateRun noFirmware;
  UpdateDialogue dialogue(link, pane, noFirmware);
  if (StdioFile(path, "rb")) {
    dialogue.Progress("    -Calibration Exists-");
    return 0;
  }
  // Written under a working name and renamed when complete, so that even a
  // run killed mid-write never leaves a partial file under the kept name.
  const std::string working = path + ".part";
  bool ok = false;
  {
    StdioFile file(working, "w+b");
    if (!file) {
      dialogue.Step(-1, "Failed opening BIN File");
    } else {
      dialogue.SelectBank(bank);
      ok = dialogue.ReadCalibration(file);
      ok = CompleteBankFile(file) && ok;
      ok = file.Close() && ok;
    }
  }
  std::error_code error;
  if (ok) {
    fs::rename(working, path, error);
    if (error) ok = dialogue.Step(-1, "File Write Failed");
  }
  if (!ok) {
    fs::remove(working, error);
    return -1;
  }
  MakeReadOnly(path);
  return 0;
}

int UpdateAllBanks(EcmLink& link, MessageSink& pane, const UpdateRun& run) {
  if (!run.firmware) return -1;
  UpdateDialogue dialogue(link, pane, run);
  return dialogue.Run();
}

namespace {

int EndRun(MessagePane& pane, int result) {
  const PaneStyle& style = pane.Style();
  pane.AddLine(style.progress, "");
  if (result == 0)
    pane.AddLine(style.success, "    -Update Successful-");
  else
    pane.AddLine(style.finalFailure, "     -Update Failed-");
  return result;
}

}  // namespace

int RunUpdate(EcmLink& link, MessagePane& pane, const UpdateRun& run) {
  pane.Clear();
  return EndRun(pane, UpdateAllBanks(link, pane, run));
}

std::string FirmwareImageLine(const std::string& firmwarePath, std::size_t width) {
  const std::string label = "Firmware Image: ";
  if (label.size() + firmwarePath.size() <= width || width < label.size() + 4) return label + firmwarePath;
  const std::size_t keep = width - label.size() - 3;
  return label + "..." + firmwarePath.substr(firmwarePath.size() - keep);
}

int RunUpdateWithFirmwareFile(EcmLink& link, MessagePane& pane, UpdateRun run, const std::string& firmwarePath) {
  pane.Clear();
  pane.AddLine(pane.Style().progress, FirmwareImageLine(firmwarePath, static_cast<std::size_t>(pane.Style().width)));
  const auto firmware = std::make_unique<FirmwareImage>();
  std::string error;
  if (!LoadFirmwareImage(firmwarePath, firmware.get(), &error)) {
    pane.AddLine(pane.Style().failedStep, error.substr(0, error.find(':')));
    return EndRun(pane, -1);
  }
  run.firmware = firmware.get();
  return EndRun(pane, UpdateAllBanks(link, pane, run));
}

}  // namespace vantor
