// What the Flash display's picture shows in vantor screenshot: the pane
// after a program-and-verify job run against the simulated ECM.
#ifdef VANTOR_HAS_UI_DRAW

#include "flash_screenshot.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cal/bank_jobs.h"
#include "ecm_session.h"
#include "sim/default_calibration.h"
#include "sim/sim_serial.h"

namespace vantor::cli {

bool RunSimProgramJob(MessagePane& pane, const Settings& settings) {
  namespace fs = std::filesystem;
  const fs::path bin = fs::temp_directory_path() /
                       ("vantor_flash_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                        ".bin");
  const auto image = sim::DefaultBankImage(settings.flshBank);
  bool written = false;
  if (std::FILE* file = std::fopen(bin.string().c_str(), "wb")) {
    written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    written = std::fclose(file) == 0 && written;
  }
  bool ok = false;
  if (written) {
    EcmSession session(MainProgramProfile());
    if (session.Open(sim::kSimPortName)) {
      FlashJob job;
      job.bank = {settings.flshBank, settings.flshSetBank == 1, true};
      job.action = kFlashProgram;
      job.programFile = bin.string();
      ok = RunFlashJob(session.Link(), pane, job, nullptr) == 0;
    }
  }
  std::error_code ignored;
  fs::remove(bin, ignored);
  return ok;
}

}  // namespace vantor::cli

#endif  // VANTOR_HAS_UI_DRAW
