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
  // error code = " with the system's code and leaves the object closed.
  void Open();
  void OpenFile(const std::string& fileName);
  void Close();
  bool GetIsOpen() const { return hLibModule != nullptr; }

  // The address of the named export, or nullptr after showing "Error Getting
  // Function, error code = ". Raises EDLLNotOpenError when not open.
  void* FindProcedure(const std::string& procName);

 private:
  std::string fFileName;
  void* hLibModule = nullptr;
};

}  // namespace korvan::platform
