// TDynamicLibrary: binds a shared library at run time by file name and looks
// up its exports by name (dlopen / dlsym / dlclose).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace korvan::platform {

class EDLLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EInitError : public EDLLError {
 public:
  using EDLLError::EDLLError;
};
class EFileNotFoundError : public EDLLError {
 public:
  using EDLLError::EDLLError;
};
class EDLLNotOpenError : public EDLLError {
 public:
  using EDLLError::EDLLError;
};

// `message`, and `reason` on the next line when there is one.
std::string WithReason(const std::string& message, const std::string& reason);

class TDynamicLibrary {
 public:
  TDynamicLibrary() = default;
  TDynamicLibrary(const std::string& fileName, bool createOpened);
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
  ~TDynamicLibrary() { Close(); }

  // Closes the library if it is open, then remembers the new name.
  void SetFileName(const std::string& value);
  const std::string& FileName() const { return fFileName; }

  // Loads the library unless it is open. A library that exists but cannot be
  // loaded raises EInitError; a missing file shows "Error Loading Library,
  // error code = " with the system's code, and on the next line why, and
  // leaves the object closed.
  void Open();
  void OpenFile(const std::string& fileName);
  void Close();
  bool GetIsOpen() const { return hLibModule != nullptr; }

  // The address of the named export, or nullptr after showing "Error Getting
  // Function, error code = " with the code and, on the next line, the
  // loader's text. Raises EDLLNotOpenError when not open.
  void* FindProcedure(const std::string& procName);

  // Why the last load or lookup failed, in the loader's own words (dlerror:
  // which library, dependency or symbol), or for a missing file its path
  // and the system's reason; empty when the last load or lookup succeeded.
  // Callers show it after their own message, on a line of its own
  // (WithReason).
  const std::string& LastError() const { return fLastError; }

 private:
  std::string fFileName;
  void* hLibModule = nullptr;
  std::string fLastError;
};

}  // namespace korvan::platform
