// The frame reader over a log file: every input ends, and every frame it
// returns passed its check.
#include "fuzz/fuzz_input_file.h"
#include "logs/log_frame_pass.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vantor::fuzz::InputFile("frames.dat", data, size);
  const vantor::ExportProgress noProgress{};
  vantor::LogFramePass pass(noProgress);
  if (!pass.Open(path)) return 0;
  std::size_t frames = 0;
  for (vantor::LogFrameRead frame; pass.Next(frame);) {
    if (++frames > size / 277 + 1) __builtin_trap();  // more frames than the bytes can hold
  }
  return 0;
}
