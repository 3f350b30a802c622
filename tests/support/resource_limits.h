// The limits every reader must keep, for the tests that check them: big
// inputs written piece by piece (never held whole), and what reading them
// costs: the wall time and how far the process's resident memory rose above
// where it stood when the work began (Linux keeps the peak; writing "5" to
// /proc/self/clear_refs restarts it).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <fstream>
#include <optional>
#include <string>

namespace korvan::testing {

// What a reader must manage: a big file within seconds, and its memory
// within a few times the largest file it accepts.
inline constexpr std::size_t kHugeFileBytes = 100'000'000;
inline constexpr std::size_t kLongLineBytes = 10'000'000;
inline constexpr double kSecondsAllowed = 5;
inline constexpr double kMegabytesAllowed = 200;

// Writes `head`, then `pattern` repeated to `bytes` in all, then `tail`.
inline bool WriteRepeatedFile(const std::string& path, const std::string& head,
                              const std::string& pattern, std::size_t bytes,
                              const std::string& tail = {}) {
  std::ofstream file(path, std::ios::binary);
  file << head;
  std::string chunk;
  while (chunk.size() < (1u << 20)) chunk += pattern;
  for (std::size_t written = 0; written < bytes;) {
    const std::size_t n = std::min(chunk.size(), bytes - written);
    file.write(chunk.data(), static_cast<std::streamsize>(n));
    written += n;
  }
  file << tail;
  return static_cast<bool>(file);
}

struct TResourceUsage {
  double seconds = 0;
  std::optional<double> peakGrowthMB;  // none where the system cannot tell
};

namespace detail {

// A "VmRSS:" or "VmHWM:" figure of /proc/self/status, in kB.
inline std::optional<long> StatusKB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
  }
  return std::nullopt;
}

inline bool RestartPeak() {
  std::ofstream clearRefs("/proc/self/clear_refs");
  return static_cast<bool>(clearRefs << "5" << std::flush);
}

}  // namespace detail

template <class TWork>
TResourceUsage MeasureUsage(TWork work) {
  const bool peakRestarted = detail::RestartPeak();
  const std::optional<long> before = detail::StatusKB("VmRSS:");
  const auto start = std::chrono::steady_clock::now();
  work();
  TResourceUsage usage;
  usage.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::optional<long> peak = detail::StatusKB("VmHWM:");
  if (peakRestarted && before && peak) usage.peakGrowthMB = (*peak - *before) / 1024.0;
  return usage;
}

}  // namespace korvan::testing
