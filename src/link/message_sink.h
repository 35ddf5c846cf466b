#pragma once
// Where flash work and the reply receiver report their progress lines.

#include <cstdint>
#include <string_view>

namespace vantor {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb MakeRgb(int r, int g, int b) {
  return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void AddLine(Rgb background, std::string_view text) = 0;
};

}  // namespace vantor
