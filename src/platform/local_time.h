#pragma once
// The local calendar time of a moment, on every platform.

#include <ctime>

namespace vantor {

inline std::tm LocalTime(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return local;
}

}  // namespace vantor
