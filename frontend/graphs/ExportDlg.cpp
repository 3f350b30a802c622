#include "ExportDlg.h"

namespace korvan {

TDlgExport::TDlgExport(TEntrySource entries, TFileNameSource projectFileName, QWidget* parent)
    : QDialog(parent), fEntries(std::move(entries)), fProjectFileName(std::move(projectFileName)) {
  setWindowTitle(QStringLiteral("Export to Excel"));
}

TDlgExport::~TDlgExport() = default;

}  // namespace korvan
