#include "channel.h"

#include <unistd.h>

namespace korvan {

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

bool OutputChannel::OpenForWriting(const std::string& path, OutputFileKind kind) {
  Close();
  failed_ = false;
  const int fd = OpenOutputFile(path, /*append=*/false, kind);
  if (fd < 0) return false;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    return false;
  }
  ownsFile_ = true;
  return true;
}

void OutputChannel::OpenConsole() {
  Close();
  failed_ = false;
  file_ = stdout;
  ownsFile_ = false;
}

void OutputChannel::Write(std::string_view layout, std::initializer_list<FieldValue> values) {
  Write(layout, std::span<const FieldValue>(values.begin(), values.size()));
}

void OutputChannel::Write(std::string_view layout, std::span<const FieldValue> values) {
  if (!file_ || failed_) return;
  AppendLayout(buffer_, layout, values);
  FlushIfLarge();
}

void OutputChannel::WriteFree(std::initializer_list<FieldValue> values) {
  if (!file_ || failed_) return;
  AppendFree(buffer_, std::span<const FieldValue>(values.begin(), values.size()));
  FlushIfLarge();
}

void OutputChannel::WriteRaw(std::string_view text) {
  if (!file_ || failed_) return;
  buffer_.append(text);
  FlushIfLarge();
}

void OutputChannel::FlushIfLarge() {
  if (buffer_.size() >= kFlushSize) Flush();
}

void OutputChannel::Flush() {
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

bool OutputChannel::Close() {
  if (!file_) return !failed_;
  Flush();
  if (ownsFile_) {
    if (std::fclose(file_) != 0) failed_ = true;
  } else if (std::fflush(file_) != 0) {
    failed_ = true;
  }
  file_ = nullptr;
  ownsFile_ = false;
  return !failed_;
}

}  // namespace korvan
