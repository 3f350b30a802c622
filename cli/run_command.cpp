#include "cli/run_command.h"

#include <sys/stat.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "runner/engine_runner.h"
#include "runner/plot_summary.h"
#include "runner/run_preparation.h"

namespace korvan {

namespace {

std::string FromEnvironment(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : fallback;
}

// The run's user from the environment; nothing when KORVAN_ID is no whole
// number (the run preparation refuses one outside the 32-bit range).
std::optional<UserIdentification> UserFromEnvironment() {
  UserIdentification user;
  user.organisation = FromEnvironment("KORVAN_ORGANISATION", user.organisation);
  user.city = FromEnvironment("KORVAN_CITY", user.city);
  user.region = FromEnvironment("KORVAN_REGION", user.region);
  const std::string id = FromEnvironment("KORVAN_ID", "0");
  const char* first = id.data() + (id.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(first, id.data() + id.size(), user.idNumber);
  if (error != std::errc() || end != id.data() + id.size() || first == end) return std::nullopt;
  return user;
}

int PreparationStatus(RunPreparationFailure failure) {
  switch (failure) {
    case RunPreparationFailure::kDataPathRefused:
    case RunPreparationFailure::kIdentificationRefused:
      return kRefused;
    case RunPreparationFailure::kFolderBusy:
      return kBusy;
    case RunPreparationFailure::kNamesNotWritten:
    case RunPreparationFailure::kForeignNames:
      return kCannotCreate;
    default:
      return kSystemError;
  }
}

// Enough of a file's state to tell whether a run wrote it.
struct FileStamp {
  bool exists = false;
  struct stat info {};
  bool operator==(const FileStamp& other) const {
    if (exists != other.exists) return false;
    if (!exists) return true;
    const auto same = [](const timespec& a, const timespec& b) {
      return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    return info.st_dev == other.info.st_dev && info.st_ino == other.info.st_ino &&
           info.st_size == other.info.st_size && same(info.st_mtim, other.info.st_mtim) &&
           same(info.st_ctim, other.info.st_ctim);
  }
};

FileStamp StampOf(const std::filesystem::path& path) {
  FileStamp stamp;
  stamp.exists = ::stat(path.c_str(), &stamp.info) == 0;
  return stamp;
}

void PrintTable(const PlotSummary& summary) {
  const bool english = summary.unitSystem == 1;
  const char* force = english ? "lbs" : "kN";
  const char* length = english ? "in" : "m";
  std::printf("\nResults due to tip movements\n");
  std::printf("%16s %16s %16s %16s\n", "head load", "head movement", "tip movement", "tip load");
  std::printf("%16s %16s %16s %16s\n", force, length, length, force);
  for (const auto& row : summary.tipMovementRows) {
    std::printf("%16.4E %16.4E %16.4E %16.4E\n", row.headLoad, row.headMovement, row.tipMovement,
                row.tipLoad);
  }
  if (summary.appliedLoadRows.empty()) return;
  std::printf("\nResults due to applied loads\n");
  for (const auto& row : summary.appliedLoadRows) {
    if (row.converged) {
      std::printf("%16.4E %16.4E %16.4E %16.4E\n", row.values.headLoad, row.values.headMovement,
                  row.values.tipMovement, row.values.tipLoad);
    } else {
      std::printf("%16.4E   not able to get convergence\n", row.values.headLoad);
    }
  }
}

// The generation of an older data file's extension, which the engine cannot
// read, or nothing.
const char* OlderGeneration(const std::filesystem::path& data) {
  std::string extension = data.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".kv3d") return "KORVAN 2014";
  if (extension == ".kvd") return "KORVAN 2.0";
  return nullptr;
}

}  // namespace

int RunCommand(const std::string& argument) {
  namespace fs = std::filesystem;
  if (argument.empty()) {
    std::cerr << "korvan: the path of the project data file is empty\n";
    return kUsageError;
  }
  if (argument.size() > kMaxRunPathLength) {
    std::cerr << "korvan: the path of the project data file is longer than " << kMaxRunPathLength
              << " characters\n";
    return kNoInput;
  }
  std::error_code error;
  const fs::path dataPath = fs::absolute(argument, error);
  if (error) {
    std::cerr << "korvan: cannot resolve " << argument << ": " << error.message()
              << " (has the current folder been deleted?)\n";
    return kNoInput;
  }
  if (!fs::is_regular_file(fs::status(dataPath, error))) {
    std::cerr << "korvan: no project data file " << dataPath << "\n";
    return kNoInput;
  }
  if (const char* generation = OlderGeneration(dataPath)) {
    std::cerr << "korvan: " << dataPath << " is a project data file of " << generation
              << ", which the engine cannot read: convert it first with korvan convert " << dataPath
              << " " << fs::path(dataPath).replace_extension(".kv4d") << "\n";
    return kRefused;
  }
  const std::optional<UserIdentification> user = UserFromEnvironment();
  if (!user) {
    std::cerr << "korvan: KORVAN_ID must be a whole number from -2147483648 to 2147483647\n";
    return kRefused;
  }

  const RunFiles files = RunFilesFor(dataPath);
  const FileStamp reportBefore = StampOf(files.report);
  const EngineRun run = RunEngine(dataPath, ProgramFolder(), *user);
  std::fflush(stdout);
  if (!run.called) {
    std::cerr << "korvan: the engine was not run: " << run.failure << "\n";
    return run.preparation ? PreparationStatus(*run.preparation) : kEngineMissing;
  }
  const FileStamp reportAfter = StampOf(files.report);
  int status = run.result;
  if (run.result == 0) {
    if (auto summary = ReadPlotSummary(files.plot)) {
      PrintTable(*summary);
    } else {
      // The engine said it completed: a plot file that does not read back is
      // its fault, never a success.
      std::printf("\nThe plot data file holds no complete results.\n");
      std::cerr << "korvan: the engine reported success, but the plot data file " << files.plot
                << " is missing, cut short or holds no complete results\n";
      status = kIncompleteResults;
    }
  } else {
    // An earlier run's report says nothing about this one.
    const bool reportWritten = reportAfter.exists && !(reportAfter == reportBefore);
    std::printf("\nThe engine stopped the run with result code %d%s\n", run.result,
                reportWritten ? "; see the report." : ".");
  }
  std::printf("\n");
  const std::pair<const char*, const fs::path*> listed[] = {
      {"Report:    ", &files.report}, {"Plot data: ", &files.plot}, {"Run notes: ", &files.notes}};
  for (const auto& [label, path] : listed) {
    if (fs::exists(*path, error)) std::printf("%s%s\n", label, path->c_str());
  }
  return status;
}

}  // namespace korvan
