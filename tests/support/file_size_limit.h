// A full disk, as a test makes one: while a TFileSizeLimit lives, files
// written by this process may not grow beyond the bytes it allows, and writes
// beyond them fail instead of raising a signal.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace korvan::testing {

class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) : fHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &fSaved);
    rlimit limit = fSaved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &fSaved);
    std::signal(SIGXFSZ, fHandler);
  }

 private:
  rlimit fSaved{};
  void (*fHandler)(int);
};

}  // namespace korvan::testing
