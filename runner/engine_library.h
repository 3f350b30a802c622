// The engine bound for one run: its library loaded from one file by name,
// its entry point IKORVAN looked up and called once with (4, 3), and the
// library unloaded when the object goes. The one place that loads and calls
// the engine, for the desktop program's Run Analysis and for korvan run
// (RunEngine).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/dynlib.h"

namespace korvan {

inline constexpr const char* kEngineFileName = "KORVAN2021_DLL.so";

class TEngineLibrary {
 public:
  enum class TFailure {
    kNone,
    // The library could not be loaded (Error() holds the loader's exception
    // text, Reason() why: the missing file or the loader's own words).
    kNotLoaded,
    // The library has no entry point IKORVAN (Reason() holds the loader's
    // words); the platform layer has shown its message.
    kNoEntryPoint,
  };

  explicit TEngineLibrary(const std::filesystem::path& file);
  TEngineLibrary(const TEngineLibrary&) = delete;
  TEngineLibrary& operator=(const TEngineLibrary&) = delete;

  // Loads the library and looks up its entry point; false, with Failure()
  // set, when either fails.
  bool Load();
  // Calls IKORVAN(4, 3) once and returns the engine's result code; only
  // after Load succeeded.
  std::int32_t Call();

  TFailure Failure() const { return fFailure; }
  const std::string& Error() const { return fError; }
  const std::string& Reason() const { return fLibrary.LastError(); }

 private:
  using TEntryPoint = std::int32_t (*)(std::int32_t mode, std::int32_t reserved);

  platform::TDynamicLibrary fLibrary;
  TEntryPoint fEntry = nullptr;
  TFailure fFailure = TFailure::kNone;
  std::string fError;
};

}  // namespace korvan
