// vantor record: records the live stream of a port into a data log.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
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
    "seconds (a new recording is appended when the file exists), then stops the\n"
    "log and closes the port. PORT is COM1..COM40, a device path, or SIM for the\n"
    "simulated ECM inside this program.\n\n"
    "  --port PORT        the serial port\n"
    "  --seconds N        how long to record\n"
    "  --stamp-every S    write a time stamp every S seconds\n"
    "  --mark-every S     write a numbered mark every S seconds\n"
    "  --config CFG       settings file to read (copied into the log header)\n",
    RunRecord};
const Registration kRegistration(kRecord);

constexpr auto kConnectBound = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(10);

struct RecordPlan {
  std::string port;
  std::string out;
  long seconds = 0;
  long stampEvery = 0;  // 0 = never
  long markEvery = 0;
};

bool WaitConnected(EcmLink& link) {
  const auto until = std::chrono::steady_clock::now() + kConnectBound;
  while (!link.Connected()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return true;
}

// Records until the time is up or a write fails; false on a write failure.
bool RecordFor(const RecordPlan& plan, DataLogRecorder& recorder) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  long nextStamp = plan.stampEvery, nextMark = plan.markEvery;
  for (;;) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
    if (recorder.WriteFailed()) return false;
    if (elapsed >= plan.seconds) return true;
    if (plan.stampEvery > 0 && elapsed >= nextStamp) {
      recorder.RequestTimeStamp();
      nextStamp += plan.stampEvery;
    }
    if (plan.markEvery > 0 && elapsed >= nextMark) {
      recorder.RequestMark();
      nextMark += plan.markEvery;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

int OpenAndRecord(const RecordPlan& plan, LiveSession& session, DataLogRecorder& recorder) {
  session.Link().RequestPort(PortOpen, &plan.port);
  if (!WaitConnected(session.Link())) {
    std::fprintf(stderr, "vantor record: can not open port %s\n", plan.port.c_str());
    return kExitFailure;
  }
  if (!recorder.StartDataLog(plan.out)) return kExitFailure;
  if (!RecordFor(plan, recorder)) {
    std::fprintf(stderr, "vantor record: the log %s is incomplete\n", plan.out.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

int Record(const RecordPlan& plan, Settings& settings) {
  std::unique_ptr<sim::SimEcm> simulated;
  if (plan.port == sim::kSimPortName) simulated = std::make_unique<sim::SimEcm>();
  SerialOpener opener = simulated ? sim::SimOpener(*simulated) : SerialOpener(OpenPlatformSerial);
  LiveSession session(settings, std::move(opener));
  // Messages come from the communication thread too; printing never blocks it long.
  RecorderHooks hooks;
  hooks.showMessage = [](const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "vantor record: %s: %s\n", caption.c_str(), text.c_str());
  };
  DataLogRecorder recorder(session.Hooks(), settings, hooks);
  session.Start();
  // The threads stop before the recorder goes, on every way out.
  const int result = OpenAndRecord(plan, session, recorder);
  recorder.StopDataLog();
  session.Stop();
  if (result == kExitOk && recorder.WriteFailed()) {
    std::fprintf(stderr, "vantor record: the log %s is incomplete\n", plan.out.c_str());
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
  if (!ParseInt(*args.Value("--seconds"), 1, 86400, &plan.seconds)) return kExitUsage;
  if (args.Has("--stamp-every") && !ParseInt(*args.Value("--stamp-every"), 1, 86400, &plan.stampEvery))
    return kExitUsage;
  if (args.Has("--mark-every") && !ParseInt(*args.Value("--mark-every"), 1, 86400, &plan.markEvery))
    return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  return Record(plan, settings);
}

}  // namespace
}  // namespace vantor::cli
