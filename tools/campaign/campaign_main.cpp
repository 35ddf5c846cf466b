// vantor_campaign: the fault campaigns at scale. Runs randomly faulted bank
// programming and update runs against the simulated module, then cuts the
// update run at every "S" packet and runs it again; prints the tallies and
// exits non-zero on any false success or failed rerun.
//
//   vantor_campaign [PROGRAM_RUNS [UPDATE_RUNS [WORKERS [CUT_STEP]]]]
//   defaults 10000 10000 32 1; CUT_STEP n cuts at every n-th "S" packet only.
// The runs mostly wait on the line's fixed pauses, so many workers share a few cores well.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "campaign/fault_campaign.h"

namespace {

using vantor::test::CampaignTally;

int Arg(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::max(0, std::atoi(argv[index])) : fallback;
}

bool Campaign(const char* name, int runs, int workers, const std::function<void(int, CampaignTally*)>& job) {
  CampaignTally tally;
  const auto start = std::chrono::steady_clock::now();
  vantor::test::InParallel(runs, workers, [&](int run) { job(run, &tally); });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s  %.1f s\n", tally.Summary(name).c_str(), seconds);
  std::fflush(stdout);
  return tally.falseSuccesses.load() == 0 && tally.resumeFailures.load() == 0 && tally.runs.load() == runs;
}

}  // namespace

int main(int argc, char** argv) {
  const int programRuns = Arg(argc, argv, 1, 10000);
  const int updateRuns = Arg(argc, argv, 2, 10000);
  const int workers = std::max(1, Arg(argc, argv, 3, 32));
  const int cutStep = std::max(1, Arg(argc, argv, 4, 1));
  const int slPackets = static_cast<int>(vantor::test::UpdateSlPacketCount());
  const int cuts = (slPackets + cutStep - 1) / cutStep;
  bool ok = Campaign("bank program with verify", programRuns, workers, vantor::test::ProgramRunWithFault);
  ok = Campaign("update run", updateRuns, workers, vantor::test::UpdateRunWithFault) && ok;
  ok = Campaign("update run cut at every S packet", cuts, workers,
                [cutStep](int cut, CampaignTally* tally) {
                  vantor::test::InterruptedUpdateRun(static_cast<std::size_t>(cut) * cutStep, tally);
                }) &&
       ok;
  std::printf("S packets in an update run: %d\n", slPackets);
  std::printf("%s\n", ok ? "campaign: no false successes, every rerun correct" : "campaign: FAILED");
  return ok ? 0 : 1;
}
