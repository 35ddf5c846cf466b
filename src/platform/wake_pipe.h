#pragma once
// A self-pipe for poll(): any thread rings it, and a poll that watches its
// read end with other descriptors wakes. POSIX only.
#ifndef _WIN32

namespace vantor {

class WakePipe {
 public:
  WakePipe();
  ~WakePipe();
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  bool Ok() const { return readEnd_ >= 0; }
  // The descriptor to watch for POLLIN.
  int ReadEnd() const { return readEnd_; }
  // A ring on a full pipe is dropped: one waiting byte wakes as well.
  void Ring();
  // Takes the rings seen, so the next poll waits again.
  void Drain();

 private:
  int readEnd_ = -1;
  int writeEnd_ = -1;
};

}  // namespace vantor

#endif  // !_WIN32
