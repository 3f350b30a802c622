#include "model/InputTables.h"

#include <algorithm>

namespace korvan {

template <class TTable>
std::unique_ptr<TTable> TInputTables::Make() {
  auto table = std::make_unique<TTable>();
  fAll.push_back(table.get());
  return table;
}

TInputTables::TInputTables()
    : fClayLayerTemplate(Make<TGridTableChart>()),
      fSandLayerTemplate(Make<TGridTableChart>()),
      fClayApiLayerTemplate(Make<TGridTableChart>()),
      fSandApiLayerTemplate(Make<TGridTableChart>()),
      fTzCurveTemplate(Make<TGridTableChart>()),
      fSoilLayers(Make<TGridTableChart>()),
      fTzCurves(Make<TGridTableChart>()),
      fQwCurve(Make<TGridTableChart>()),
      fSoilSettlement(Make<TGridTableChart>()),
      fTzFactors(Make<TGridTableChart>()),
      fPileStiffness(Make<TGridTableChart>()),
      fTipMovements(Make<TGridTable>()),
      fHeadLoads(Make<TGridTable>()) {
  DefineTemplates();
  DefineTables();
  ApplyStartupSettings();
}

// The tables go before the templates their rows were copied from.
TInputTables::~TInputTables() = default;

void TInputTables::SetRowCounts(int count) {
  for (TGridTable* table : fAll) table->SetRowCount(count);
}

void TInputTables::RaiseToMinRows() {
  for (TGridTable* table : fAll) {
    if (table->RowCount() < table->MinRows()) table->SetRowCount(table->MinRows());
  }
}

void TInputTables::SetUnits(int units) {
  for (TGridTable* table : fAll) table->SetUnits(units);
}

bool TInputTables::GetDataChanged() const {
  return FChanged || std::any_of(fAll.begin(), fAll.end(),
                                 [](const TGridTable* table) { return table->Changed(); });
}

void TInputTables::SetDataChanged(bool value) {
  FChanged = value;
  if (!value) {
    for (TGridTable* table : fAll) table->ResetChanged();
  }
}

void TInputTables::HideAll() {
  emit hidingAll();
  for (TGridTable* table : fAll) table->Hide();
}

}  // namespace korvan
