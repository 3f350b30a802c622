// "Active Curves": the user chooses which lines of a graph are active, that
// is listed in its legend and menu and drawn when visible.
#pragma once

#include <QDialog>
#include <vector>

class QListWidget;

namespace korvan {

class TGraphPlot;

// The "Active Curves" dialog, formerly TfrmActiveLines.
class TActiveLinesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TActiveLinesDialog(const TGraphPlot& graph, QWidget* parent = nullptr);

  // Each line's state as its row says now.
  std::vector<bool> ActiveFlags() const;

  QListWidget* List() const { return fList; }
  void FlipSelected();
  void SetAll(bool active);

 private:
  void SetRow(int row, bool active);
  bool RowActive(int row) const;

  QListWidget* fList;
  QStringList fNames;
};

}  // namespace korvan
