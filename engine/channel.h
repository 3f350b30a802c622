// One of the engine's numbered output channels (report, plot file, console):
// lines are formatted with the line-layout notation and buffered until the
// channel is closed.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "layout.h"

namespace korvan {

class OutputChannel {
 public:
  OutputChannel() = default;
  OutputChannel(const OutputChannel&) = delete;
  OutputChannel& operator=(const OutputChannel&) = delete;
  ~OutputChannel() { Close(); }

  // Creates or overwrites the file. False when it cannot be opened.
  bool OpenForWriting(const std::string& path);
  // Writes to the process's standard output.
  void OpenConsole();
  bool IsOpen() const { return file_ != nullptr; }

  void Write(std::string_view layout, std::initializer_list<FieldValue> values = {});
  void Write(std::string_view layout, std::span<const FieldValue> values);
  void WriteFree(std::initializer_list<FieldValue> values);
  // Writes text that already ends with '\n'.
  void WriteRaw(std::string_view text);

  // Flushes and closes; nothing is written afterwards.
  void Close();

 private:
  void FlushIfLarge();

  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  std::string buffer_;
};

}  // namespace korvan
