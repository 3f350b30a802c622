// What a table holds, exactly: the editor windows compare it before and
// after an edit, so that only an edit that changed a stored value marks the
// table changed.
#pragma once

#include <QString>
#include <vector>

namespace korvan {

class TColumn;
class TGridTable;

// A real as stored (not as shown), anything else as its text. Sub-tables
// keep their own changed flags and are left out.
struct TCellValue {
  long double Number = 0;
  QString Text;
  bool operator==(const TCellValue&) const = default;
};

TCellValue CellValue(const TColumn& column, int row);

// The row count, then every cell column by column.
std::vector<TCellValue> TableValues(const TGridTable& table);

}  // namespace korvan
