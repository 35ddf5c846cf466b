// Programming a bank with verify against the simulated ECM paced at 115,200
// baud, compared with the time its bytes need on the wire plus the fixed
// pauses of the dialogue. The ratio counter is the figure to watch (goal <= 1.3).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "support/pane_recorder.h"
#include "support/sim_rig.h"
#include "support/temp_dir.h"
#include "cal/bank_jobs.h"
#include "cal/cal_image.h"

namespace {

using namespace vantor;

constexpr double kBytesPerSecond = 115200.0 / 10.0;
// TxMsXmit 0 settle, TxMsBank repeat, "Flash Bank Set" pause, TxMsFlash waits (120 + 10).
constexpr double kFixedPauses = 0.060 + 0.060 + 0.060 + 0.130;

std::size_t ReplyBytes(const test::Packet& packet) {
  if (packet[0] != 'S') return 0;
  return packet[1] == 1 ? 8197 : 16;
}

void BM_ProgramBankWithVerify(benchmark::State& state) {
  test::TempDir dir;
  const auto calibration = test::SampleCalibration(77);
  const CalImage image = MakeImageFromCalibration(calibration.data());
  const std::string bin = dir.File("bench.bin");
  test::WriteAll(bin, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));

  sim::SimOptions paced;
  paced.paced = true;
  test::SimRig rig(MainProgramProfile(), paced);
  if (!rig.Open()) {
    state.SkipWithError("simulated port did not open");
    return;
  }
  rig.link.Tick().Start();
  // The simulated line paces only what the module sends; the stricter
  // figure counts those bytes alone.
  double measured = 0, wire = 0, replyWire = 0;
  for (auto _ : state) {
    rig.tap->Forget();
    test::PaneRecorder pane;
    const auto start = std::chrono::steady_clock::now();
    const int result = ProgramBank(rig.link, pane, {3, true, true}, bin);
    measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (result != 0) {
      state.SkipWithError("programming failed");
      break;
    }
    std::size_t bytes = 0, replies = 0;
    for (const auto& packet : rig.tap->Packets()) {
      bytes += packet.size() + ReplyBytes(packet);
      replies += ReplyBytes(packet);
    }
    wire += bytes / kBytesPerSecond + kFixedPauses;
    replyWire += replies / kBytesPerSecond + kFixedPauses;
  }
  rig.link.Tick().Stop();
  state.counters["seconds"] = measured / static_cast<double>(state.iterations());
  state.counters["wire_plus_pauses"] = wire / static_cast<double>(state.iterations());
  state.counters["ratio"] = wire > 0 ? measured / wire : 0;
  state.counters["ratio_reply_bytes"] = replyWire > 0 ? measured / replyWire : 0;
}
BENCHMARK(BM_ProgramBankWithVerify)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
