#pragma once
// Where the running program file lies, and where the programs keep their
// configuration files: beside it, or the user's own folder when it is shared.

#include <filesystem>

namespace vantor {

// The directory of the running executable, ending with a separator; empty
// when the platform cannot tell.
std::filesystem::path ProgramDirectory();

// Where the programs keep their configuration files and look for the update's
// firmware image: beside the program when files can be made there (a build,
// a program folder of the user's own), else the user's folder for them
// (SettingsDirectoryFor below), as when the program is installed for every
// user. Ends with a separator.
std::filesystem::path SettingsDirectory();

// The rule itself: programDirectory when a file can be created in it, else
// userDirectory, created when missing (empty when that fails too).
std::filesystem::path SettingsDirectoryFor(const std::filesystem::path& programDirectory,
                                           const std::filesystem::path& userDirectory);

// $XDG_CONFIG_HOME/vantor/ or ~/.config/vantor/; %APPDATA%\Vantor\ on Windows.
std::filesystem::path UserSettingsDirectory();

}  // namespace vantor
