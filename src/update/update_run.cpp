#include "update/update_run.h"

#include <memory>

#include "cal/message_pane.h"

namespace vantor {
namespace {

int EndRun(MessagePane& pane, int result) {
  const PaneStyle& style = pane.Style();
  pane.AddLine(style.progress, "");
  if (result == 0)
    pane.AddLine(style.success, "    -Update Successful-");
  else
    pane.AddLine(style.finalFailure, "     -Update Failed-");
  return result;
}

}  // namespace

int RunUpdate(EcmLink& link, MessagePane& pane, const UpdateRun& run) {
  pane.Clear();
  return EndRun(pane, UpdateAllBanks(link, pane, run));
}

int RunUpdateWithFirmware(EcmLink& link, MessagePane& pane, UpdateRun run, const FirmwareSource& source) {
  const PaneStyle& style = pane.Style();
  const auto width = static_cast<std::size_t>(style.width);
  pane.Clear();
  pane.AddLine(style.progress, FirmwareImageLine(source, width));
  const auto firmware = std::make_unique<FirmwareImage>();
  const FirmwareStatus status = LoadRunFirmware(source, firmware.get());
  if (status != FirmwareStatus::Ok) {
    pane.AddLine(style.failedStep, FirmwareStatusText(status));
    for (const std::string& line : FirmwareAdvice(status, source.path, width)) pane.AddLine(style.progress, line);
    return EndRun(pane, -1);
  }
  run.firmware = firmware.get();
  return EndRun(pane, UpdateAllBanks(link, pane, run));
}

}  // namespace vantor
