// Puts the process's numeric locale on one whose decimal separator is a comma
// while it lives, and back on "C" afterwards. When no such locale is
// installed it compiles one (de_DE) into a cache folder with localedef; when
// that is impossible too, Active() is false and the caller skips.
#pragma once

namespace korvan::testing {

class TCommaLocale {
 public:
  TCommaLocale();
  ~TCommaLocale();
  TCommaLocale(const TCommaLocale&) = delete;
  TCommaLocale& operator=(const TCommaLocale&) = delete;

  bool Active() const { return fActive; }

 private:
  bool fActive = false;
};

}  // namespace korvan::testing
