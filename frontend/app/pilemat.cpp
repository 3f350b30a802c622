#include "pilemat.h"

#include <QFormLayout>
#include <QLabel>
#include <utility>

#include "DataEdit.h"
#include "DataUnit.h"

namespace korvan {

namespace {

QPointer<TQwFactorForm> gInstance;

}  // namespace

TQwFactorForm::TQwFactorForm(QWidget* parent)
    : TPropertyForm(parent), fQFactor(new TDataEdit), fwFactor(new TDataEdit) {
  setWindowTitle(QStringLiteral("Enter Modifications Factors for Tip Resistance"));
  auto* layout = new QFormLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  const std::pair<TDataEdit*, const char*> fields[] = {{fQFactor, "Q-multiplier"},
                                                       {fwFactor, "w-multiplier"}};
  for (const auto& [field, caption] : fields) {
    auto* label = new QLabel;
    layout->addRow(label, field);
    field->SetEditLabel(label);
    field->SetCaption(QString::fromLatin1(caption));
    field->SetNumber(1);
    WatchField(*field);
  }
}

TQwFactorForm* TQwFactorForm::Open() {
  return OpenSingleWindow(gInstance);
}

TQwFactorForm* TQwFactorForm::Instance() {
  return gInstance;
}

void TQwFactorForm::RefreshFields() {
  if (!ProgramData) return;
  fQFactor->SetNumber(ProgramData->QFactor);
  fwFactor->SetNumber(ProgramData->wFactor);
}

// The multipliers never mark the project changed.
void TQwFactorForm::StoreFields() {
  if (!ProgramData) return;
  const long double qFactor = fQFactor->Number();
  const long double wFactor = fwFactor->Number();
  ProgramData->QFactor = qFactor;
  ProgramData->wFactor = wFactor;
}

}  // namespace korvan
