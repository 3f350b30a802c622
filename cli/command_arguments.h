// The words after a command's name: one project data file and options, each
// option a switch or followed by its value ("--out DIR"; a short option may
// carry its value: "-j4"). A word that begins with "-" is an option. The
// usage errors the commands share are worded here once.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvan {

struct TCommandOptions {
  std::vector<std::string> switches;  // options without a value
  std::vector<std::string> valued;    // options followed by their value
};

// What a command makes of one option and its value (empty for a switch):
// a usage error, or nothing when the option was taken.
using TTakeOption =
    std::function<std::optional<std::string>(const std::string& option, const std::string& value)>;

// Scans `argv`, the project into `project` and each option through `take`.
// Returns the first usage error: a second project, an unknown option, an
// option without its value, what `take` refused, or no project at all.
std::optional<std::string> ScanCommandArguments(int argc, char** argv,
                                                const TCommandOptions& options,
                                                std::filesystem::path& project,
                                                const TTakeOption& take);

}  // namespace korvan
