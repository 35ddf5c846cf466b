#include "logs/scratch_file.h"

#include <string>

#include "platform/file_attributes.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <ctime>
#else
#include <stdlib.h>
#include <unistd.h>
#endif

namespace vantor {

#if defined(_WIN32)

bool ScratchFile::Create(const std::filesystem::path& directory) {
  Close();
  // The system removes an _O_TEMPORARY file when its last handle closes.
  for (long attempt = 0; attempt < 100; ++attempt) {
    char name[40];
    std::snprintf(name, sizeof name, "$$_orv$$_%05ld.tmp", static_cast<long>(std::time(nullptr)) + attempt);
    const std::filesystem::path path = directory / name;
    int fd = -1;
    if (_sopen_s(&fd, path.string().c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_TEMPORARY,
                 _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
      continue;
    SetHiddenAttribute(path);
    stream_ = _fdopen(fd, "w+b");
    if (!stream_) _close(fd);
    return stream_ != nullptr;
  }
  return false;
}

bool ScratchFile::Truncate() {
  if (!stream_ || std::fflush(stream_) != 0) return false;
  std::rewind(stream_);
  return _chsize_s(_fileno(stream_), 0) == 0;
}

#else

bool ScratchFile::Create(const std::filesystem::path& directory) {
  Close();
  std::string path = (directory / "$$_orv$$_XXXXXX.tmp").string();
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) return false;
  SetHiddenAttribute(path);
  // Unlinked at once: the open stream keeps the data, and nothing is left
  // behind however the program ends.
  unlink(path.c_str());
  stream_ = fdopen(fd, "w+b");
  if (!stream_) close(fd);
  return stream_ != nullptr;
}

bool ScratchFile::Truncate() {
  if (!stream_ || std::fflush(stream_) != 0) return false;
  std::rewind(stream_);
  return ftruncate(fileno(stream_), 0) == 0;
}

#endif

void ScratchFile::Close() {
  if (stream_) std::fclose(stream_);
  stream_ = nullptr;
}

}  // namespace vantor
