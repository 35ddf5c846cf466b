#pragma once
// File attributes the programs set: a hidden view file, read-only bank backups.
// Both return 0 on success and -1 on failure.

#include <filesystem>

namespace vantor {

// Hides the file where the platform has such an attribute; elsewhere a no-op.
int SetHiddenAttribute(const std::filesystem::path& path);

// Sets or clears write protection of the file.
int SetReadOnly(const std::filesystem::path& path, bool readOnly);

}  // namespace vantor
