#include "app/ReportHeadingDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QTimer>
#include <limits>

#include "platform/qt/message_box.h"

namespace korvan {

namespace {

// The engine writes each text on a line of the heading of its own.
constexpr int kMaxTextLength = 60;

QLineEdit* TextEdit(const std::string& text, QWidget* parent) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setMaxLength(kMaxTextLength);
  return edit;
}

}  // namespace

std::optional<std::int32_t> ReportIdNumber(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

TReportHeadingDialog::TReportHeadingDialog(const UserIdentification& user, QWidget* parent)
    : QDialog(parent),
      fOrganisation(TextEdit(user.organisation, this)),
      fCity(TextEdit(user.city, this)),
      fRegion(TextEdit(user.region, this)),
      fIdNumber(new QLineEdit(QString::number(user.idNumber), this)) {
  setWindowTitle(QStringLiteral("Report Heading"));
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("&Organisation:"), fOrganisation);
  form->addRow(QStringLiteral("&City:"), fCity);
  form->addRow(QStringLiteral("&Region:"), fRegion);
  form->addRow(QStringLiteral("&Id number:"), fIdNumber);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TReportHeadingDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
  fOrganisation->setMinimumWidth(fOrganisation->fontMetrics().averageCharWidth() * 40);
}

UserIdentification TReportHeadingDialog::User() const {
  UserIdentification user;
  user.organisation = fOrganisation->text().toStdString();
  user.city = fCity->text().toStdString();
  user.region = fRegion->text().toStdString();
  user.idNumber = ReportIdNumber(fIdNumber->text()).value_or(0);
  return user;
}

void TReportHeadingDialog::accept() {
  if (!ReportIdNumber(fIdNumber->text())) {
    platform::ShowInformation(QStringLiteral("The id number must be a whole number from %1 to %2.")
                                  .arg(std::numeric_limits<std::int32_t>::min())
                                  .arg(std::numeric_limits<std::int32_t>::max()));
    fIdNumber->setFocus();
    fIdNumber->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace korvan
