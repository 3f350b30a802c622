// "Graph Caption": the title the user gives a graph and whether it sits
// above or below it.
#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace korvan {

// The graph title dialog, formerly TfrmGraphCaption.
class TGraphCaptionDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TGraphCaptionDialog(QWidget* parent = nullptr);

  QString Caption() const;
  void SetCaption(const QString& caption);
  bool OnTop() const;
  void SetOnTop(bool onTop);

 private:
  QLineEdit* fEdit;
  QRadioButton* fTop;
  QRadioButton* fBottom;
};

}  // namespace korvan
