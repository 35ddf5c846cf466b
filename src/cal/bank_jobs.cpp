#include "cal/bank_jobs.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
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

namespace vantor {
namespace {

constexpr auto kBankSetPause = std::chrono::milliseconds(60);

using Calibration = std::array<std::uint8_t, kCalibrationSize>;

// One running job of the Flash window.
class Dialogue : public JobDialogue {
 public:
  Dialogue(EcmLink& link, MessageSink& pane, const BankJob& job)
      : JobDialogue(link, pane, FlashPaneStyle()), job_(job) {}

  // A quiet dialogue shows only what fails: a backup read says nothing else.
  void Quiet(bool quiet) { quiet_ = quiet; }
  void Say(std::string_view text) {
    if (!quiet_) Progress(text);
  }

  void Closing(bool ok, const char* success, const char* failure) {
    Progress("");
    pane_.AddLine(ok ? style_.success : style_.finalFailure, ok ? success : failure);
  }

  // Stop streaming, optionally make the bank active, enter flash mode, announce.
  bool Open() {
    if (!Step(TxMsXmit(link_, kStreamStop), "TxMsXmit Failed")) return false;
    if (job_.setBankActive) {
      if (!Step(TxMsBank(link_, job_.bank), "TxMsBank Failed")) return false;
      Say("Flash Bank Set");
      link_.Sleep(kBankSetPause);
    }
    return Step(TxMsFlash(link_), "TxMsFlash Failed") && Info(job_.bank);
  }

  bool Program(const Calibration& calibration) {
    if (!Open()) return false;
    if (!Step(TxSlEraseSector(link_, job_.bank * 8 + 0), "TxSlEraseSector Failed")) return false;
    if (!Step(TxSlEraseSector(link_, job_.bank * 8 + 1), "TxSlEraseSector Failed")) return false;
    if (!Info(job_.bank)) return false;
    for (int page = 0; page < kCalibrationPages; ++page) {
      const std::uint8_t* data = calibration.data() + page * kCalPageSize;
      if (!Step(TxSlPgmPage(link_, page, job_.bank, data), "TxSlPgmPage Failed")) return false;
    }
    if (job_.verify && !Verify(calibration)) return false;
    Progress("Bank Programmed Successfully");
    return Step(TxSlStop(link_, true), "TxSlStop Failed");
  }

  bool Verify(const Calibration& calibration) {
    Progress("Bank Verify Starting");
    if (!FreshRequest(TxSlRequestCal, job_.bank, "TxSlRequestBin Failed")) return false;
    const bool same = std::equal(calibration.begin(), calibration.end(), Returned());
    return Step(same ? 0 : -1, "Verify Failed");
  }

  bool Read(StdioFile& file) {
    Say("Bank Read Starting");
    if (!Open()) return false;
    if (!Step(TxSlRequestCal(link_, job_.bank), "TxSlRequestCal Failed")) return false;
    const bool written = file.Write(Returned(), kCalibrationSize);
    if (written)
      Say("Bank Read Successful");
    else
      Step(-1, "File Write Failed");
    const bool stopped = Step(TxSlStop(link_, true), "TxSlStop Failed  ");
    return written && stopped;
  }

 private:
  const BankJob& job_;
  bool quiet_ = false;
};

// The first 8,192 bytes; false for a file that has fewer.
bool LoadCalibration(StdioFile& file, Calibration* calibration) {
  return file.Read(calibration->data(), calibration->size()) == calibration->size();
}

// The file may have changed since it was chosen, so it is tested again
// before anything is erased: a calibration must carry the signature.
bool HasSignature(const Calibration& calibration) { return std::memcmp(calibration.data() + 2, "ORV9", 4) == 0; }

// The read bank as a complete file under the working name; false when the
// read or the file failed (the file is then complete all the same).
bool ReadIntoFile(Dialogue& dialogue, const std::filesystem::path& working) {
  StdioFile file(working.string(), "r+b");
  if (!file) {
    dialogue.Step(-1, "Failed opening BIN File");
    return false;
  }
  bool ok = dialogue.Read(file);
  // Even a failed read leaves a complete, balanced file behind.
  ok = CompleteBankFile(file) && ok;
  return file.Close() && ok;
}

// The bank as a bank read reads it, kept under a new name and made
// read-only; false (nothing kept) when the read or the file failed.
bool TakeBackup(Dialogue& dialogue, const std::filesystem::path& directory, int bank, std::filesystem::path* kept) {
  dialogue.Progress(kBackupStarting);
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  const std::filesystem::path path = FreeBackupPath(directory, bank, std::time(nullptr));
  WorkingFile working;
  bool ok = working.Create(path) && working.Close();
  if (!ok) {
    dialogue.Step(-1, "Failed opening Backup File");
  } else {
    dialogue.Quiet(true);
    ok = ReadIntoFile(dialogue, working.Path());
    dialogue.Quiet(false);
    ok = ok && working.Commit();
  }
  if (!ok) return dialogue.Step(-1, kBackupFailed);
  SetReadOnly(path, true);
  *kept = path;
  return true;
}

}  // namespace

std::string ElapsedText(unsigned ticks) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.1f Second(s)", ticks / 10.0);
  return text;
}

int ProgramBank(EcmLink& link, MessageSink& pane, const BankJob& job, const std::string& path,
                const BankBackup& backup) {
  Dialogue dialogue(link, pane, job);
  bool ok = false;
  StdioFile file(path, "rb");
  if (!file) {
    dialogue.Step(-1, "Failed opening BIN File");
  } else {
    // A short file would leave pages without content: refused before anything is sent.
    auto calibration = std::make_unique<Calibration>();
    if (!LoadCalibration(file, calibration.get())) {
      dialogue.Step(-1, kProgramFileTooShort);
    } else if (!HasSignature(*calibration)) {
      dialogue.Step(-1, kNotABinMain);
    } else {
      std::filesystem::path kept;
      if (!backup.enabled || TakeBackup(dialogue, BackupDirectory(backup, path), job.bank, &kept)) {
        dialogue.Progress("Bank Flash Program Starting");
        ok = dialogue.Program(*calibration);
      }
      // Said last, so that the pane still shows it when the job ends.
      if (!kept.empty()) dialogue.Progress(kBackupKept + kept.filename().string());
      if (!kept.empty() && backup.keptPath) *backup.keptPath = kept.string();
    }
  }
  dialogue.Closing(ok, "    -Flashing Successful-", "     -Flashing Failed-");
  return ok ? 0 : -1;
}

int ReadBank(EcmLink& link, MessageSink& pane, const BankJob& job, const std::string& path) {
  Dialogue dialogue(link, pane, job);
  // Assembled under a working name of its own: a read that fails never
  // destroys the file it was to replace. Without an earlier file the failed
  // result is kept.
  std::error_code error;
  const bool existed = std::filesystem::exists(path, error);
  WorkingFile working;
  const bool created = working.Create(path) && working.Close();
  if (!created) dialogue.Step(-1, "Failed opening BIN File");
  bool ok = created && ReadIntoFile(dialogue, working.Path());
  const bool replace = created && (ok || !existed);
  if (replace && !working.Commit()) ok = dialogue.Step(-1, "File Write Failed");
  if (created && existed && !(replace && ok)) dialogue.Progress(kOldBinKept);
  dialogue.Closing(ok, "    -Read Successful-", "     -Read Failed-");
  return ok ? 0 : -1;
}

int RunFlashJob(EcmLink& link, MessagePane& pane, const FlashJob& job, const MessageBoxHook& showBox) {
  const std::uint32_t start = link.Tick().Now();
  pane.Clear();
  int result = 0;
  if (job.action == kFlashProgram) {
    if (job.programFile.empty()) {
      if (showBox) showBox("Need a Program Bank BIN Name", "File Error");
      return -1;
    }
    result = ProgramBank(link, pane, job.bank, job.programFile, job.backup);
  } else if (job.action == kFlashRead) {
    if (job.readDirectory.empty()) {
      if (showBox) showBox("Need a Read Bank BIN Name", "File Error");
      return -1;
    }
    result = ReadBank(link, pane, job.bank, job.readFile);
  }
  if (result == 0) {
    pane.AddLine(pane.Style().progress, "");
    pane.AddLine(pane.Style().progress, ElapsedText(link.Tick().Now() - start));
  }
  return result;
}

}  // namespace vantor
