#include "runner/engine_library.h"

namespace korvan {

TEngineLibrary::TEngineLibrary(const std::filesystem::path& file)
    : fLibrary(file.string(), false) {}

bool TEngineLibrary::Load() {
  try {
    fLibrary.Open();
    fEntry = reinterpret_cast<TEntryPoint>(fLibrary.FindProcedure("IKORVAN"));
  } catch (const platform::EDLLError& error) {
    fFailure = TFailure::kNotLoaded;
    fError = error.what();
    return false;
  }
  if (fEntry == nullptr) {
    fFailure = TFailure::kNoEntryPoint;
    return false;
  }
  return true;
}

std::int32_t TEngineLibrary::Call() {
  return fEntry(4, 3);
}

}  // namespace korvan
