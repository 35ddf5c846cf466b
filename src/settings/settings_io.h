#pragma once
// Reading and writing the configuration file, driven by a SettingsTable.
// The main program's table and the update utility's seven-row table are data
// for the same code.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace vantor {

struct SettingsTable;  // defined in settings_table.h

const SettingsTable& MainProgramSettingsTable();
const SettingsTable& UpdateUtilitySettingsTable();

// Shows "Can not open Configuration File: \n\n %s" / "Configuration File Error".
using SettingsErrorHook = std::function<void(const std::string& text, const std::string& caption)>;

// Start-up read: opens for update, creates the file empty when missing. Always 0.
int ReadSettings(const std::string& configPath, const SettingsTable& table, Settings* settings,
                 const SettingsErrorHook& onError);
// Read only (the command-line tool): false when the file cannot be opened; creates nothing.
bool ReadSettingsFile(const std::string& configPath, const SettingsTable& table, Settings* settings);
// Rewrites the whole file; clamps numeric fields in place. Always 0.
int WriteSettings(const std::string& configPath, const SettingsTable& table, Settings* settings,
                  const SettingsErrorHook& onError);
// As WriteSettings, for a run that uses a port only for itself (the simulated
// ECM of a demo): while settings->port is runPort the file keeps *keptPort;
// once another port is chosen, *keptPort is dropped and the choice is written.
int WriteSettingsKeepingPort(const std::string& configPath, const SettingsTable& table, Settings* settings,
                             std::optional<std::string>* keptPort, const std::string& runPort,
                             const SettingsErrorHook& onError);
// The lines of every row, as written into the file (the table's line ends).
std::string SettingsText(const SettingsTable& table, Settings* settings);
// The same lines with the given line end (a data log header uses kLogHeaderLineEnd).
std::string SettingsText(const SettingsTable& table, Settings* settings, std::string_view lineEnd);
// Writes the lines to an open binary stream with CR LF line ends (data log headers).
bool WriteSettingsText(std::FILE* stream, const SettingsTable& table, Settings* settings);

constexpr const char* kLogHeaderLineEnd = "\r\n";

// The configuration file in the settings directory: beside the running
// program, or the user's own folder when the program's is shared.
std::string ConfigPath(const std::string& fileName);

constexpr const char* kMainConfigName = "ORV_KDM-9_Vantor.cfg";
constexpr const char* kUpdateConfigName = "ORV_KDM9Update.cfg";

}  // namespace vantor
