#pragma once
// Random faults at random points of bank programming and of the update run,
// against the in-process simulated module. Every run must either leave the
// module holding exactly what was meant or report failure: a reported success
// over wrong contents (a false success) must never happen. Run at scale by
// the vantor_campaign program; the test suite runs a short sample.

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace vantor::test {

enum class Fault { DropReplyByte, CorruptReplyByte, BadReplyCheck, Refusal, LateReply, Unplug, DropHostByte,
                   CorruptHostByte };
constexpr int kFaultKinds = 8;
const char* FaultName(Fault fault);

struct CampaignTally {
  std::atomic<int> runs{0}, successes{0}, failures{0}, falseSuccesses{0}, resumed{0}, resumeFailures{0};
  std::atomic<int> unfaultedFailures{0};  // failed although no fault struck (a time-out on a busy machine)
  std::array<std::atomic<int>, kFaultKinds> injected{};  // faults that reached the wire, by kind
  std::string Summary(const char* name) const;
};

// One bank programmed with verify while a fault chosen from `run` strikes.
void ProgramRunWithFault(int run, CampaignTally* tally);
// One update run with a fault; every fourth failed run is run again,
// fault-free, on a freshly powered module and must then end with every bank updated.
void UpdateRunWithFault(int run, CampaignTally* tally);

// Number of "S" packets in a complete update run.
std::size_t UpdateSlPacketCount();
// The module loses power as the update run sends its n-th "S" packet (from 0);
// the run must fail, and a run again must end with every bank updated.
void InterruptedUpdateRun(std::size_t slPacket, CampaignTally* tally);

// Runs count independent jobs over workers threads.
void InParallel(int count, int workers, const std::function<void(int)>& job);

}  // namespace vantor::test
