#pragma once
// The Malfunction Codes window: the lamp grid, refreshed by the frame
// processing loop on every frame while it is open (display thread).

#include "live/frame_consumer.h"
#include "ui/draw/malf_codes_face.h"
#include "ui/qt/tool_window.h"

namespace vantor::ui {

class MalfCodesWindow final : public ToolWindow, public FrameConsumer {
  Q_OBJECT
 public:
  explicit MalfCodesWindow(const ToolWindowLinks& links);
  void OnFrame(const std::uint8_t* data, bool draw) override;

 private:
  MalfCodesFace face_;  // under the surface's lock
};

}  // namespace vantor::ui
