// "Export to Excel": writes the chosen result graphs into a workbook, one
// data sheet and one chart sheet per graph, with an index sheet.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;

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

// The workbook's default path: the data file's with the extension ".xlsx".
QString DefaultWorkbookName(const QString& projectFileName);

// Writes the graphs into the workbook `fileName` (never over one of the
// files of `projectFileName`, which may be empty) under the wait cursor,
// then opens it with `openWorkbook` (when set) and says where it went; a
// failure is shown instead.
void ExportGraphsAndTell(const std::vector<const TGraphPlot*>& graphs, bool markers,
                         const QString& fileName, const QString& projectFileName,
                         const std::function<void(const QString& fileName)>& openWorkbook);

// The export dialog, formerly TDlgExport.
class TExportDialog : public QDialog {
  Q_OBJECT

 public:
  using TEntrySource = std::function<TExportEntries()>;
  using TFileNameSource = std::function<QString()>;

  // `entries` is asked when the dialog becomes active; `projectFileName`
  // gives the data file whose name the workbook takes by default.
  TExportDialog(TEntrySource entries, TFileNameSource projectFileName, QWidget* parent = nullptr);
  ~TExportDialog() override;

  // The graph of list position i (1..6) as the dialog last listed it.
  TGraphPlot* GetPlotPt(int i) const;
  // Whether the menu command of list position i was enabled.
  bool GetMenuPt(int i) const;
  // Number of checked entries.
  int GetNPlots() const;
  // "Generate Excel File" only while an entry is checked.
  void CheckGenerateBtn();

  // Asks where the workbook goes (given the default path); empty when the
  // user cancels. Opens a written workbook in the desktop's program for it.
  // Both can be replaced, by tests for instance.
  std::function<QString(const QString& defaultName)> AskFileName;
  std::function<void(const QString& fileName)> OpenWorkbook;

  QListWidget* CheckListBoxPlots;
  QPushButton* SelectAllButton;    // "Select All"
  QPushButton* UnselectAllButton;  // "Unselect All"
  QPushButton* GenerateButton;     // "Generate Excel File"
  QPushButton* CloseButton;        // "Close Window"
  QCheckBox* MarkersCheckBox;      // "Add markers in plots"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormActivate();
  void CheckAll(bool checked);
  void GenerateButtonClick();
  QString AskFileNameInDialog(const QString& defaultName);

  TEntrySource fEntries;
  TFileNameSource fProjectFileName;
  TExportEntries fListed{};
};

}  // namespace korvan
