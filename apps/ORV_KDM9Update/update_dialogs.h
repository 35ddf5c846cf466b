#pragma once
// The boxes and the file chooser of the update utility's window, behind
// functions so that tests can answer them.

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vantor::update_app {

enum class BoxIcon { Information, Error };

struct UpdateDialogs {
  // A topmost message box.
  std::function<void(const std::string& text, const std::string& caption, BoxIcon icon)> showBox;
  // "Select BIN file to update", starting in directory; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& directory)> chooseBinFile;
  std::function<void()> showAbout;
};

// The real boxes, owned by owner.
UpdateDialogs QtUpdateDialogs(QWidget* owner);

}  // namespace vantor::update_app
