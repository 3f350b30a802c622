// study.csv: one row per variant, in the order of its values, with the
// parameter's value, the result code, the largest head load of the
// tip-movement curve, the head settlement under the design load, the head
// load at the settlement limit, and a note that says why a value is empty
// (for a stopped run, the engine's reason). Numbers in the project's units
// with "." as decimal separator. No Qt.
#pragma once

#include <string>
#include <vector>

#include "runner/study_outcome.h"

namespace korvan {

// The column headings, units included, in the order of the file.
std::vector<std::string> StudyTableHeadings(const TStudySettings& settings);

// The cells of one row; empty cells for values the variant has not.
std::vector<std::string> StudyTableRow(const TVariantOutcome& outcome);

// The whole file: headings and rows, comma-separated, a cell holding a
// comma, a quote or a line break quoted.
std::string StudyTableText(const std::vector<TVariantOutcome>& outcomes,
                           const TStudySettings& settings);

// A result as the table shows it: 5 significant digits, the precision of
// the plot data file.
std::string ResultText(double value);

}  // namespace korvan
