#pragma once
// The window side of VE learn: "&Learn VE..." with its two file choosers and
// the new-name proposal, "St&op Learn VE", the menu texts, and the save at
// exit. The learning itself is VeLearn's.

#include <cstdint>
#include <functional>
#include <string>

#include "ui/window/menu_model.h"

namespace vantor {
class VeLearn;
struct Settings;
}  // namespace vantor

namespace vantor::ui {

struct LearnVeLinks {
  Host* host = nullptr;
  WindowHost* owner = nullptr;
  MenuModel* menu = nullptr;
  std::function<std::int32_t()> secondsTick;
  std::function<void(bool open)> dialogOpen;  // a chooser or box is up
  std::function<void(const std::string& text, const std::string& caption)> message;  // a modal box
};

class LearnVeFlow {
 public:
  LearnVeFlow(Settings& settings, VeLearn& learn, LearnVeLinks links);

  void Start();
  void Stop();
  // Menu texts and graying after a start or a stop.
  void ShowState();
  // At exit: the write of a running learn; its failure gets the same box as Stop's.
  void FinishAtExit();

 private:
  bool ChooseSource(std::string* path, std::uint16_t* generation);
  bool ChooseNewBin(const std::string& source, std::uint16_t generation, std::string* path);
  // Yes to replace, No to choose again, Cancel to end.
  enum class Answer { Use, Again, Cancel };
  Answer CheckNewBin(const std::string& source, const std::string& path);

  Settings& settings_;
  VeLearn& learn_;
  LearnVeLinks links_;
  bool everStarted_ = false;
};

}  // namespace vantor::ui
