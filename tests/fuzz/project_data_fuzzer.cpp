// Arbitrary bytes as a project data file: reading, echoing and building the
// curves must end with a result code, never crash or write outside the
// engine's storage. The walks are left out: a valid file may legitimately ask
// for millions of them, which would only slow the search down.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  korvan::RunProjectText(std::move(text), "/dev/null", "/dev/null",
                         korvan::RunScope::ReadAndCurvesOnly);
  return 0;
}
