// Random faults at random points of bank programming and of the update run:
// every run must either leave the module holding exactly what was meant or
// report failure. A reported success over wrong contents is the one outcome
// that must never happen.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "cal/bank_jobs.h"
#include "cal/pane_recorder.h"
#include "update/update_world.h"

namespace vantor {
namespace {

using test::Packet;

enum class Fault { DropReplyByte, CorruptReplyByte, BadReplyCheck, Refusal, LateReply, Unplug, DropHostByte,
                   CorruptHostByte };
constexpr int kFaultKinds = 8;
constexpr auto kFastTick = std::chrono::milliseconds(2);

int CampaignRuns() {
  if (const char* runs = std::getenv("VANTOR_CAMPAIGN_RUNS")) return std::max(1, std::atoi(runs));
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
  return 40;  // the sanitizers slow every byte down; the full campaign runs in the plain build
#else
  return 200;
#endif
}

std::size_t ReplyLength(const Packet& packet) {
  if (packet[0] != 'S') return 16;
  return packet[1] == 1 ? 8197 : packet[1] == 3 ? 32773 : 16;
}

// Arms one fault at packet `at` (or, for a refusal, at the first "S" packet from there on).
test::WireTap::Hook FaultHook(sim::SimEcm& ecm, Fault fault, std::size_t at, unsigned seed) {
  auto armed = std::make_shared<bool>(true);
  return [&ecm, fault, at, seed, armed](std::size_t index, Packet& packet) {
    if (index < at || !*armed) return;
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
    *armed = false;
  };
}

struct Tally {
  std::atomic<int> runs{0}, successes{0}, failures{0}, falseSuccesses{0}, resumed{0}, resumeFailures{0};
};

// Runs `count` jobs over `workers` threads; each job is independent.
void InParallel(int count, int workers, const std::function<void(int)>& job) {
  std::atomic<int> next{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < workers; ++w)
    threads.emplace_back([&] {
      for (int i; (i = next.fetch_add(1)) < count;) job(i);
    });
  for (auto& thread : threads) thread.join();
}

void ProgramRun(int run, Tally* tally) {
  test::TempDir dir;
  test::SimRig rig(MainProgramProfile());
  const auto calibration = test::SampleCalibration(1000 + static_cast<unsigned>(run));
  const CalImage image = MakeImageFromCalibration(calibration.data());
  const std::string bin = dir.File("p.bin");
  test::WriteAll(bin, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
  const int bank = run % 8;
  rig.ecm.LoadBank(bank, std::vector<std::uint8_t>(kCalImageSize, 0x5A));
  if (!rig.Open()) return;
  test::FastTicker ticker(rig.link.Tick(), kFastTick);
  std::mt19937 random(static_cast<unsigned>(run));
  const auto fault = static_cast<Fault>(random() % kFaultKinds);
  rig.tap->SetHook(FaultHook(rig.ecm, fault, random() % 74, random()));
  test::PaneRecorder pane;
  const int result = ProgramBank(rig.link, pane, {bank, run % 2 == 0, true}, bin);
  const auto now = rig.ecm.Bank(bank);
  const bool equal = std::equal(calibration.begin(), calibration.end(), now.begin());
  ++tally->runs;
  ++(result == 0 ? tally->successes : tally->failures);
  if (result == 0 && !equal) ++tally->falseSuccesses;
}

void UpdateRunWithFault(int run, Tally* tally) {
  test::UpdateWorld world(2000 + static_cast<unsigned>(run));
  if (!world.rig.Open()) return;
  std::mt19937 random(static_cast<unsigned>(run));
  const auto fault = static_cast<Fault>(random() % kFaultKinds);
  const std::size_t packets = test::FullUpdatePackets(world).size();
  const std::size_t at = random() % packets;
  world.rig.tap->SetHook(FaultHook(world.rig.ecm, fault, at, random()));
  int result;
  {
    test::FastTicker ticker(world.rig.link.Tick(), kFastTick);
    test::PaneRecorder pane;
    result = UpdateAllBanks(world.rig.link, pane, world.run);
    if (std::getenv("VANTOR_CAMPAIGN_TRACE")) {
      const auto texts = pane.Texts();
      std::printf("run %d fault %d at %zu/%zu sent %zu: %s | %s\n", run, static_cast<int>(fault), at, packets,
                  world.rig.tap->Packets().size(), texts[texts.size() - 2].c_str(), texts.back().c_str());
    }
  }
  ++tally->runs;
  ++(result == 0 ? tally->successes : tally->failures);
  if (result == 0 && !world.AllBanksUpdated()) ++tally->falseSuccesses;
  if (result == 0 || run % 4 != 0) return;

  // Power the module up again on a fresh link and run again, with no fault.
  test::SimRig again(UpdateUtilityProfile());
  for (int bank = 0; bank < kBankCount; ++bank) again.ecm.LoadBank(bank, world.rig.ecm.Bank(bank));
  if (!again.Open()) return;
  test::PaneRecorder pane;
  const bool ok = UpdateAllBanks(again.link, pane, world.run) == 0;
  bool updated = true;
  for (int bank = 0; bank < kBankCount; ++bank) updated = updated && again.ecm.Bank(bank) == world.expected[bank];
  ++tally->resumed;
  if (!ok || !updated) ++tally->resumeFailures;
}

TEST(FaultCampaign, ProgramWithVerifyNeverReportsSuccessOverAWrongBank) {
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  InParallel(CampaignRuns(), 8, [&](int run) { ProgramRun(run, &tally); });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("program campaign: %d runs, %d succeeded, %d failed, %d false successes, %.1f s\n", tally.runs.load(),
              tally.successes.load(), tally.failures.load(), tally.falseSuccesses.load(), seconds);
  EXPECT_EQ(tally.runs.load(), CampaignRuns());
  EXPECT_EQ(tally.falseSuccesses.load(), 0);
  EXPECT_GT(tally.failures.load(), 0);
}

TEST(FaultCampaign, UpdateRunNeverReportsSuccessOverAWrongBankAndResumes) {
  Tally tally;
  const auto start = std::chrono::steady_clock::now();
  InParallel(CampaignRuns(), 8, [&](int run) { UpdateRunWithFault(run, &tally); });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("update campaign: %d runs, %d succeeded, %d failed, %d false successes, %d resumed (%d failed), %.1f s\n",
              tally.runs.load(), tally.successes.load(), tally.failures.load(), tally.falseSuccesses.load(),
              tally.resumed.load(), tally.resumeFailures.load(), seconds);
  EXPECT_EQ(tally.runs.load(), CampaignRuns());
  EXPECT_EQ(tally.falseSuccesses.load(), 0);
  EXPECT_EQ(tally.resumeFailures.load(), 0);
  EXPECT_GT(tally.failures.load(), 0);
}

}  // namespace
}  // namespace vantor
