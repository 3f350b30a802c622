#include "components/TableEditors.h"

#include "components/TableChartForm.h"
#include "components/TableForm.h"
#include "model/ColumnTypesChart.h"

namespace korvan {

void InstallTableEditors() {
  PlainFamily().EditorFactory = [](TGridTable& table, bool modal) -> TTableEditor* {
    return new TTableForm(table, modal);
  };
  ChartFamily().EditorFactory = [](TGridTable& table, bool modal) -> TTableEditor* {
    if (auto* chart = dynamic_cast<TGridTableChart*>(&table))
      return new TTableChartForm(*chart, modal);
    return new TTableForm(table, modal);
  };
}

}  // namespace korvan
