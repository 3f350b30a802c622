// The Q-w factor window ("Enter Modifications Factors for Tip Resistance"):
// the multipliers of tip load and tip movement applied to the Q-w curve.
#pragma once

#include <QPointer>

#include "app/PropertyForm.h"

namespace korvan {

class TDataEdit;

class TQwFactorForm : public TPropertyForm {
  Q_OBJECT

 public:
  explicit TQwFactorForm(QWidget* parent = nullptr);

  // Creates the window on first use and shows it.
  static TQwFactorForm* Open();
  static TQwFactorForm* Instance();

  TDataEdit* QFactorEdit() const { return fQFactor; }
  TDataEdit* wFactorEdit() const { return fwFactor; }

 protected:
  void RefreshFields() override;
  void StoreFields() override;

 private:
  TDataEdit* fQFactor;
  TDataEdit* fwFactor;
};

}  // namespace korvan
