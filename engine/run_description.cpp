#include "run_description.h"

#include <cctype>
#include <charconv>
#include <fstream>

namespace korvan {

namespace {

bool NextLine(std::ifstream& file, std::string& line) {
  if (!std::getline(file, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string Cut(const std::string& line, std::size_t length) {
  return line.substr(0, length);
}

std::string CutPath(const std::string& line) {
  std::string path = Cut(line, 255);
  while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) path.pop_back();
  return path;
}

// One integer in free format; the rest of the line is ignored.
bool ParseLeadingInteger(const std::string& line, Int& value) {
  std::size_t start = line.find_first_not_of(" \t,");
  if (start == std::string::npos) return false;
  const char* first = line.data() + start;
  if (*first == '+') ++first;
  const char* last = line.data() + line.size();
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && (end == last || *end == ' ' || *end == '\t' || *end == ',');
}

}  // namespace

bool ReadRunDescription(const std::string& path, RunDescription& names) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::string line;
  if (!NextLine(file, line)) return false;
  names.VERSION = Cut(line, 12);
  names.VERSION.resize(12, ' ');
  if (!NextLine(file, line)) return false;
  names.ORGANISATION = Cut(line, 256);
  if (!NextLine(file, line)) return false;
  names.LOCATION = Cut(line, 256);
  if (!NextLine(file, line) || !ParseLeadingInteger(line, names.IDNUMBER)) return false;
  for (std::string* target :
       {&names.DATAPATH, &names.REPORTPATH, &names.PLOTPATH, &names.NOTESPATH}) {
    if (!NextLine(file, line)) return false;
    *target = CutPath(line);
    if (target->empty()) return false;
  }
  return true;
}

}  // namespace korvan
