#pragma once
// Sends the reply receiver's failure lines to a job's pane while the job
// runs, and gives the link its earlier sink back afterwards.

#include "link/ecm_link.h"

namespace vantor {

class ScopedMessageSink {
 public:
  ScopedMessageSink(EcmLink& link, MessageSink& sink) : link_(link), previous_(link.Messages()) {
    link_.SetMessageSink(&sink);
  }
  ~ScopedMessageSink() { link_.SetMessageSink(previous_); }
  ScopedMessageSink(const ScopedMessageSink&) = delete;
  ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

 private:
  EcmLink& link_;
  MessageSink* previous_;
};

}  // namespace vantor
