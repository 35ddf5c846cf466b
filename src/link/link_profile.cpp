#include "link/link_profile.h"

namespace vantor {

const LinkProfile& MainProgramProfile() {
  static const LinkProfile profile{"main", 18432, 8192, 1024, ReopenBackoff::CapAt5000, true, true,
                                   20, 10, 20, 20, MakeRgb(150, 106, 3), false, 120, true, true,
                                   false, 25};
  return profile;
}

const LinkProfile& UpdateUtilityProfile() {
  static const LinkProfile profile{"update", 33792, 4096, 1024, ReopenBackoff::RestartAbove8000,
                                   false, false, 30, 20, 20, 5, MakeRgb(255, 255, 0), true, 60,
                                   false, false, true, 0};
  return profile;
}

}  // namespace vantor
