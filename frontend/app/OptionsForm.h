// The options window ("Control Options"): the program that opens the text
// files, typed or chosen with Browse. A program setting, never part of the
// project.
#pragma once

#include <QPointer>

#include "app/PropertyForm.h"

class QFileDialog;
class QLineEdit;
class QPushButton;

namespace korvan {

class TOptionsForm : public TPropertyForm {
  Q_OBJECT

 public:
  explicit TOptionsForm(QWidget* parent = nullptr);

  // Creates the window on first use and shows it.
  static TOptionsForm* Open();
  static TOptionsForm* Instance();

  QLineEdit* TextEditorEdit() const { return fTextEditor; }
  QPushButton* BrowseButton() const { return fBrowse; }

 protected:
  void RefreshFields() override;
  void StoreFields() override;

 private:
  void BrowseClick();
  void ProgramFilterSelected(const QString& filter);

  QLineEdit* fTextEditor;
  QPushButton* fBrowse;
  QPointer<QFileDialog> fDialog;
};

}  // namespace korvan
