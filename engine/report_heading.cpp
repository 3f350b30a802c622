#include "report_heading.h"

#include <array>

namespace korvan {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January ", "February ", "March ",     "April ",   "May ",      "June ",
    "July ",    "August ",   "September ", "October ", "November ", "December "};

}  // namespace

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  std::size_t slash = path.find_last_of("/\\");
  if (slash != std::string_view::npos) {
    parts.directory = path.substr(0, slash + 1);
    path.remove_prefix(slash + 1);
  }
  parts.name = path;
  return parts;
}

void WriteReportHeading(RunContext& ctx, const std::tm& now) {
  OutputChannel& out = ctx.report;
  const RunDescription& names = ctx.names;
  const PathParts data = SplitPath(names.DATAPATH);

  out.Write(R"(5X, '='*73)");
  out.Write("");
  out.Write(R"(20X, "  KORVAN for Windows, Version ", A12)", {names.VERSION});
  out.Write("");
  out.Write(R"(20X, "  Identification Number ", I10)", {names.IDNUMBER});
  out.Write("");
  out.Write(R"(20X, "   A Program for Computing Load Vs Settlement ")");
  out.Write(R"(20X, "           For an Axially Loaded Pile ")");
  out.Write("");
  out.Write(R"(5X, '='*73)");
  out.Write("");
  out.Write("");
  out.Write(R"(5X, "This copy of the program is licensed to:")");
  out.Write("");
  out.Write("5X, A", {names.ORGANISATION});
  out.Write("5X, A", {names.LOCATION});
  out.Write("");
  out.Write(R"(5X, "Path to file locations      : ", A, A)", {data.drive, data.directory});
  out.Write(R"(5X, "Name of input data file     : ", A, A)", {data.name, ""});
  out.Write(R"(5X, "Name of output file         : ", A, A)",
            {SplitPath(names.REPORTPATH).name, ""});
  out.Write(R"(5X, "Name of plot output file    : ", A, A)", {SplitPath(names.PLOTPATH).name, ""});
  out.Write("");
  out.Write(R"(5X, '-'*73)");
  out.Write(R"(26X, "Time and Date of Analysis")");
  out.Write(R"(5X, '-'*73)");
  out.Write("");
  const int month = now.tm_mon >= 0 && now.tm_mon < 12 ? now.tm_mon : 0;
  out.Write(
      R"(15X, "Date:  ", A, " ", I2.2, ", ", I4, 5X, "Time:  ", I2.2, ":", I2.2, ":", I2.2)",
      {kMonthNames[month], now.tm_mday, now.tm_year + 1900, now.tm_hour, now.tm_min, now.tm_sec});
}

}  // namespace korvan
