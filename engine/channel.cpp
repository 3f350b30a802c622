#include "channel.h"

namespace korvan {

namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

bool OutputChannel::OpenForWriting(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "wb");
  ownsFile_ = file_ != nullptr;
  return file_ != nullptr;
}

void OutputChannel::OpenConsole() {
  Close();
  file_ = stdout;
  ownsFile_ = false;
}

void OutputChannel::Write(std::string_view layout, std::initializer_list<FieldValue> values) {
  Write(layout, std::span<const FieldValue>(values.begin(), values.size()));
}

void OutputChannel::Write(std::string_view layout, std::span<const FieldValue> values) {
  if (!file_) return;
  AppendLayout(buffer_, layout, values);
  FlushIfLarge();
}

void OutputChannel::WriteFree(std::initializer_list<FieldValue> values) {
  if (!file_) return;
  AppendFree(buffer_, std::span<const FieldValue>(values.begin(), values.size()));
  FlushIfLarge();
}

void OutputChannel::WriteRaw(std::string_view text) {
  if (!file_) return;
  buffer_.append(text);
  FlushIfLarge();
}

void OutputChannel::FlushIfLarge() {
  if (buffer_.size() < kFlushSize) return;
  std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  buffer_.clear();
}

void OutputChannel::Close() {
  if (!file_) return;
  if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  buffer_.clear();
  if (ownsFile_) {
    std::fclose(file_);
  } else {
    std::fflush(file_);
  }
  file_ = nullptr;
  ownsFile_ = false;
}

}  // namespace korvan
