// One of the engine's numbered output channels (report, plot file, console):
// lines are formatted with the line-layout notation and buffered until the
// channel is closed. Every write and the closing are checked: once one has
// failed (a full disk), the channel writes nothing more and says so.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "file_access.h"
#include "layout.h"

namespace korvan {

class OutputChannel {
 public:
  OutputChannel() = default;
  OutputChannel(const OutputChannel&) = delete;
  OutputChannel& operator=(const OutputChannel&) = delete;
  ~OutputChannel() { Close(); }

  // Creates or overwrites the file, never blocking on it. False when it
  // cannot be opened or is not of the accepted kind.
  bool OpenForWriting(const std::string& path, OutputFileKind kind = OutputFileKind::kAnyFile);
  // Writes to the process's standard output.
  void OpenConsole();
  bool IsOpen() const { return file_ != nullptr; }

  void Write(std::string_view layout, std::initializer_list<FieldValue> values = {});
  void Write(std::string_view layout, std::span<const FieldValue> values);
  void WriteFree(std::initializer_list<FieldValue> values);
  // Writes text that already ends with '\n'.
  void WriteRaw(std::string_view text);

  // Flushes and closes; nothing is written afterwards. False when this or
  // any earlier write, or the closing, failed.
  bool Close();
  // True once a write has failed (the channel then stays closed to writes).
  bool Failed() const { return failed_; }

 private:
  void FlushIfLarge();
  void Flush();

  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace korvan
