// TInputTables: the project's input tables, which the main window owns. The
// soil layers, the user's t-z and Q-w curves, the pile stiffness, the tip
// movements, the head loads, the soil settlement and the t-z modification
// factors live here, together with the templates of the per-row sub-tables
// and the project-wide data-changed flag. The project model (DataUnit) and
// the headless runner use the whole set without any window.
//
// The templates are found by identifier in their family's registry, the
// earliest-created table first: keep one set alive at a time.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ColumnTypes.h"
#include "ColumnTypesChart.h"

namespace korvan {

class TInputTables {
 public:
  // Builds every table from its definition and applies the main window's
  // start-up settings (comments, hidden layer-data columns). Every table has
  // no rows until the project sets them.
  TInputTables();
  ~TInputTables();
  TInputTables(const TInputTables&) = delete;
  TInputTables& operator=(const TInputTables&) = delete;

  // Templates of the layer data (one per soil-type family) and of a t-z curve.
  TGridTableChart& tblDataClay2() const { return *ftblDataClay2; }
  TGridTableChart& tblDataSand2() const { return *ftblDataSand2; }
  TGridTableChart& tblDataClayAPI() const { return *ftblDataClayAPI; }
  TGridTableChart& tblDataSandAPI() const { return *ftblDataSandAPI; }
  TGridTableChart& TblTZCurves2() const { return *fTblTZCurves2; }

  TGridTableChart& D2() const { return *fD2; }
  TGridTableChart& TblTZDepth2() const { return *fTblTZDepth2; }
  TGridTableChart& TblQwcurve2() const { return *fTblQwcurve2; }
  TGridTableChart& TblSettlement2() const { return *fTblSettlement2; }
  TGridTableChart& TblTZFactors2() const { return *fTblTZFactors2; }
  TGridTableChart& TblAE2() const { return *fTblAE2; }
  TGridTable& TblTipMove() const { return *fTblTipMove; }
  TGridTable& TblTopload() const { return *fTblTopload; }

  // Every table, templates included, in the order they were created.
  const std::vector<TGridTable*>& AllTables() const { return fAll; }

  // Every table to `count` rows (0 or more), or up to at least its MinRows.
  void SetRowCounts(int count);
  void RaiseToMinRows();
  void SetUnits(int units);

  // The project-wide data-changed flag: set by the property windows, or by
  // any table edited in its editor window.
  bool GetDataChanged() const;
  void SetDataChanged(bool value);

  // Closes every child window: the table editors, and through OnHideAll the
  // main window's other child windows.
  void HideAll();
  std::function<void()> OnHideAll;

 private:
  void DefineTemplates();
  void DefineTables();
  void ApplyStartupSettings();
  template <class TTable>
  std::unique_ptr<TTable> Make();

  std::vector<TGridTable*> fAll;  // filled while the members below are built
  // Templates first: the tables copy them into their rows.
  std::unique_ptr<TGridTableChart> ftblDataClay2;
  std::unique_ptr<TGridTableChart> ftblDataSand2;
  std::unique_ptr<TGridTableChart> ftblDataClayAPI;
  std::unique_ptr<TGridTableChart> ftblDataSandAPI;
  std::unique_ptr<TGridTableChart> fTblTZCurves2;
  std::unique_ptr<TGridTableChart> fD2;
  std::unique_ptr<TGridTableChart> fTblTZDepth2;
  std::unique_ptr<TGridTableChart> fTblQwcurve2;
  std::unique_ptr<TGridTableChart> fTblSettlement2;
  std::unique_ptr<TGridTableChart> fTblTZFactors2;
  std::unique_ptr<TGridTableChart> fTblAE2;
  std::unique_ptr<TGridTable> fTblTipMove;
  std::unique_ptr<TGridTable> fTblTopload;
  bool FChanged = false;
};

}  // namespace korvan
