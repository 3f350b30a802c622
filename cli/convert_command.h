// korvan convert: a project data file of any generation read with the
// desktop program's own reader and written with its own writer in the
// current format.
#pragma once

#include <filesystem>

namespace korvan {

// Reads `input` (".kv4d", ".kv3d" or ".kvd") and writes `output` (".kv4d").
// Messages go to standard error; the result is the exit status: 0 when
// written, else non-zero with nothing written.
int ConvertDataFile(const std::filesystem::path& input, const std::filesystem::path& output);

}  // namespace korvan
