// An input file opened the way the engine opens its own: without waiting on a
// FIFO or a device, and kept only when it is a regular file. Names are the
// bytes the user gave, whatever their encoding.
#pragma once

#include <filesystem>
#include <string>

namespace korvan::platform {

class TInputFile {
 public:
  explicit TInputFile(const std::filesystem::path& path);
  ~TInputFile();
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  bool Opened() const { return fDescriptor >= 0; }
  // Nothing of that name (or a folder on the way is missing).
  bool Missing() const { return fMissing; }
  // Why the file is not open: "it is not a regular file" or the system's
  // reason; empty when open.
  const std::string& Problem() const { return fProblem; }
  int Descriptor() const { return fDescriptor; }
  // A name under which a reader that takes names opens exactly this file,
  // whatever the bytes of its own name: the descriptor's entry in /proc, or
  // the path itself where /proc is missing.
  const std::string& ReopenName() const { return fReopenName; }

 private:
  int fDescriptor = -1;
  bool fMissing = false;
  std::string fProblem;
  std::string fReopenName;
};

}  // namespace korvan::platform
