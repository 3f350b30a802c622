#include "graphs/windows/SaveAttributesDialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "components/DataEdit.h"

namespace korvan {

namespace {

TDataEdit* NumberField(QWidget* parent, QFormLayout* form, const QString& caption,
                       long double value, long double minimum, bool integerOnly) {
  auto* label = new QLabel(parent);
  auto* field = new TDataEdit(parent);
  field->SetCaption(caption);
  field->SetEditLabel(label);
  field->SetIntegerOnly(integerOnly);
  field->SetMinVal(minimum);
  field->SetNumber(value);
  form->addRow(label, field);
  return field;
}

}  // namespace

TSaveAttributesDialog::TSaveAttributesDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Save Attributes"));
  const TPictureAttributes defaults;
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  fHeight = NumberField(this, form, QStringLiteral("&Height (in)"), defaults.HeightInches,
                        kMinPictureInches, false);
  fWidth = NumberField(this, form, QStringLiteral("&Width (in)"), defaults.WidthInches,
                       kMinPictureInches, false);
  fPixelsPerInch = NumberField(this, form, QStringLiteral("&Pixels Per Inch"),
                               defaults.PixelsPerInch, kMinPicturePixelsPerInch, true);
  layout->addLayout(form);

  auto* colors = new QGroupBox(QStringLiteral("Colors"), this);
  auto* choices = new QVBoxLayout(colors);
  for (const char* caption : {"Black and White", "16 Colors", "256 Colors", "High Color (16 bit)",
                              "True Color (24 bit)"}) {
    auto* choice = new QRadioButton(QString::fromLatin1(caption), colors);
    choices->addWidget(choice);
    fColors.push_back(choice);
  }
  fColors.at(static_cast<size_t>(defaults.Colors))->setChecked(true);
  layout->addWidget(colors);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  ok->setDefault(true);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TSaveAttributesDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPictureAttributes TSaveAttributesDialog::Attributes() const {
  TPictureAttributes attributes;
  attributes.HeightInches = fHeight->Number();
  attributes.WidthInches = fWidth->Number();
  attributes.PixelsPerInch = static_cast<int>(fPixelsPerInch->Number());
  for (size_t i = 0; i < fColors.size(); ++i)
    if (fColors[i]->isChecked()) attributes.Colors = static_cast<TPictureColors>(i);
  return attributes;
}

void TSaveAttributesDialog::accept() {
  // A field that refuses its entry keeps the dialog open.
  for (TDataEdit* field : {fHeight, fWidth, fPixelsPerInch})
    if (!field->CloseQuery()) return;
  QDialog::accept();
}

}  // namespace korvan
