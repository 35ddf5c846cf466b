#include "settings/settings.h"

namespace vantor {

Settings::Settings() {
  for (int slot = 0; slot < kUserDeviceCount; ++slot) userDevices[slot].slot = slot;
}

}  // namespace vantor
