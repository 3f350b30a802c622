#include "dynlib.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>

#include "messages.h"

namespace korvan::platform {

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
  struct stat info {};
  if (::stat(fFileName.c_str(), &info) != 0) {
    // The library file is absent: the same path as the desktop's "module not
    // found", a message and a closed object.
    ShowMessage("Error Loading Library, error code = " + std::to_string(errno));
    return;
  }
  dlerror();
  hLibModule = ::dlopen(fFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!hLibModule) {
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
  dlerror();
  void* address = ::dlsym(hLibModule, procName.c_str());
  if (!address) {
    ShowMessage("Error Getting Function, error code = " + std::to_string(ENOENT));
  }
  return address;
}

}  // namespace korvan::platform
