#include "campaign/fault_campaign.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "cal/bank_jobs.h"
#include "support/pane_recorder.h"
#include "support/update_world.h"

namespace vantor::test {
namespace {

// Advances a LinkTick faster than real time, so time-outs pass quickly.
class FastTicker {
 public:
  FastTicker(LinkTick& tick, std::chrono::microseconds period)
      : thread_([this, &tick, period] {
          while (!stop_.load()) {
            std::this_thread::sleep_for(period);
            tick.Advance();
          }
        }) {}
  ~FastTicker() {
    stop_.store(true);
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Time-outs pass ten times faster than on the line, yet slowly enough that a
// busy machine does not time out a reply that is on its way.
constexpr auto kFastTick = std::chrono::milliseconds(10);

std::size_t ReplyLength(const Packet& packet) {
  if (packet[0] != 'S') return 16;
  return packet[1] == 1 ? 8197 : packet[1] == 3 ? 32773 : 16;
}

// Arms one fault at packet `at` (or, for a refusal, at the first "S" packet from there on).
// *fired tells whether it struck.
WireTap::Hook FaultHook(sim::SimEcm& ecm, Fault fault, std::size_t at, unsigned seed, CampaignTally* tally,
                        std::shared_ptr<std::atomic<bool>> fired) {
  return [&ecm, fault, at, seed, fired, tally](std::size_t index, Packet& packet) {
    if (index < at || fired->load()) return;
    std::mt19937 random(seed);
    sim::SimFaults faults = ecm.Faults();
    const std::size_t reply = ReplyLength(packet);
    switch (fault) {
      case Fault::DropReplyByte: faults.dropByteOfNextOutput = static_cast<int>(random() % reply); break;
      case Fault::CorruptReplyByte: faults.corruptByteOfNextOutput = static_cast<int>(random() % reply); break;
      case Fault::BadReplyCheck: faults.corruptByteOfNextOutput = static_cast<int>(reply - 1 - random() % 2); break;
      case Fault::Refusal:
        if (packet[0] != 'S') return;  // stays armed for the next "S" packet
        faults.refuseCommand = packet[1];
        break;
      case Fault::LateReply: faults.replyDelayMicros = 10'000'000; break;
      case Fault::Unplug: ecm.Unplug(); break;
      case Fault::DropHostByte: packet.erase(packet.begin() + static_cast<long>(random() % packet.size())); break;
      case Fault::CorruptHostByte: packet[random() % packet.size()] ^= static_cast<std::uint8_t>(1 + random() % 255); break;
    }
    ecm.SetFaults(faults);
    fired->store(true);
    ++tally->injected[static_cast<int>(fault)];
  };
}

void Count(CampaignTally* tally, int result, bool contentsRight, bool faulted) {
  ++tally->runs;
  ++(result == 0 ? tally->successes : tally->failures);
  if (result == 0 && !contentsRight) ++tally->falseSuccesses;
  if (result != 0 && !faulted) ++tally->unfaultedFailures;
}

// Powers the module up again on a fresh link with the banks as the failed run
// left them, and runs the update again with no fault.
void RunAgain(const UpdateWorld& world, CampaignTally* tally) {
  SimRig again(UpdateUtilityProfile());
  for (int bank = 0; bank < kBankCount; ++bank) again.ecm.LoadBank(bank, world.rig.ecm.Bank(bank));
  bool ok = again.Open();
  if (ok) {
    PaneRecorder pane;
    ok = UpdateAllBanks(again.link, pane, world.run) == 0;
  }
  for (int bank = 0; bank < kBankCount; ++bank) ok = ok && again.ecm.Bank(bank) == world.expected[bank];
  ++tally->resumed;
  if (!ok) ++tally->resumeFailures;
}

}  // namespace

const char* FaultName(Fault fault) {
  static constexpr const char* kNames[kFaultKinds] = {"reply byte dropped", "reply byte corrupted",
                                                      "reply check value wrong", "command refused",
                                                      "reply too late", "cable unplugged",
                                                      "host byte dropped", "host byte corrupted"};
  return kNames[static_cast<int>(fault)];
}

std::string CampaignTally::Summary(const char* name) const {
  char line[256];
  std::snprintf(line, sizeof line,
                "%s: %d runs, %d succeeded, %d failed (%d with no fault struck), %d false successes, "
                "%d run again (%d failed)\n",
                name, runs.load(), successes.load(), failures.load(), unfaultedFailures.load(), falseSuccesses.load(),
                resumed.load(), resumeFailures.load());
  std::string text = line;
  for (int kind = 0; kind < kFaultKinds; ++kind) {
    if (injected[kind].load() == 0) continue;
    std::snprintf(line, sizeof line, "  %-24s %d\n", FaultName(static_cast<Fault>(kind)), injected[kind].load());
    text += line;
  }
  return text;
}

void ProgramRunWithFault(int run, CampaignTally* tally) {
  TempDir dir;
  SimRig rig(MainProgramProfile());
  const auto calibration = SampleCalibration(1000 + static_cast<unsigned>(run));
  const CalImage image = MakeImageFromCalibration(calibration.data());
  const std::string bin = dir.File("p.bin");
  WriteAll(bin, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
  const int bank = run % 8;
  rig.ecm.LoadBank(bank, std::vector<std::uint8_t>(kCalImageSize, 0x5A));
  if (!rig.Open()) return;
  FastTicker ticker(rig.link.Tick(), kFastTick);
  std::mt19937 random(static_cast<unsigned>(run));
  const auto fault = static_cast<Fault>(random() % kFaultKinds);
  auto fired = std::make_shared<std::atomic<bool>>(false);
  rig.tap->SetHook(FaultHook(rig.ecm, fault, random() % 74, random(), tally, fired));
  PaneRecorder pane;
  const int result = ProgramBank(rig.link, pane, {bank, run % 2 == 0, true}, bin);
  const auto now = rig.ecm.Bank(bank);
  Count(tally, result, std::equal(calibration.begin(), calibration.end(), now.begin()), fired->load());
}

void UpdateRunWithFault(int run, CampaignTally* tally) {
  UpdateWorld world(2000 + static_cast<unsigned>(run));
  if (!world.rig.Open()) return;
  std::mt19937 random(static_cast<unsigned>(run));
  const auto fault = static_cast<Fault>(random() % kFaultKinds);
  const std::size_t at = random() % FullUpdatePackets(world).size();
  auto fired = std::make_shared<std::atomic<bool>>(false);
  world.rig.tap->SetHook(FaultHook(world.rig.ecm, fault, at, random(), tally, fired));
  int result;
  {
    FastTicker ticker(world.rig.link.Tick(), kFastTick);
    PaneRecorder pane;
    result = UpdateAllBanks(world.rig.link, pane, world.run);
  }
  Count(tally, result, world.AllBanksUpdated(), fired->load());
  if (result != 0 && run % 4 == 0) RunAgain(world, tally);
}

std::size_t UpdateSlPacketCount() {
  const UpdateWorld world(1);
  std::size_t count = 0;
  for (const Packet& packet : FullUpdatePackets(world)) count += packet[0] == 'S';
  return count;
}

void InterruptedUpdateRun(std::size_t slPacket, CampaignTally* tally) {
  UpdateWorld world(3000 + static_cast<unsigned>(slPacket));
  if (!world.rig.Open()) return;
  std::size_t seen = 0;
  std::atomic<bool> cut{false}, finished{false};
  world.rig.tap->SetHook([&world, &seen, &cut, slPacket, tally](std::size_t, Packet& packet) {
    if (packet[0] != 'S' || seen++ != slPacket) return;
    world.rig.ecm.Unplug();
    cut.store(true);
    ++tally->injected[static_cast<int>(Fault::Unplug)];
  });
  // Time stands still until the cut, so no reply times out early on a busy
  // machine; afterwards it runs fast so the host gives up soon.
  std::thread ticker([&] {
    while (!finished.load()) {
      std::this_thread::sleep_for(kFastTick);
      if (cut.load()) world.rig.link.Tick().Advance();
    }
  });
  PaneRecorder pane;
  const int result = UpdateAllBanks(world.rig.link, pane, world.run);
  finished.store(true);
  ticker.join();
  Count(tally, result, world.AllBanksUpdated(), cut.load());
  RunAgain(world, tally);
}

void InParallel(int count, int workers, const std::function<void(int)>& job) {
  std::atomic<int> next{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < workers; ++w)
    threads.emplace_back([&] {
      for (int i; (i = next.fetch_add(1)) < count;) job(i);
    });
  for (auto& thread : threads) thread.join();
}

}  // namespace vantor::test
