#pragma once
// Streams the good frames of a recorded .dat log in order, looping at the end.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/frame_source.h"

namespace vantor::sim {

class ReplaySource : public FrameSource {
 public:
  // False (with a reason) when the file cannot be read or holds no good frame.
  bool Load(const std::string& path, std::string* error);
  void NextFrame(std::uint8_t* data) override;
  bool ReportsRunningBank() const override { return false; }
  std::size_t FrameCount() const { return frames_.size(); }

 private:
  std::vector<std::array<std::uint8_t, kFrameDataSize>> frames_;
  std::size_t next_ = 0;
};

}  // namespace vantor::sim
