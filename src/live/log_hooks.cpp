#include "live/log_hooks.h"

#include <cstdio>
#include <ctime>

#include "platform/local_time.h"

namespace vantor {

std::string LocalDateText() { return LocalDateText(std::time(nullptr)); }

std::string LocalDateText(std::time_t when) {
  const std::tm local = LocalTime(when);
  char text[80];
  std::snprintf(text, sizeof text, "%02d/%02d/%4d - %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

}  // namespace vantor
