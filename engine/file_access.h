// The engine's own way into the file system: every file of a run is opened
// without blocking (a FIFO or a device named as a run file must never stop
// the run), and files read whole are read only when they are regular files
// of a bounded size.
#pragma once

#include <cstddef>
#include <string>

#include "line_layout/channel.h"

namespace korvan {

enum class FileReadStatus {
  kRead,
  kCannotOpen,  // missing or not readable
  kNotRegular,  // a directory, FIFO, socket or device
  kTooLarge,    // larger than the limit; nothing was read
  kReadError,
};

// Reads the regular file `path` whole into `text` when it holds at most
// `limit` bytes.
FileReadStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& text);

enum class OutputFileKind {
  kRegularOnly,  // a run's own files: anything but a regular file is refused
  kAnyFile,      // tests and benchmarks may write into /dev/null
};

// Opens `path` for writing, created when missing, without blocking. A
// regular file is emptied unless `append`. Returns the descriptor, or -1
// with errno set (EINVAL when the kind refuses the file).
int OpenOutputFile(const std::string& path, bool append, OutputFileKind kind);

// Opens `channel` on the output file `path`, emptied (OpenOutputFile). False
// when the file cannot be opened or is not of the accepted kind.
bool OpenOutputChannel(OutputChannel& channel, const std::string& path,
                       OutputFileKind kind = OutputFileKind::kAnyFile);

}  // namespace korvan
