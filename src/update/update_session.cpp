#include "update/update_session.h"

#include <system_error>

#include "update/update_run.h"

namespace vantor {

UpdateSession::UpdateSession(SerialOpener opener)
    : link_(UpdateUtilityProfile()), comm_(link_, nullptr), pane_(UpdatePaneStyle()) {
  link_.SetDeviceOpener(std::move(opener));
  link_.SetMessageSink(&pane_);
}

void UpdateSession::Stop() {
  if (flash_.joinable()) flash_.join();
  comm_.Stop();
  link_.Tick().Stop();
}

bool UpdateSession::Start() {
  try {
    link_.Tick().Start();
    comm_.Start();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool UpdateSession::StartRun(const UpdateRunSetup& setup, std::function<void(int)> finished) {
  if (running_.exchange(true, std::memory_order_acq_rel)) return false;
  if (flash_.joinable()) flash_.join();  // the earlier run's thread has ended its work
  try {
    flash_ = std::thread([this, setup, finished = std::move(finished)] {
      pane_.Clear();
      std::this_thread::sleep_for(setup.settle);
      UpdateRun run;
      run.directory = setup.directory;
      run.conversionPause = setup.conversionPause;
      const int result = RunUpdateWithFirmware(link_, pane_, run, setup.firmware);
      running_.store(false, std::memory_order_release);
      if (finished) finished(result);
    });
  } catch (const std::system_error&) {
    running_.store(false, std::memory_order_release);
    return false;
  }
  return true;
}

}  // namespace vantor
