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
#include "cal/ve_file.h"
#include "link/commands.h"
#include "link/ecm_link.h"
#include "platform/file_attributes.h"
#include "platform/working_file.h"
#include "update/calibration_migration.h"
#include "update/path_line.h"
#include "update/saved_bank_check.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

constexpr int kSectorsPerBank = 8;

using Calibration = std::array<std::uint8_t, kCalibrationSize>;

std::string BankLine(int bank) {
  char text[32];
  std::snprintf(text, sizeof text, "Bank #: %d ", bank);
  return text;
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
    if (!MakeFolder()) return -1;
    Progress("Updating your ORV KDM-9 Flash ECM");
    if (!Step(TxMsXmit(link_, kStreamStop), "TxMsXmit Failed")) return -1;
    if (!Step(TxMsFlash(link_), "TxMsFlash Failed")) return -1;
    if (!ReadAll() || !ConvertAll() || !ProgramAll()) return -1;
    Progress("ORV Flash Update Completed...");
    return Step(TxSlStop(link_, true), "TxSlStop Failed") ? 0 : -1;
  }

 private:
  // The simulated module's folder is made when its first run starts.
  bool MakeFolder() {
    if (run_.directory.empty()) return true;
    std::error_code error;
    fs::create_directories(run_.directory, error);
    return Step(error ? -1 : 0, PathLine("Can not create the folder ", ShownFolder(run_.directory), Width()));
  }

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
      if (!ConvertOne(bank)) return false;
    }
    return true;
  }

  // A kept old file is whatever lay in the folder, and a new file may be a
  // stale one left beside an old file already at 1.1: both are checked.
  bool ConvertOne(int bank) {
    const std::string old = OldBankPath(run_.directory, bank), converted = NewBankPath(run_.directory, bank);
    if (!Step(CheckBankFile(old) == BankFileStatus::NotABankFile ? -1 : 0, kNotABinUpdate)) return false;
    const ConvertOutcome outcome = ConvertCalibration(old, converted, run_.conversionPause);
    if (!Step(outcome.status == ConvertStatus::Error ? -1 : 0, outcome.text)) return false;
    return Step(CheckBankFile(converted) == BankFileStatus::NotABankFile ? -1 : 0, kNotABinUpdate);
  }

  bool ProgramAll() {
    Progress("Programming Banks...");
    for (int bank = 0; bank < kBankCount; ++bank) {
      if (!ProgramOne(bank)) {
        pane_.AddLine(style_.finalFailure, "BIN Programing FAILED!");
        if (foreignFiles_)
          for (const std::string& line : ForeignSavedFilesAdvice(ShownFolder(run_.directory), Width())) Progress(line);
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
    auto calibration = std::make_unique<Calibration>();
    if (!LoadNewCalibration(bank, calibration.get())) return false;
    if (!HoldsThisModulesCalibration(bank, *calibration)) return false;
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

  bool LoadNewCalibration(int bank, Calibration* calibration) {
    StdioFile file(NewBankPath(run_.directory, bank), "rb");
    if (!Step(file ? 0 : -1, "New Calibration File Open Failed")) return false;
    const bool whole = file.Read(calibration->data(), calibration->size()) == calibration->size();
    return Step(whole ? 0 : -1, "New Calibration File Read Failure");
  }

  // The TxSlRequestCal reply just read (still in the reply buffer) against the
  // saved and the converted file: nothing is erased in a module the files are not from.
  bool HoldsThisModulesCalibration(int bank, const Calibration& converted) {
    auto saved = std::make_unique<Calibration>();
    StdioFile file(OldBankPath(run_.directory, bank), "rb");
    if (!Step(file ? 0 : -1, "Calibration File Open Failed")) return false;
    if (!Step(file.Read(saved->data(), saved->size()) == saved->size() ? 0 : -1, "Calibration File Read Failure"))
      return false;
    foreignFiles_ = !HoldsSavedCalibration(Returned(), saved->data(), converted.data());
    return Step(foreignFiles_ ? -1 : 0, "Saved BIN Not From This ECM");
  }

  // Pages first, first + 1, ... from consecutive 128-byte slices of data.
  bool ProgramPages(const std::uint8_t* data, int first, int count) {
    for (int n = 0; n < count; ++n)
      if (!Step(TxSlPgmPage(link_, first + n, bank_, data + n * kCalPageSize), "TxSlPgmPage Failed"))
        return false;
    return true;
  }

  bool VerifyCalibration(const Calibration& calibration) {
    if (!FreshRequest(TxSlRequestCal, bank_, "TxSlRequestCal Failed")) return false;
    const bool same = std::equal(calibration.begin() + kCalPageSize, calibration.end(), Returned() + kCalPageSize);
    return Step(same ? 0 : -1, "Verify Failed");
  }

  bool VerifyFirmware() {
    if (!FreshRequest(TxSlRequestBin, bank_, "TxSlRequestBin Failed  ")) return false;
    const bool same = std::equal(run_.firmware->begin(), run_.firmware->end(), Returned() + kCalibrationSize);
    return Step(same ? 0 : -1, "Verify Failed  ");
  }

  std::size_t Width() const { return static_cast<std::size_t>(style_.width); }

  const UpdateRun& run_;
  int bank_ = 0;
  bool foreignFiles_ = false;
};

}  // namespace

int ReadBankToFile(EcmLink& link, MessageSink& pane, int bank, const std::string& path) {
  const UpdateRun noFirmware;
  UpdateDialogue dialogue(link, pane, noFirmware);
  if (StdioFile(path, "rb")) {
    dialogue.Progress("    -Calibration Exists-");
    return 0;
  }
  // Written under a working name of its own and renamed when complete, so
  // that even a run killed mid-write never leaves a partial file under the
  // kept name.
  WorkingFile working;
  bool ok = false;
  if (!working.Create(path) || !working.Close()) {
    dialogue.Step(-1, "Failed opening BIN File");
  } else {
    StdioFile file(working.Path().string(), "r+b");
    dialogue.SelectBank(bank);
    ok = file && dialogue.ReadCalibration(file);
    ok = file && CompleteBankFile(file) && ok;
    ok = file.Close() && ok;
    if (ok && !working.Commit()) ok = dialogue.Step(-1, "File Write Failed");
  }
  if (!ok) return -1;
  SetReadOnly(path, true);  // a guard only: a copy left writable loses nothing
  return 0;
}

int UpdateAllBanks(EcmLink& link, MessageSink& pane, const UpdateRun& run) {
  if (!run.firmware) return -1;
  UpdateDialogue dialogue(link, pane, run);
  return dialogue.Run();
}

}  // namespace vantor
