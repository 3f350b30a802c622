// Arbitrary bytes as a project data file: the engine must end every run
// with a result code, never crash, hang or write outside its storage.
#include <cstddef>
#include <cstdint>
#include <string>

#include "run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  korvan::RunProjectText(std::move(text), "/dev/null", "/dev/null");
  return 0;
}
