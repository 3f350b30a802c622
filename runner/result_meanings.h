// What the engine's result codes tell a user, written once for every program
// that runs the engine: the desktop program's message after a stopped run and
// the exit statuses listed by `korvan --help`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvan {

// The meaning of a result code other than 0, as a sentence ("the soil
// profile does not reach a depth the analysis needs."); codes the engine
// never returns are "the engine returned an unknown result code.".
std::string EngineResultMeaning(std::int32_t code);

// The codes that stop a run, each with its meaning, in order; codes that
// share a meaning share one entry (4 to 8).
struct ResultCodeRange {
  std::int32_t first = 0;
  std::int32_t last = 0;
  std::string meaning;
};
std::vector<ResultCodeRange> StoppedRunCodes();

}  // namespace korvan
