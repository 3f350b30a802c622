// What the fuzz targets of the desktop program's readers share: the one
// application object, a scratch folder for readers that take a file name,
// and the check that stops the search at a broken promise.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace korvan::fuzz {

// Creates the process's application object on the first call: a
// QCoreApplication, or a QApplication for readers that fill widgets or lay
// out text (offscreen unless QT_QPA_PLATFORM says otherwise). It is never
// destroyed: libFuzzer ends the process with exit(), after which Qt's own
// globals may already be gone.
template <class TApplication = QCoreApplication>
void EnsureApplication() {
  static const TApplication* const application = [] {
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new TApplication(argc, argv);
  }();
  (void)application;
}

// A folder of this process in memory-backed storage where there is one, so
// that writing every input does not wear a disk; removed at exit.
inline const QString& ScratchFolder() {
  static const QString folder = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? "/dev/shm"
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "korvan-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    static const std::string removeAtExit = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removeAtExit, ignored);
    });
    return QString::fromStdString(pattern);
  }();
  return folder;
}

// Writes `size` bytes to `name` in the scratch folder and returns its path.
inline QString WriteScratchFile(const QString& name, const std::uint8_t* data, std::size_t size) {
  const QString path = ScratchFolder() + QLatin1Char('/') + name;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
          static_cast<qint64>(size)) {
    std::abort();
  }
  return path;
}

inline QByteArray ReadScratchFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  return file.readAll();
}

// A promise of the reader that the input broke: libFuzzer keeps the input.
inline void Require(bool kept, const char* promise, const QString& detail = {}) {
  if (kept) return;
  std::fprintf(stderr, "broken promise: %s\n%s\n", promise, detail.toLocal8Bit().constData());
  std::abort();
}

}  // namespace korvan::fuzz
