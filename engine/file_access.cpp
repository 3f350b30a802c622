#include "file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace korvan {

namespace {

// Closes the descriptor when the scope ends, whatever way it ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

}  // namespace

FileReadStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& text) {
  text.clear();
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (file.get() < 0) return FileReadStatus::kCannotOpen;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return FileReadStatus::kReadError;
  if (!S_ISREG(info.st_mode)) return FileReadStatus::kNotRegular;
  if (static_cast<std::size_t>(info.st_size) > limit) return FileReadStatus::kTooLarge;

  // The size is a hint: a file that grows while it is read is still held
  // to the limit.
  text.resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == text.size()) {
      if (text.size() > limit) return FileReadStatus::kTooLarge;
      text.resize(std::min(text.size() * 2, limit + 1));
    }
    const ssize_t got = ::read(file.get(), text.data() + used, text.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileReadStatus::kReadError;
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  if (used > limit) return FileReadStatus::kTooLarge;
  text.resize(used);
  return FileReadStatus::kRead;
}

int OpenOutputFile(const std::string& path, bool append, OutputFileKind kind) {
  // Not O_TRUNC: a file is only emptied once it is known to be regular.
  const int flags =
      O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (append ? O_APPEND : 0);
  Descriptor file(::open(path.c_str(), flags, 0666));
  if (file.get() < 0) return -1;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return -1;
  const bool regular = S_ISREG(info.st_mode);
  if (!regular && kind == OutputFileKind::kRegularOnly) {
    errno = EINVAL;
    return -1;
  }
  if (regular && !append && ::ftruncate(file.get(), 0) != 0) return -1;
  // Writes block as usual from here on.
  const int status = ::fcntl(file.get(), F_GETFL);
  if (status < 0 || ::fcntl(file.get(), F_SETFL, status & ~O_NONBLOCK) != 0) return -1;
  return file.release();
}

bool OpenOutputChannel(OutputChannel& channel, const std::string& path, OutputFileKind kind) {
  return channel.OpenDescriptor(OpenOutputFile(path, /*append=*/false, kind));
}

}  // namespace korvan
