#include "platform/dynlib.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/messages.h"

namespace korvan::platform {

namespace {

// The loader's text of its last failure.
std::string LoaderText() {
  const char* text = ::dlerror();
  return text ? text : "the loader gave no reason";
}

}  // namespace

std::string WithReason(const std::string& message, const std::string& reason) {
  return reason.empty() ? message : message + "\n" + reason;
}

TDynamicLibrary::TDynamicLibrary(const std::string& fileName, bool createOpened) {
  SetFileName(fileName);
  if (createOpened) Open();
}

void TDynamicLibrary::SetFileName(const std::string& value) {
  Close();
  fFileName = value;
}

void TDynamicLibrary::Open() {
  if (GetIsOpen()) return;
  fLastError.clear();
  struct stat info {};
  if (::stat(fFileName.c_str(), &info) != 0) {
    // The library file is absent: the same path as the desktop's "module not
    // found", a message and a closed object.
    const int code = errno;
    fLastError = fFileName + ": " + std::strerror(code);
    ShowMessage(
        WithReason("Error Loading Library, error code = " + std::to_string(code), fLastError));
    return;
  }
  ::dlerror();
  hLibModule = ::dlopen(fFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!hLibModule) {
    fLastError = LoaderText();
    throw EInitError("Library failed to properly initialize");
  }
}

void TDynamicLibrary::OpenFile(const std::string& fileName) {
  SetFileName(fileName);
  Open();
}

void TDynamicLibrary::Close() {
  if (!hLibModule) return;
  ::dlclose(hLibModule);
  hLibModule = nullptr;
}

void* TDynamicLibrary::FindProcedure(const std::string& procName) {
  if (!GetIsOpen()) throw EDLLNotOpenError("Library is not open");
  fLastError.clear();
  ::dlerror();
  void* address = ::dlsym(hLibModule, procName.c_str());
  if (!address) {
    fLastError = LoaderText();
    ShowMessage(
        WithReason("Error Getting Function, error code = " + std::to_string(ENOENT), fLastError));
  }
  return address;
}

}  // namespace korvan::platform
