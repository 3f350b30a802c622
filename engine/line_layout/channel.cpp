#include "channel.h"

#include <unistd.h>

namespace korvan {

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

void OutputChannel::Reset() {
  Close();
  buffer_.clear();
  failed_ = false;
}

bool OutputChannel::OpenDescriptor(int descriptor) {
  Reset();
  if (descriptor < 0) return false;
  file_ = ::fdopen(descriptor, "wb");
  if (!file_) {
    ::close(descriptor);
    return false;
  }
  sink_ = Sink::kFile;
  ownsFile_ = true;
  return true;
}

void OutputChannel::OpenConsole() {
  Reset();
  sink_ = Sink::kFile;
  file_ = stdout;
}

void OutputChannel::OpenMemory() {
  Reset();
  sink_ = Sink::kMemory;
}

void OutputChannel::Write(std::string_view layout, std::initializer_list<FieldValue> values) {
  Write(layout, std::span<const FieldValue>(values.begin(), values.size()));
}

void OutputChannel::Write(std::string_view layout, std::span<const FieldValue> values) {
  if (sink_ == Sink::kNone || failed_) return;
  AppendLayout(buffer_, layout, values);
  FlushIfLarge();
}

void OutputChannel::WriteFree(std::initializer_list<FieldValue> values) {
  if (sink_ == Sink::kNone || failed_) return;
  AppendFree(buffer_, std::span<const FieldValue>(values.begin(), values.size()));
  FlushIfLarge();
}

void OutputChannel::WriteRaw(std::string_view text) {
  if (sink_ == Sink::kNone || failed_) return;
  buffer_.append(text);
  FlushIfLarge();
}

void OutputChannel::FlushIfLarge() {
  if (sink_ == Sink::kFile && buffer_.size() >= kFlushSize) Flush();
}

void OutputChannel::Flush() {
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
}

bool OutputChannel::Close(bool syncToDisk) {
  if (sink_ == Sink::kFile) {
    Flush();
    if (ownsFile_) {
      if (syncToDisk && !failed_ &&
          (std::fflush(file_) != 0 || ::fdatasync(::fileno(file_)) != 0)) {
        failed_ = true;
      }
      if (std::fclose(file_) != 0) failed_ = true;
    } else if (std::fflush(file_) != 0) {
      failed_ = true;
    }
  }
  sink_ = Sink::kNone;
  file_ = nullptr;
  ownsFile_ = false;
  return !failed_;
}

}  // namespace korvan
