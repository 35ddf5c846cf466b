// vantor record: records the live stream of a port into a data log.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli.h"
#include "live/live_session.h"
#include "logs/data_log_recorder.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"

namespace vantor::cli {
namespace {

int RunRecord(const std::vector<std::string>& argv);

const Command kRecord{
    "record", "record the live stream of a port into a data log",
    "usage: vantor record --port PORT --seconds N [--config CFG] [--stamp-every S]\n"
    "                     [--mark-every S] OUT.dat\n\n"
    "Opens PORT, starts the ECM's live stream and records it into OUT.dat for N\n"
    "seconds, then stops the log and closes the port. A new recording is added\n"
    "to the end of an existing data log; any other file (a calibration, say) is\n"
    "refused and left as it was. A port that cannot be opened is reported at\n"
    "once. PORT is COM1..COM40, a device path, or SIM for the simulated ECM\n"
    "inside this program.\n\n"
    "  --port PORT        the serial port\n"
    "  --seconds N        how long to record\n"
    "  --stamp-every S    write a time stamp every S seconds\n"
    "  --mark-every S     write a numbered mark every S seconds\n"
    "  --config CFG       settings file to read (copied into the log header)\n",
    RunRecord};
const Registration kRegistration(kRecord);

struct RecordPlan {
  std::string port;
  std::string out;
  long seconds = 0;
  long stampEvery = 0;  // 0 = never
  long markEvery = 0;
};

// Wakes the recording loop when the communication thread reports a failed
// write, so that the loop sleeps until its next stamp, mark or end.
class WriteFailureSignal {
 public:
  void Raise() {
    {
      std::lock_guard lock(mutex_);
      failed_ = true;
    }
    changed_.notify_all();
  }
  // True when a write failed before time.
  bool WaitUntil(std::chrono::steady_clock::time_point time) {
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, time, [this] { return failed_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool failed_ = false;
};

// The second of the next event of a series that starts at every (0: never).
long FirstOf(long every, long end) { return every > 0 ? every : end + 1; }

// Records until the time is up or a write fails; false on a write failure.
bool RecordFor(const RecordPlan& plan, DataLogRecorder& recorder, WriteFailureSignal& failure) {
  const auto start = std::chrono::steady_clock::now();
  long nextStamp = FirstOf(plan.stampEvery, plan.seconds), nextMark = FirstOf(plan.markEvery, plan.seconds);
  for (;;) {
    const long next = std::min({plan.seconds, nextStamp, nextMark});
    if (failure.WaitUntil(start + std::chrono::seconds(next))) return false;
    if (next == plan.seconds) return true;
    if (next == nextStamp) {
      recorder.RequestTimeStamp();
      nextStamp += plan.stampEvery;
    }
    if (next == nextMark) {
      recorder.RequestMark();
      nextMark += plan.markEvery;
    }
  }
}

int OpenAndRecord(const RecordPlan& plan, LiveSession& session, DataLogRecorder& recorder,
                  WriteFailureSignal& failure) {
  session.Link().RequestPort(PortOpen, &plan.port);
  // The link retries a missing port for ever, as the window wants; the tool
  // says so at the first failed attempt.
  if (session.Link().AwaitOpenAttempt() != OpenOutcome::Connected) {
    Say(kRecord.name, "can not open port " + plan.port);
    return kExitFailure;
  }
  if (!recorder.StartDataLog(plan.out)) return kExitFailure;
  if (!RecordFor(plan, recorder, failure)) {
    Say(kRecord.name, "the log " + plan.out + " is incomplete");
    return kExitFailure;
  }
  return kExitOk;
}

int Record(const RecordPlan& plan, Settings& settings) {
  std::unique_ptr<sim::SimEcm> simulated;
  if (plan.port == sim::kSimPortName) simulated = std::make_unique<sim::SimEcm>();
  SerialOpener opener = simulated ? sim::SimOpener(*simulated) : SerialOpener(OpenPlatformSerial);
  LiveSession session(settings, std::move(opener));
  WriteFailureSignal failure;
  // Messages come from the communication thread too; printing never blocks it long.
  RecorderHooks hooks;
  hooks.showMessage = [out = plan.out](const std::string& text, const std::string&) {
    Say(kRecord.name, out + ": " + text);
  };
  // After a failed write the loop ends and the log is stopped below.
  hooks.onUserThread = [&failure](std::function<void()>) { failure.Raise(); };
  DataLogRecorder recorder(session.Hooks(), settings, hooks);
  session.Start();
  // The threads stop before the recorder goes, on every way out.
  const int result = OpenAndRecord(plan, session, recorder, failure);
  recorder.StopDataLog();
  session.Stop();
  if (result == kExitOk && recorder.WriteFailed()) {
    Say(kRecord.name, "the log " + plan.out + " is incomplete");
    return kExitFailure;
  }
  return result;
}

int RunRecord(const std::vector<std::string>& argv) {
  const Args args(argv, {"--port", "--seconds", "--config", "--stamp-every", "--mark-every"}, {});
  if (args.WantsHelp()) return PrintHelp(kRecord);
  if (!args.Ok()) return UsageError(kRecord, args.Error());
  if (args.Positional().size() != 1) return UsageError(kRecord, "one output file is needed");
  if (!args.Has("--port")) return UsageError(kRecord, "--port PORT is needed");
  if (!args.Has("--seconds")) return UsageError(kRecord, "--seconds N is needed");
  RecordPlan plan;
  plan.port = *args.Value("--port");
  plan.out = args.Positional()[0];
  const auto seconds = [&args](const char* option, long* value) {
    return !args.Has(option) || ParseInt(kRecord.name, option, *args.Value(option), 1, 86400, value);
  };
  if (!seconds("--seconds", &plan.seconds) || !seconds("--stamp-every", &plan.stampEvery) ||
      !seconds("--mark-every", &plan.markEvery))
    return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  return Record(plan, settings);
}

}  // namespace
}  // namespace vantor::cli
