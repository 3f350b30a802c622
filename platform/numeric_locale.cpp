#include "platform/numeric_locale.h"

#include <clocale>

namespace korvan::platform {

TDecimalPointGuard::TDecimalPointGuard() {
  // The returned text is overwritten by the next call: keep a copy.
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  fSaved = current != nullptr ? current : "C";
  std::setlocale(LC_NUMERIC, "C");
}

TDecimalPointGuard::~TDecimalPointGuard() {
  std::setlocale(LC_NUMERIC, fSaved.c_str());
}

}  // namespace korvan::platform
