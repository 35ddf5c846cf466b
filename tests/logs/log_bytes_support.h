#pragma once
// Building and reading back log bytes in tests.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::testing {

// A complete 277-byte frame envelope around data (273 bytes) with its check value.
std::vector<std::uint8_t> FrameEnvelope(const std::vector<std::uint8_t>& data);
// Frame data with a marker value in byte 2 and a run time.
std::vector<std::uint8_t> MarkedFrameData(std::uint8_t marker, unsigned runSeconds = 0);
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// A fresh empty directory under the system's temporary directory.
std::string FreshTempDir(const std::string& tag);

}  // namespace vantor::testing
