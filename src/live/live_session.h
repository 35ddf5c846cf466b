#pragma once
// LiveSession: the live side of the main program in one piece, used by the
// window program and by the command-line tool alike.
//
//   EcmLink (main profile) + LogHooks   the serial link and the data log hooks
//   CommThread                          the only code touching the device
//   ByteSources                         live ring, playback and analysis files
//   LiveData + AdcChannels              the derived values of the latest frame
//   FrameLoop + DisplayThread           per-frame processing and its pacing
//   SecondsTicker                       advances secondsTick every second
//
// Usage: construct; install whatever uses the hooks (DataLogRecorder on
// Hooks(), Playback with Display().SetPlaybackStep, consumers on Loop(),
// FrameLoop hooks) before Start; then Start, open the port with
// Link().RequestPort or SelectPort. Stop (also from the destructor) closes
// the port and joins the threads; stop an open log and a playback first.

#include "link/ecm_link.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/comm_thread.h"
#include "live/display_state.h"
#include "live/display_thread.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/log_hooks.h"
#include "live/seconds_ticker.h"
#include "platform/serial_device.h"
#include "settings/settings.h"

namespace vantor {

class LiveSession {
 public:
  // settings must outlive the session; the channel table and the loop's
  // settings are taken from it now (call Reconfigure after they change).
  LiveSession(const Settings& settings, SerialOpener opener);
  ~LiveSession();
  LiveSession(const LiveSession&) = delete;
  LiveSession& operator=(const LiveSession&) = delete;

  // The seconds ticker, the display thread, then the communication thread.
  void Start();
  void Stop();
  // After the preferences or user devices changed.
  void Reconfigure(const Settings& settings);

  EcmLink& Link() { return link_; }
  LogHooks& Hooks() { return hooks_; }
  ByteSources& Sources() { return sources_; }
  LiveData& Live() { return live_; }
  AdcChannels& Adc() { return adc_; }
  DisplayState& State() { return state_; }
  FrameLoop& Loop() { return loop_; }
  DisplayThread& Display() { return display_; }

 private:
  EcmLink link_;
  LogHooks hooks_;
  ByteSources sources_;
  LiveData live_;
  AdcChannels adc_;
  DisplayState state_;
  FrameLoop loop_;
  DisplayThread display_;
  CommThread comm_;
  SecondsTicker ticker_;
  bool started_ = false;
};

}  // namespace vantor
