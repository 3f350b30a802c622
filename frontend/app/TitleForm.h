// The title window ("Project Title"): the project's one-line description,
// and the designer's name and a date that live only while the program runs.
#pragma once

#include <QPointer>

#include "app/PropertyForm.h"

class QLineEdit;

namespace korvan {

class TTitleForm : public TPropertyForm {
  Q_OBJECT

 public:
  explicit TTitleForm(QWidget* parent = nullptr);

  // Creates the window on first use and shows it.
  static TTitleForm* Open();
  static TTitleForm* Instance();

  QLineEdit* TitleEdit() const { return fTitle; }
  QLineEdit* NameEdit() const { return fName; }
  QLineEdit* DateEdit() const { return fDate; }

 protected:
  void RefreshFields() override;
  void StoreFields() override;

 private:
  QLineEdit* fTitle;
  QLineEdit* fName;
  QLineEdit* fDate;
};

}  // namespace korvan
