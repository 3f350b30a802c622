// Arbitrary bytes as the "Col" stream of a grid table. Byte 0 chooses the
// family (even: plain, odd: chart) and the rows the table holds before it
// reads (its half modulo 4); the rest is the stream. The project's tables
// exist alongside, so that templates named in the stream are found as in
// the program. Reading ends with the columns or the table's error, never a
// crash. Columns that were read take rows and both unit systems, and write
// a stream that reads into a new table and writes again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

#include "model/ColumnTypesChart.h"
#include "model/InputTables.h"
#include "model/TableErrors.h"
#include "model/ValueStream.h"
#include "qt_fuzz_support.h"

namespace {

using korvan::TGridTable;
using korvan::TGridTableChart;

std::unique_ptr<TGridTable> NewTable(bool chart) {
  if (chart) return std::make_unique<TGridTableChart>();
  return std::make_unique<TGridTable>();
}

// Every heading and cell as the table shows them, sub-tables included.
void ShowEveryCell(const TGridTable& table) {
  for (int column = 0; column < table.ColCount(); ++column) {
    const korvan::TColumn& definition = table.GetColumn(column);
    for (int line = 0; line < definition.DisplayHeadingCount(); ++line) {
      definition.GetDisplayHeadings(line);
    }
    for (int row = 0; row < definition.Count(); ++row) {
      if (dynamic_cast<const korvan::TTableColumn*>(&definition)) {
        if (const TGridTable* sub = definition.GetDataValue(row)) ShowEveryCell(*sub);
      } else {
        definition.GetStringValue(row);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvan::fuzz::Require;
  if (size == 0) return 0;
  korvan::fuzz::EnsureApplication();
  static const korvan::TInputTables* const projectTables = new korvan::TInputTables();
  (void)projectTables;

  const bool chart = data[0] % 2 == 1;
  std::unique_ptr<TGridTable> table = NewTable(chart);
  table->SetRowCount(data[0] / 2 % 4);
  korvan::TValueReader reader(
      QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
  try {
    table->ReadColumns(reader);
  } catch (const korvan::EReadError&) {
    return 0;
  }

  try {
    table->SetRowCount(3);
  } catch (const korvan::ETableError&) {
    // A definition that cannot take rows says so (a top depth without its bottom).
  }
  table->SetUnits(2);
  table->SetUnits(1);
  ShowEveryCell(*table);
  korvan::TValueWriter writer;
  table->WriteColumns(writer);
  std::unique_ptr<TGridTable> copy = NewTable(chart);
  korvan::TValueReader written(writer.Bytes());
  try {
    copy->ReadColumns(written);
  } catch (const std::exception& error) {
    Require(false, "a written stream reads back", QString::fromUtf8(error.what()));
  }
  Require(written.AtEnd(), "a written stream is read to its end");
  korvan::TValueWriter again;
  copy->WriteColumns(again);
  Require(again.Bytes() == writer.Bytes(), "a stream read back writes the same bytes");
  return 0;
}
