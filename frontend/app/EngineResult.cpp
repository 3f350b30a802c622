#include "EngineResult.h"

namespace korvan {

namespace {

QString Meaning(std::int32_t code) {
  switch (code) {
    case 1:
      return QStringLiteral("the engine was called in a mode other than 4.");
    case 2:
      return QStringLiteral(
          "the run-description file names.dat is missing, incomplete or "
          "unreadable, or names a path the engine cannot use.");
    case 3:
      return QStringLiteral(
          "the project data file is missing or malformed, or holds a value the "
          "analysis cannot use (also when the solution reaches numbers beyond its "
          "range).");
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
      return QStringLiteral("the soil profile does not reach a depth the analysis needs.");
    case 9:
      return QStringLiteral(
          "the report, the plot data or the run-notes file cannot be created or written "
          "whole (a full disk, or an output that is the data file, another output or not a "
          "plain file).");
    default:
      return QStringLiteral("the engine returned an unknown result code.");
  }
}

}  // namespace

QString EngineResultMessage(std::int32_t code) {
  return QStringLiteral(
             "The analysis stopped (result code %1): %2\n"
             "Please, check output file for the details.")
      .arg(code)
      .arg(Meaning(code));
}

}  // namespace korvan
