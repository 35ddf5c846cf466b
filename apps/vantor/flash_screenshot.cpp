// What the Flash display's picture shows in vantor screenshot: the pane
// after a program-and-verify job run against the simulated ECM.
#ifdef VANTOR_HAS_UI_DRAW

#include "flash_screenshot.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cal/bank_jobs.h"
#include "ecm_session.h"
#include "platform/working_file.h"
#include "sim/default_calibration.h"
#include "sim/sim_serial.h"

namespace vantor::cli {

bool RunSimProgramJob(MessagePane& pane, const Settings& settings) {
  // The bank's own calibration as a scratch BIN with a name of its own, removed afterwards.
  WorkingFile bin;
  std::error_code error;
  if (!bin.Create(std::filesystem::temp_directory_path(error) / "vantor_flash.bin")) return false;
  const auto image = sim::DefaultBankImage(settings.flshBank);
  if (std::fwrite(image.data(), 1, image.size(), bin.Get()) != image.size() || !bin.Close()) return false;
  EcmSession session(MainProgramProfile());
  if (!session.Open(sim::kSimPortName)) return false;
  FlashJob job;
  job.bank = {settings.flshBank, settings.flshSetBank == 1, true};
  job.action = kFlashProgram;
  job.programFile = bin.Path().string();
  // The scratch job programs the bank's own calibration back: nothing to keep.
  job.backup = kNoBackup;
  return RunFlashJob(session.Link(), pane, job, nullptr) == 0;
}

}  // namespace vantor::cli

#endif  // VANTOR_HAS_UI_DRAW
