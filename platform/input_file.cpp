#include "platform/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvan::platform {

TInputFile::TInputFile(const std::filesystem::path& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    fMissing = errno == ENOENT || errno == ENOTDIR;
    fProblem = std::strerror(errno);
    return;
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    fProblem = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
    ::close(descriptor);
    return;
  }
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  fDescriptor = descriptor;
  const std::string entry = "/proc/self/fd/" + std::to_string(descriptor);
  fReopenName = ::access(entry.c_str(), F_OK) == 0 ? entry : path.native();
}

TInputFile::~TInputFile() {
  if (fDescriptor >= 0) ::close(fDescriptor);
}

}  // namespace korvan::platform
