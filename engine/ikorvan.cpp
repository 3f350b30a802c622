// The engine library's one exported entry point.
#include <cstdint>

#include "run.h"

extern "C" __attribute__((visibility("default"))) std::int32_t IKORVAN(std::int32_t mode,
                                                                       std::int32_t /*reserved*/) {
  if (mode != 4) return 1;
  return korvan::RunAnalysis();
}
