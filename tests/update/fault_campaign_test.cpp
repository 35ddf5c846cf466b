// A short sample of the fault campaigns; vantor_campaign ("make campaign") runs them at scale.

#include <gtest/gtest.h>

#include <cstdlib>

#include "campaign/fault_campaign.h"

namespace vantor::test {
namespace {

constexpr int kWorkers = 8;  // the runs mostly wait on the line's pauses

int SampleRuns(int plain) {
  if (const char* runs = std::getenv("VANTOR_CAMPAIGN_RUNS")) return std::max(1, std::atoi(runs));
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
  return plain / 4;  // the sanitizers slow every byte down
#else
  return plain;
#endif
}

void ExpectNoFalseSuccess(const CampaignTally& tally, int runs) {
  std::printf("%s", tally.Summary("sample").c_str());
  EXPECT_EQ(tally.runs.load(), runs);
  EXPECT_EQ(tally.falseSuccesses.load(), 0);
  EXPECT_EQ(tally.resumeFailures.load(), 0);
  EXPECT_GT(tally.failures.load(), 0);
}

// A program with verify, and an update run that must also resume.
TEST(FaultCampaign, ProgramAndUpdateRunsNeverReportSuccessOverAWrongBank) {
  const std::pair<void (*)(int, CampaignTally*), int> campaigns[] = {{ProgramRunWithFault, 64},
                                                                      {UpdateRunWithFault, 24}};
  for (const auto& [campaign, plainRuns] : campaigns) {
    CampaignTally tally;
    const int runs = SampleRuns(plainRuns);
    InParallel(runs, kWorkers, [&](int run) { campaign(run, &tally); });
    ExpectNoFalseSuccess(tally, runs);
  }
}

TEST(FaultCampaign, UpdateCutAtSampledPacketsEndsRightWhenRunAgain) {
  const std::size_t packets = UpdateSlPacketCount();
  const std::size_t cuts[] = {0, 17, packets / 3, packets / 2 + 5, packets - 2, packets - 1};
  const int count = static_cast<int>(std::size(cuts));
  CampaignTally tally;
  InParallel(count, kWorkers, [&](int i) { InterruptedUpdateRun(cuts[i], &tally); });
  ExpectNoFalseSuccess(tally, count);
  EXPECT_EQ(tally.failures.load(), count);
  EXPECT_EQ(tally.resumed.load(), count);
}

}  // namespace
}  // namespace vantor::test
