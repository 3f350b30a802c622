// The pile-properties window ("Pile Properties"): tolerance, tip area,
// number of increments, length, outer diameter and head coordinate, each
// labelled with its unit in the project's system, the tip coordinate that
// follows from them, and the button that opens the stiffness table.
#pragma once

#include <QPointer>

#include "app/PropertyForm.h"

class QPushButton;

namespace korvan {

class TDataEdit;

class TPilePropertiesForm : public TPropertyForm {
  Q_OBJECT

 public:
  explicit TPilePropertiesForm(QWidget* parent = nullptr);

  // Creates the window on first use and shows it.
  static TPilePropertiesForm* Open();
  static TPilePropertiesForm* Instance();
  // Reloads an open window from the project (after a switch of units).
  static void RefreshOpenWindow();

  TDataEdit* ToleranceEdit() const { return fTolerance; }
  TDataEdit* TipAreaEdit() const { return fTipArea; }
  TDataEdit* IncrementsEdit() const { return fIncrements; }
  TDataEdit* LengthEdit() const { return fLength; }
  TDataEdit* DiameterEdit() const { return fDiameter; }
  TDataEdit* HeadEdit() const { return fHead; }
  TDataEdit* TipEdit() const { return fTip; }
  QPushButton* StiffnessButton() const { return fStiffness; }

 protected:
  void RefreshFields() override;
  void StoreFields() override;

 private:
  void UpdateTipCoordinate();
  void EditStiffnessClick();

  TDataEdit* fTolerance;
  TDataEdit* fTipArea;
  TDataEdit* fIncrements;
  TDataEdit* fLength;
  TDataEdit* fDiameter;
  TDataEdit* fHead;
  TDataEdit* fTip;
  QPushButton* fStiffness;
};

}  // namespace korvan
