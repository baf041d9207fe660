#pragma once

#include <csignal>
#include <sys/resource.h>

namespace kvr::test {

// A disk that takes no more than so many bytes a file, as a full disk would,
// for as long as this lives. A write past it fails instead of raising SIGXFSZ.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    inForce_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit &) = delete;
  FileSizeLimit &operator=(const FileSizeLimit &) = delete;

  bool inForce() const { return inForce_; }

private:
  rlimit saved_{};
  void (*previousHandler_)(int);
  bool inForce_ = false;
};

} // namespace kvr::test
