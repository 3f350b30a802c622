// The "Report Heading" dialog: who the report heading of every run names,
// the organisation, city and region, and the id number (a 32-bit whole
// number). A program setting, never part of the project.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

#include "runner/engine_runner.h"

class QLineEdit;

namespace korvan {

class TReportHeadingDialog : public QDialog {
  Q_OBJECT

 public:
  TReportHeadingDialog(const UserIdentification& user, QWidget* parent = nullptr);

  // The identification as entered; valid after the dialog was accepted.
  UserIdentification User() const;

  QLineEdit* OrganisationEdit() const { return fOrganisation; }
  QLineEdit* CityEdit() const { return fCity; }
  QLineEdit* RegionEdit() const { return fRegion; }
  QLineEdit* IdNumberEdit() const { return fIdNumber; }

  // Closes the dialog when the id number is a 32-bit whole number; else
  // says so and keeps it open with the number selected.
  void accept() override;

 private:
  QLineEdit* fOrganisation;
  QLineEdit* fCity;
  QLineEdit* fRegion;
  QLineEdit* fIdNumber;
};

// The id number of `text` (blanks around it allowed) when it is a whole
// number within the 32-bit range.
std::optional<std::int32_t> ReportIdNumber(const QString& text);

}  // namespace korvan
