#include "cli/command_arguments.h"

#include <algorithm>

namespace korvan {

namespace {

bool Listed(const std::vector<std::string>& list, const std::string& word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

}  // namespace

std::optional<std::string> ScanCommandArguments(int argc, char** argv,
                                                const TCommandOptions& options,
                                                std::filesystem::path& project,
                                                const TTakeOption& take) {
  for (int i = 0; i < argc; ++i) {
    std::string option = argv[i];
    if (!option.starts_with("-") || option == "-") {
      if (!project.empty()) return "more than one project given";
      project = option;
      continue;
    }
    std::string value;
    if (Listed(options.switches, option)) {
      // a switch takes no value
    } else if (Listed(options.valued, option)) {
      if (i + 1 >= argc) return option + " needs a value";
      value = argv[++i];
    } else if (!option.starts_with("--") && Listed(options.valued, option.substr(0, 2))) {
      value = option.substr(2);
      option.resize(2);
    } else {
      return "unknown option " + option;
    }
    if (auto error = take(option, value)) return error;
  }
  if (project.empty()) return "no project given";
  return std::nullopt;
}

}  // namespace korvan
