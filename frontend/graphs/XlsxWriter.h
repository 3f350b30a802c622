// Writes a workbook held in memory as an .xlsx file.
#pragma once

#include <QString>

#include "XlsxModel.h"

namespace korvan {

// Writes `model` to `fileName` through a temporary file in the same folder
// that replaces the file only when the whole workbook is written; on failure
// the folder is left as it was. Throws EInOutError.
void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const QString& fileName);

}  // namespace korvan
