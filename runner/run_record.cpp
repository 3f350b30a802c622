#include "runner/run_record.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <ctime>

#include "platform/input_file.h"

namespace korvan {

namespace fs = std::filesystem;

namespace {

// The report of a run at every capacity of the engine is about 10 MB; a
// larger file is no report of this engine.
constexpr std::size_t kMaxReportBytes = 64 * 1024 * 1024;

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The text of a regular file of at most kMaxReportBytes.
std::optional<std::string> RegularFileText(const fs::path& path) {
  const platform::TInputFile file(path);
  if (!file.Opened()) return std::nullopt;
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = ::read(file.Descriptor(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMaxReportBytes) return std::nullopt;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// `text` without blanks at its ends and with every run of blanks inside it
// made one.
std::string Collapsed(std::string_view text) {
  std::string out;
  bool gap = false;
  for (char c : text) {
    if (IsBlank(c)) {
      gap = !out.empty();
      continue;
    }
    if (gap) out += ' ';
    gap = false;
    out += c;
  }
  return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<struct timespec> ModificationTime(const fs::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return std::nullopt;
  return info.st_mtim;
}

}  // namespace

std::optional<std::string> AnalysisDateInReport(std::string_view report) {
  for (std::string_view line : Lines(report)) {
    const std::size_t date = line.find("Date:");
    const std::size_t time = line.find("Time:");
    if (date == std::string_view::npos || time == std::string_view::npos || time < date) continue;
    const std::string day = Collapsed(line.substr(date + 5, time - date - 5));
    const std::string clock = Collapsed(line.substr(time + 5));
    if (day.empty() || clock.empty()) return std::nullopt;
    return day + " " + clock;
  }
  return std::nullopt;
}

std::vector<std::string> RunWarnings(std::string_view report) {
  std::vector<std::string> warnings;
  const std::vector<std::string_view> lines = Lines(report);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Collapsed(lines[i]);
    if (line.starts_with("**** WARNING") || line.starts_with("**** ERROR")) {
      std::string block = line;
      for (; i + 1 < lines.size(); ++i) {
        const std::string next = Collapsed(lines[i + 1]);
        if (next.empty()) break;
        block += " " + next;
      }
      warnings.push_back(block);
      continue;
    }
    constexpr std::string_view kNotConverged = "NOT ABLE TO GET CONVERGENCE";
    const std::size_t at = line.find(kNotConverged);
    if (at != std::string::npos && at > 0) {
      warnings.push_back("Applied load " + Collapsed(std::string_view(line).substr(0, at)) + ": " +
                         std::string(kNotConverged));
    }
  }
  return warnings;
}

std::optional<std::string> ModificationDate(const fs::path& file) {
  const auto time = ModificationTime(file);
  if (!time) return std::nullopt;
  std::tm local{};
  if (::localtime_r(&time->tv_sec, &local) == nullptr) return std::nullopt;
  char text[64];
  std::snprintf(text, sizeof text, "%s %02d, %04d %02d:%02d:%02d", kMonthNames[local.tm_mon % 12],
                local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return std::string(text);
}

bool ModifiedLater(const fs::path& file, const fs::path& than) {
  const auto a = ModificationTime(file);
  const auto b = ModificationTime(than);
  if (!a || !b) return false;
  return a->tv_sec != b->tv_sec ? a->tv_sec > b->tv_sec : a->tv_nsec > b->tv_nsec;
}

RunRecord ReadRunRecord(const fs::path& dataFile) {
  RunRecord record;
  const fs::path plot = fs::path(dataFile).replace_extension(".kv4p");
  record.summary = ReadPlotSummary(plot);
  if (!record.summary) return record;
  record.dataNewerThanResults = ModifiedLater(dataFile, plot);
  const std::optional<std::string> report =
      RegularFileText(fs::path(dataFile).replace_extension(".kv4o"));
  record.reportRead = report.has_value();
  if (report) {
    record.warnings = RunWarnings(*report);
    if (const auto date = AnalysisDateInReport(*report)) {
      record.analysisDate = *date;
      record.dateFromReport = true;
    }
  }
  if (!record.dateFromReport) record.analysisDate = ModificationDate(plot).value_or("unknown");
  return record;
}

}  // namespace korvan
