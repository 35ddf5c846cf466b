#pragma once
// What the bank jobs of both programs share: the pane with its colours (the
// reply receiver's failure lines go to it while the job runs), the step rule
// (a failed command adds its message and ends the job), the Info command and
// the calibration requests whose contents are compared.

#include <cstdint>
#include <string_view>

#include "cal/message_pane.h"
#include "cal/scoped_sink.h"
#include "link/ecm_link.h"

namespace vantor {

class JobDialogue {
 public:
  JobDialogue(EcmLink& link, MessageSink& pane, const PaneStyle& style)
      : link_(link), pane_(pane), style_(style), sink_(link, pane) {}

  void Progress(std::string_view text) { pane_.AddLine(style_.progress, text); }
  // A step's outcome: false (and its message) when it failed.
  bool Step(int result, std::string_view failText) {
    if (result != 0) pane_.AddLine(style_.failedStep, failText);
    return result == 0;
  }
  bool Info(int bank);
  // A bank request whose contents will be compared: the reply is first filled
  // with a pattern, so nothing left over from an earlier reply can pass.
  bool FreshRequest(int (*request)(EcmLink&, int), int bank, std::string_view failText);
  // The returned bank's bytes, after the bank number.
  const std::uint8_t* Returned() const { return link_.Reply().payload.data() + 1; }

 protected:
  EcmLink& link_;
  MessageSink& pane_;
  const PaneStyle& style_;

 private:
  ScopedMessageSink sink_;
};

}  // namespace vantor
