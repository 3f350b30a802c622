#include "run_description.h"

#include <cctype>
#include <charconv>
#include <string_view>

#include "file_access.h"
#include "text_cut.h"

namespace korvan {

namespace {

// Far more than eight lines of paths and names can need.
constexpr std::size_t kMaxRunDescriptionSize = 1 << 20;

class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}
  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

 private:
  std::string_view rest_;
};

// Names are read as fixed-width text: trailing blanks are padding.
std::string_view TrimmedRight(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

// One integer in free format; the rest of the line is ignored.
bool ParseLeadingInteger(std::string_view line, Int& value) {
  std::size_t start = line.find_first_not_of(" \t,");
  if (start == std::string_view::npos) return false;
  const char* first = line.data() + start;
  if (*first == '+') ++first;
  const char* last = line.data() + line.size();
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && (end == last || *end == ' ' || *end == '\t' || *end == ',');
}

bool Refuse(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return false;
}

}  // namespace

bool ReadRunDescription(const std::string& path, RunDescription& names, std::string* why) {
  std::string text;
  switch (ReadRegularFile(path, kMaxRunDescriptionSize, text)) {
    case FileReadStatus::kRead:
      break;
    case FileReadStatus::kNotRegular:
      return Refuse(why, "THE RUN DESCRIPTION " + path + " IS NOT A REGULAR FILE");
    case FileReadStatus::kTooLarge:
      return Refuse(why, "THE RUN DESCRIPTION " + path + " IS TOO LARGE TO BE ONE");
    default:
      return Refuse(why, "THE RUN DESCRIPTION " + path + " CANNOT BE READ");
  }
  const std::string incomplete = "THE RUN DESCRIPTION " + path + " IS INCOMPLETE";
  Lines lines(text);
  std::string_view line;
  if (!lines.Next(line)) return Refuse(why, incomplete);
  names.VERSION = line.substr(0, 12);
  names.VERSION.resize(12, ' ');
  if (!lines.Next(line)) return Refuse(why, incomplete);
  names.ORGANISATION = CutAtCharacter(line, 256);
  if (!lines.Next(line)) return Refuse(why, incomplete);
  names.LOCATION = CutAtCharacter(line, 256);
  if (!lines.Next(line) || !ParseLeadingInteger(line, names.IDNUMBER)) {
    return Refuse(why, "LINE 4 OF THE RUN DESCRIPTION IS NO 32-BIT IDENTIFICATION NUMBER");
  }
  int number = 5;
  for (std::string* target :
       {&names.DATAPATH, &names.REPORTPATH, &names.PLOTPATH, &names.NOTESPATH}) {
    const std::string lineName = "LINE " + std::to_string(number++) + " OF THE RUN DESCRIPTION";
    if (!lines.Next(line)) return Refuse(why, incomplete);
    const std::string_view path = TrimmedRight(line);
    if (path.empty()) return Refuse(why, lineName + " HOLDS NO PATH");
    if (path.find('\0') != std::string_view::npos) {
      return Refuse(why, lineName + " HOLDS A NUL CHARACTER");
    }
    if (path.size() > kMaxPathLength) {
      return Refuse(why, lineName + " IS A PATH OF MORE THAN " + std::to_string(kMaxPathLength) +
                             " CHARACTERS");
    }
    *target = path;
  }
  return true;
}

}  // namespace korvan
