// The program's number format is the process's numeric locale (LC_NUMERIC).
// Every text file the program writes uses "." as its decimal separator, so
// writers switch the locale for the time they write and put the user's back
// afterwards, also when the write fails.
#pragma once

#include <string>

namespace korvan::platform {

class TDecimalPointGuard {
 public:
  // Remembers the current numeric locale and switches to "C" ("." as the
  // decimal separator, no thousands grouping).
  TDecimalPointGuard();
  ~TDecimalPointGuard();
  TDecimalPointGuard(const TDecimalPointGuard&) = delete;
  TDecimalPointGuard& operator=(const TDecimalPointGuard&) = delete;

 private:
  std::string fSaved;
};

}  // namespace korvan::platform
