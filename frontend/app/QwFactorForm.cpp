#include "app/QwFactorForm.h"

#include <QFormLayout>
#include <QLabel>
#include <utility>

#include "components/DataEdit.h"
#include "model/ProgramData.h"

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

void TQwFactorForm::StoreFields() {
  if (!ProgramData) return;
  TProgramData& data = *ProgramData;
  const long double qFactor = FieldValue(*fQFactor, data.QFactor);
  const long double wFactor = FieldValue(*fwFactor, data.wFactor);
  const bool changed = qFactor != data.QFactor || wFactor != data.wFactor;
  data.QFactor = qFactor;
  data.wFactor = wFactor;
  if (changed) MarkProjectChanged();
}

}  // namespace korvan
