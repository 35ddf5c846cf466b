#pragma once
// The in-process port "SIM": a SerialDevice wired straight to a SimEcm.

#include <memory>

#include "platform/serial_device.h"

namespace vantor::sim {

class SimEcm;

// A device that stays bound to the plug-in it was opened in: after an unplug
// every call fails, even once the simulator is plugged in again.
std::unique_ptr<SerialDevice> OpenSimDevice(SimEcm& ecm);

// Maps the port name "SIM" to the simulator (nullptr while it is unplugged)
// and every other name to the platform's serial back-end.
SerialOpener SimOpener(SimEcm& ecm);

constexpr const char* kSimPortName = "SIM";

}  // namespace vantor::sim
