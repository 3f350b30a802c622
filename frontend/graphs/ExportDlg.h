// "Export to Excel": writes the chosen result graphs into a workbook, one
// data sheet and one chart sheet per graph, with an index sheet.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

namespace korvan {

class TGraphPlot;

// One exportable graph and whether its Graphics-menu command is enabled.
struct TExportEntry {
  TGraphPlot* Plot = nullptr;
  bool Enabled = false;
};

// The six exportable graphs in list order: load distribution, displacement
// distribution, displacement/soil settlement, axial load vs settlement,
// t-z curves, tip resistance curve.
using TExportEntries = std::array<TExportEntry, 6>;

class TDlgExport : public QDialog {
  Q_OBJECT

 public:
  using TEntrySource = std::function<TExportEntries()>;
  using TFileNameSource = std::function<QString()>;

  // `entries` is asked when the dialog becomes active; `projectFileName`
  // gives the data file whose name the workbook takes by default.
  TDlgExport(TEntrySource entries, TFileNameSource projectFileName, QWidget* parent = nullptr);
  ~TDlgExport() override;

 private:
  TEntrySource fEntries;
  TFileNameSource fProjectFileName;
};

}  // namespace korvan
