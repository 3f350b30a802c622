// Writes a workbook held in memory as an .xlsx file.
#pragma once

#include <QString>
#include <filesystem>
#include <vector>

#include "graphs/XlsxModel.h"
#include "platform/safe_output.h"

namespace korvan {

// Writes `model` to `fileName` through a temporary file in the same folder
// that replaces the file only when the whole workbook is written; on failure
// the folder is left as it was. A target that is one of the `kept` files,
// that has the extension of a project's files, or that is read-only or no
// regular file is refused. Every text is written as a literal, made valid
// for XML (XmlText.h). Throws EInOutError naming the target.
void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const std::filesystem::path& fileName,
                       const std::vector<platform::TKeptFile>& kept = {});
void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const QString& fileName);

}  // namespace korvan
