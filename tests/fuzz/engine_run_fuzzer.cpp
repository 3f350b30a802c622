// Arbitrary bytes as a project data file, analysed whole by the engine's own
// run driver: reading, curves, the walk for every tip movement and the
// search for every head load, with every report and plot line formatted. A
// run must end with a result code, never crash, hang or write outside the
// engine's storage.
//
// Only the sizes a file may ask for are capped, by the driver right after it
// reads them, so that one input runs in milliseconds: a valid file may ask
// for 500 increments, 100 tip movements and 50 head loads of up to 100 walks
// each.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/run.h"

namespace {

constexpr korvan::RunLimits kFuzzLimits{
    .maxIncrements = 24, .maxTipMovements = 6, .maxHeadLoads = 3};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The report and the plot file are written and thrown away.
  korvan::RunProjectText(std::string(reinterpret_cast<const char*>(data), size), "/dev/null",
                         "/dev/null", korvan::RunScope::Complete, kFuzzLimits);
  return 0;
}
