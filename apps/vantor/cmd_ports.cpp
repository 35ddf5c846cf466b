// vantor ports: the machine's serial ports, and which of them answers as the module.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "cli.h"
#include "platform/serial_device.h"
#include "platform/serial_ports.h"
#include "port_probe.h"
#include "sim/sim_serial.h"

namespace vantor::cli {
namespace {

int RunPorts(const std::vector<std::string>& argv);

const Command kPorts{
    "ports", "list the serial ports and find the one the ECM answers on",
    "usage: vantor ports [--probe] [PORT...]\n\n"
    "Lists the machine's serial ports with what the system tells of each: on\n"
    "Linux the ttyS ports with a UART behind them (as COM1..COM40), ttyUSB and\n"
    "ttyACM with their driver, USB vendor and product and their\n"
    "/dev/serial/by-id names; on Windows the COM ports. The first column is\n"
    "the name --port and [PORT] take. With PORT names, only those.\n\n"
    "  --probe   open each port for at most a second, ask for the live stream\n"
    "            and wait for one frame whose check value is right; then stop\n"
    "            the stream. Says \"answers: ORV KDM-9, ECM Firmware Version: 1.x\",\n"
    "            \"answers, but as an ORV Q8\", \"no answer\" or \"can not open\".\n"
    "            The ports are probed side by side.\n\n"
    "Exit status 0; with --probe, 0 when the module answered on a port, 1 when\n"
    "it did not.\n",
    RunPorts};
const Registration kRegistration(kPorts);

constexpr auto kProbeLimit = std::chrono::seconds(1);

// The ports named, with what the system tells of those it lists.
std::vector<SerialPortInfo> Named(const std::vector<std::string>& names) {
  const std::vector<SerialPortInfo> present = ListSerialPorts();
  std::vector<SerialPortInfo> ports;
  for (const std::string& name : names) {
    SerialPortInfo port;
    port.portName = name;
    port.devicePath = DevicePathForPort(name);
    for (const SerialPortInfo& listed : present) {
      if (listed.portName != name && listed.devicePath != name) continue;
      port = listed;
      port.portName = name;
    }
    if (name == sim::kSimPortName) port.product = "the simulated ECM in this program";
    ports.push_back(port);
  }
  return ports;
}

std::string ProbeText(const ProbeResult& result) {
  switch (result.outcome) {
    case ProbeOutcome::Module: return "answers: " + result.module;
    case ProbeOutcome::OtherModule: return "answers, but as an " + result.module.substr(0, result.module.find(','));
    case ProbeOutcome::Silent: return "no answer";
    case ProbeOutcome::CannotOpen: return "can not open";
  }
  return {};
}

// Every port at once: a second in all, not a second each.
std::vector<ProbeResult> ProbeAll(const std::vector<SerialPortInfo>& ports) {
  std::vector<ProbeResult> results(ports.size());
  std::vector<std::thread> probes;
  for (std::size_t i = 0; i < ports.size(); ++i)
    probes.emplace_back([&, i] { results[i] = ProbePort(ports[i].portName, kProbeLimit); });
  for (std::thread& probe : probes) probe.join();
  return results;
}

void PrintPort(const SerialPortInfo& port, const std::string& probe) {
  std::string line = port.portName;
  const auto add = [&line](const std::string& part) {
    if (part.empty()) return;
    line.resize(line.size() < 14 ? 14 : line.size(), ' ');
    line += " " + part;
  };
  if (port.devicePath != port.portName) add(port.devicePath);
  add(port.Description());
  std::printf("%s\n", line.c_str());
  for (const std::string& alias : port.aliases) std::printf("%-14s also %s\n", "", alias.c_str());
  if (!probe.empty()) std::printf("%-14s %s\n", "", probe.c_str());
}

int RunPorts(const std::vector<std::string>& argv) {
  const Args args(argv, {}, {"--probe"});
  if (args.WantsHelp()) return PrintHelp(kPorts);
  if (!args.Ok()) return UsageError(kPorts, args.Error());
  const bool probe = args.Has("--probe");
  const std::vector<SerialPortInfo> ports = args.Positional().empty() ? ListSerialPorts() : Named(args.Positional());
  if (ports.empty()) Say(kPorts.name, "no serial port found");
  const std::vector<ProbeResult> results = probe ? ProbeAll(ports) : std::vector<ProbeResult>();
  bool answered = false;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    PrintPort(ports[i], probe ? ProbeText(results[i]) : std::string());
    answered = answered || (probe && results[i].outcome == ProbeOutcome::Module);
  }
  return !probe || answered ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace vantor::cli
