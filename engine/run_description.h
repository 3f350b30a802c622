// Reading names.dat, the run description the caller writes into the current
// directory before every call.
#pragma once

#include <string>

#include "run_context.h"

namespace korvan {

// Reads the eight lines of `path` into `names`. False when the file is
// missing or any line cannot be read; the lines read so far are kept.
bool ReadRunDescription(const std::string& path, RunDescription& names);

}  // namespace korvan
