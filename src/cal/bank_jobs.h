#pragma once
// The main program's bank jobs: program a bank from a BIN file (optionally
// verified), read a bank into a new BIN file, each as an ordered dialogue of
// flash commands reported line by line in the message pane. They block the
// calling thread until the job ends.

#include <functional>
#include <string>

#include "cal/bank_backup.h"
#include "link/message_sink.h"

namespace vantor {

class EcmLink;
class MessagePane;

// Shows a message box (text, caption); a window puts it topmost.
using MessageBoxHook = std::function<void(const std::string& text, const std::string& caption)>;

enum FlashAction : int { kFlashNone = 0, kFlashProgram = 1, kFlashRead = 2 };

struct BankJob {
  int bank = 0;               // 0-7
  bool setBankActive = true;  // TxMsBank first
  bool verify = true;         // read the calibration back after programming
};

struct FlashJob {
  BankJob bank;
  int action = kFlashProgram;
  std::string programFile;    // full path, action 1
  std::string readFile;       // full path, action 2
  std::string readDirectory;  // must not be empty for action 2
  BankBackup backup;          // a program first reads the bank into a backup
};

// Clears the pane, runs the job and on success reports the elapsed time
// ("%3.1f Second(s)" of LinkTick). 0 on success, -1 on failure.
int RunFlashJob(EcmLink& link, MessagePane& pane, const FlashJob& job, const MessageBoxHook& showBox);

// Program bank and Read bank with their closing lines; 0 or -1. With a
// backup, the bank is read into it before anything is erased, and a failed
// backup ends the job there.
int ProgramBank(EcmLink& link, MessageSink& pane, const BankJob& job, const std::string& path,
                const BankBackup& backup = kNoBackup);
int ReadBank(EcmLink& link, MessageSink& pane, const BankJob& job, const std::string& path);

// "%3.1f Second(s)" for a number of 100 ms ticks.
std::string ElapsedText(unsigned ticks);

constexpr const char* kProgramFileTooShort = "BIN File Too Short: Need 8192 Bytes";
// A failed read of an existing file leaves that file as it was.
constexpr const char* kOldBinKept = "Previous BIN File Kept Unchanged";
constexpr const char* kBackupStarting = "Bank Backup Starting";
constexpr const char* kBackupFailed = "Backup Failed: Nothing Erased";
// Followed by the backup's file name.
constexpr const char* kBackupKept = "Backup: ";

}  // namespace vantor
