// "Legend": the user renames the lines of a graph, active or not. A name
// is edited in the box below the list and stored when Enter is pressed or
// the box is left; an empty name is refused.
#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace korvan {

class TGraphPlot;

// The legend texts dialog, formerly TfrmLineNames.
class TLineNamesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TLineNamesDialog(const TGraphPlot& graph, QWidget* parent = nullptr);

  // Every line's name as the list holds it now.
  QStringList Names() const;

  QListWidget* List() const { return fList; }
  QLineEdit* Edit() const { return fEdit; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectName(int row);
  void StoreName();

  QListWidget* fList;
  QLineEdit* fEdit;
};

}  // namespace korvan
