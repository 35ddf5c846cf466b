#pragma once
// What the displays read besides the frame bytes: values other parts derive
// (engine speed, the running qualifier, the auxiliary channels) and the
// program's states shown on the status panel.

#include <string>

namespace vantor::ui {

struct ChannelReading {
  bool configured = false;  // a preferred channel has this kind of device
  double value = 0.0;
  std::string deviceName;
  int channel = 0;
};

struct ProgramState {
  std::string portName;
  bool portOpen = false;
  bool logging = false;
  bool logPaused = false;  // ENTER paused the log ("  Pause")
  std::string logName;
  bool playing = false;
  bool playAtEnd = false;
  std::string playName;
  bool learning = false;
  int learnInput = 0;  // 0 BLM, 1 WB
};

class LiveView {
 public:
  virtual ~LiveView() = default;
  virtual double Rpm() const = 0;
  virtual bool EngineRunning() const = 0;
  virtual ChannelReading Wideband() const = 0;
  virtual ChannelReading FuelPressure() const = 0;
  // The count the knock bar shows.
  virtual unsigned KnockCount(const unsigned char* frame) const = 0;
  virtual ProgramState State() const = 0;
};

}  // namespace vantor::ui
