// Reading names.dat, the run description the caller writes into the current
// directory before every call.
#pragma once

#include <climits>
#include <string>

#include "run_context.h"

namespace korvan {

// The longest path a run file may have: the platform's limit, less the
// terminating NUL. A longer path is refused, never cut to another name.
inline constexpr std::size_t kMaxPathLength = PATH_MAX - 1;

// Reads the eight lines of `path` into `names`. False when the file is
// missing, not a regular file or larger than any run description, or any
// line cannot be read (no whole identification number, or a path that is
// empty, longer than kMaxPathLength or holds a NUL); the lines read so far
// are kept and `why`, when given, receives the reason for the console.
bool ReadRunDescription(const std::string& path, RunDescription& names, std::string* why = nullptr);

}  // namespace korvan
