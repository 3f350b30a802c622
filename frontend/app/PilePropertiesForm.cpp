#include "app/PilePropertiesForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "components/DataEdit.h"
#include "model/Exceptions.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"

namespace korvan {

namespace {

QPointer<TPilePropertiesForm> gInstance;

struct TFieldDefinition {
  const char* caption;
  const char* unitsCode;
  long double maxVal;
};

}  // namespace

TPilePropertiesForm::TPilePropertiesForm(QWidget* parent)
    : TPropertyForm(parent),
      fTolerance(new TDataEdit),
      fTipArea(new TDataEdit),
      fIncrements(new TDataEdit),
      fLength(new TDataEdit),
      fDiameter(new TDataEdit),
      fHead(new TDataEdit),
      fTip(new TDataEdit),
      fStiffness(new QPushButton(QStringLiteral("Edit AE vs. Depth Data"))) {
  setWindowTitle(QStringLiteral("Pile Properties"));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* fields = new QGridLayout;
  layout->addLayout(fields);
  const std::pair<TDataEdit*, TFieldDefinition> definitions[] = {
      {fTolerance, {"Tolerance", "L", 1}},
      {fTipArea, {"Area of Pile Tip", "L²", 1E9L}},
      {fIncrements, {"Number of Increments", "", 500}},
      {fLength, {"Total Pile Length", "L", 1E6L}},
      {fDiameter, {"Outer Diameter", "L", 1E6L}},
      {fHead, {"Pile Head Coord.*", "L", 1E6L}},
      {fTip, {"Pile Tip Coord.", "L", 1E6L}},
  };
  for (const auto& [field, definition] : definitions) {
    auto* label = new QLabel;
    const int row = fields->rowCount();
    fields->addWidget(label, row, 0);
    fields->addWidget(field, row, 1);
    field->SetEditLabel(label);
    field->SetCaption(QString::fromUtf8(definition.caption));
    field->SetUnitsString(QString::fromUtf8(definition.unitsCode));
    field->SetMaxVal(definition.maxVal);
    WatchField(*field);
  }
  fTolerance->SetMinVal(1E-9L);
  fTolerance->SetNumber(1E-5L);
  fIncrements->SetIntegerOnly(true);
  fIncrements->SetMinVal(10);
  fIncrements->SetNumber(50);
  fTip->setReadOnly(true);
  fTip->setEnabled(false);

  for (const char* note :
       {"* Notes for Pile Head Coordinate:", "- Enter (0) if pile head on ground",
        "- Enter (+) if pile head below ground", "- Enter (-) if pile head above ground"}) {
    layout->addWidget(new QLabel(QString::fromUtf8(note)));
  }
  fStiffness->setToolTip(QStringLiteral("Enter pile stiffness versus depth"));
  layout->addWidget(fStiffness);

  connect(fLength, &QLineEdit::textChanged, this, &TPilePropertiesForm::UpdateTipCoordinate);
  connect(fHead, &QLineEdit::textChanged, this, &TPilePropertiesForm::UpdateTipCoordinate);
  connect(fStiffness, &QPushButton::clicked, this, &TPilePropertiesForm::EditStiffnessClick);
}

TPilePropertiesForm* TPilePropertiesForm::Open() {
  return OpenSingleWindow(gInstance);
}

TPilePropertiesForm* TPilePropertiesForm::Instance() {
  return gInstance;
}

void TPilePropertiesForm::RefreshOpenWindow() {
  if (gInstance) gInstance->Refresh();
}

void TPilePropertiesForm::RefreshFields() {
  if (!ProgramData) return;
  // The fields show lengths in the project's unit system: a switch shows
  // them again.
  connect(ProgramData.get(), &TProgramData::unitsChanged, this, &TPilePropertiesForm::Refresh,
          Qt::UniqueConnection);
  const TProgramData& data = *ProgramData;
  for (TDataEdit* field : {fTolerance, fTipArea, fIncrements, fLength, fDiameter, fHead, fTip}) {
    field->SetUnits(data.fUnits);
  }
  fLength->SetNumber(data.PLength);
  fHead->SetNumber(data.HeadCoord);
  fDiameter->SetNumber(data.OD);
  fTipArea->SetNumber(data.Tiparea);
  fTolerance->SetNumber(data.Tolerance);
  fIncrements->SetNumber(data.NINC);
  fTip->SetNumber(data.HeadCoord + data.PLength);
}

void TPilePropertiesForm::StoreFields() {
  if (!ProgramData) return;
  TProgramData& data = *ProgramData;
  // Every text is evaluated before anything is stored.
  const long double length = FieldValue(*fLength, data.PLength);
  const long double head = FieldValue(*fHead, data.HeadCoord);
  const long double diameter = FieldValue(*fDiameter, data.OD);
  const long double tipArea = FieldValue(*fTipArea, data.Tiparea);
  const long double tolerance = FieldValue(*fTolerance, data.Tolerance);
  const int increments = static_cast<int>(std::lround(FieldValue(*fIncrements, data.NINC)));
  const bool changed = length != data.PLength || head != data.HeadCoord || diameter != data.OD ||
                       tipArea != data.Tiparea || tolerance != data.Tolerance ||
                       increments != data.NINC;
  data.PLength = length;
  data.HeadCoord = head;
  data.OD = diameter;
  data.Tiparea = tipArea;
  data.Tolerance = tolerance;
  data.NINC = increments;
  if (changed) MarkProjectChanged();
}

// A minus sign being typed (a text ending in "-") is no number yet; nor is
// any other unfinished entry.
void TPilePropertiesForm::UpdateTipCoordinate() {
  if (fHead->text().endsWith(QLatin1Char('-'))) return;
  try {
    fTip->SetNumber(fHead->Number() + fLength->Number());
  } catch (const EAssignError&) {
    // The field's own check reports the entry when the user leaves it.
  }
}

void TPilePropertiesForm::EditStiffnessClick() {
  if (ProgramData) ProgramData->Tables().PileStiffness().Show();
}

}  // namespace korvan
