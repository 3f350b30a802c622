// An output channel of the engine (the report, the plot file, the console):
// lines are formatted with the line-layout notation into a buffer that goes
// out to the channel's file in large pieces and when the channel is closed.
// A channel opened in memory keeps every line for its reader instead. Every
// write and the closing are checked: once one has failed (a full disk), the
// channel writes nothing more and says so.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <span>
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

  // Writes into the open file `descriptor`, which the channel then owns and
  // closes. False when the descriptor is negative (the file could not be
  // opened) or no stream can be made of it (it is closed then).
  bool OpenDescriptor(int descriptor);
  // Writes to the process's standard output, which stays open.
  void OpenConsole();
  // Keeps what is written in memory, for Text().
  void OpenMemory();
  bool IsOpen() const { return sink_ != Sink::kNone; }

  void Write(std::string_view layout, std::initializer_list<FieldValue> values = {});
  void Write(std::string_view layout, std::span<const FieldValue> values);
  void WriteFree(std::initializer_list<FieldValue> values);
  // Writes text that already ends with '\n'.
  void WriteRaw(std::string_view text);

  // Flushes and closes; nothing is written afterwards. False when this or
  // any earlier write, or the closing, failed. With `syncToDisk` a file the
  // channel owns is first written through to the disk, so that a file put in
  // place afterwards survives a crash of the machine.
  bool Close(bool syncToDisk = false);
  // True once a write has failed (the channel then stays closed to writes).
  bool Failed() const { return failed_; }

  // Everything written to a channel opened in memory, also after closing it
  // (until it is opened again).
  const std::string& Text() const { return buffer_; }

 private:
  enum class Sink { kNone, kFile, kMemory };

  // Closes whatever was open and starts afresh: no text, no failure.
  void Reset();
  void FlushIfLarge();
  void Flush();

  Sink sink_ = Sink::kNone;
  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace korvan
