// The checks a run makes on its files before it opens any of them, so that a
// run description naming the data file as an output, two outputs as one
// file, a FIFO, socket, directory or device as a run file, or an output the
// user may not write destroys nothing and never waits.
#pragma once

#include <string>

#include "run_context.h"

namespace korvan {

// Why the files named in `names` cannot be used as they are, or an empty
// text when they can. Paths not read (empty) are left out. An output is
// refused when it is the data file, the run description at
// `runDescriptionPath` or another output (the same path once resolved, or
// the same file by device and inode); any file that exists must be a
// regular file, and an existing report or plot file one that the user may
// write. Nothing is opened.
std::string UnsafeRunFiles(const RunDescription& names, const std::string& runDescriptionPath);

}  // namespace korvan
