#include "test_support.h"

#include <fstream>
#include <sstream>

#include "engine/run.h"

namespace korvan::testing {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::vector<std::string> ProjectRun::ReportLines() const {
  return SplitLines(report);
}
std::vector<std::string> ProjectRun::PlotLines() const {
  return SplitLines(plot);
}

ProjectRun RunProject(const std::string& projectText) {
  ProjectOutputs outputs = RunProjectInMemory(projectText);
  return {outputs.result, std::move(outputs.report), std::move(outputs.plot)};
}

}  // namespace korvan::testing
