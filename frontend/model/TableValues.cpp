#include "model/TableValues.h"

#include "model/ColumnTypes.h"

namespace korvan {

TCellValue CellValue(const TColumn& column, int row) {
  if (dynamic_cast<const TFloatColumn*>(&column) != nullptr) {
    return {column.GetFloatValue(row), {}};
  }
  return {0, column.GetStringValue(row)};
}

std::vector<TCellValue> TableValues(const TGridTable& table) {
  std::vector<TCellValue> values{{static_cast<long double>(table.RowCount()), {}}};
  for (int c = 0; c < table.ColCount(); ++c) {
    const TColumn& column = table.GetColumn(c);
    for (int row = 0; row < column.Count(); ++row) values.push_back(CellValue(column, row));
  }
  return values;
}

}  // namespace korvan
