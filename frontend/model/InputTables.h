// TInputTables: the project's input tables, which the main window owns. The
// soil layers, the user's t-z and Q-w curves, the pile stiffness, the tip
// movements, the head loads, the soil settlement and the t-z modification
// factors live here, together with the templates of the per-row sub-tables
// and the project-wide data-changed flag. The project data (ProgramData) and
// the headless runner use the whole set without any window.
//
// The templates are found by identifier in their family's registry, the
// earliest-created table first: keep one set alive at a time.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "model/ColumnTypes.h"
#include "model/ColumnTypesChart.h"

namespace korvan {

class TInputTables : public QObject {
  Q_OBJECT

 public:
  // Builds every table from its definition and applies the main window's
  // start-up settings (comments, hidden layer-data columns). Every table has
  // no rows until the project sets them.
  TInputTables();
  ~TInputTables();
  TInputTables(const TInputTables&) = delete;
  TInputTables& operator=(const TInputTables&) = delete;

  // Templates of the layer data (one per soil-type family) and of a t-z
  // curve; formerly tblDataClay2, tblDataSand2, tblDataClayAPI,
  // tblDataSandAPI and TblTZCurves2.
  TGridTableChart& ClayLayerTemplate() const { return *fClayLayerTemplate; }
  TGridTableChart& SandLayerTemplate() const { return *fSandLayerTemplate; }
  TGridTableChart& ClayApiLayerTemplate() const { return *fClayApiLayerTemplate; }
  TGridTableChart& SandApiLayerTemplate() const { return *fSandApiLayerTemplate; }
  TGridTableChart& TzCurveTemplate() const { return *fTzCurveTemplate; }

  // The project's tables; each comment gives the table's former name.
  TGridTableChart& SoilLayers() const { return *fSoilLayers; }          // D2
  TGridTableChart& TzCurves() const { return *fTzCurves; }              // TblTZDepth2
  TGridTableChart& QwCurve() const { return *fQwCurve; }                // TblQwcurve2
  TGridTableChart& SoilSettlement() const { return *fSoilSettlement; }  // TblSettlement2
  TGridTableChart& TzFactors() const { return *fTzFactors; }            // TblTZFactors2
  TGridTableChart& PileStiffness() const { return *fPileStiffness; }    // TblAE2
  TGridTable& TipMovements() const { return *fTipMovements; }           // TblTipMove
  TGridTable& HeadLoads() const { return *fHeadLoads; }                 // TblTopload

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

  // Closes every child window: the table editors, and through hidingAll the
  // main window's other child windows.
  void HideAll();

 signals:
  // Every child window is to close: the windows that are not table editors
  // close on it.
  void hidingAll();

 private:
  void DefineTemplates();
  void DefineTables();
  void ApplyStartupSettings();
  template <class TTable>
  std::unique_ptr<TTable> Make();

  std::vector<TGridTable*> fAll;  // filled while the members below are built
  // Templates first: the tables copy them into their rows.
  std::unique_ptr<TGridTableChart> fClayLayerTemplate;
  std::unique_ptr<TGridTableChart> fSandLayerTemplate;
  std::unique_ptr<TGridTableChart> fClayApiLayerTemplate;
  std::unique_ptr<TGridTableChart> fSandApiLayerTemplate;
  std::unique_ptr<TGridTableChart> fTzCurveTemplate;
  std::unique_ptr<TGridTableChart> fSoilLayers;
  std::unique_ptr<TGridTableChart> fTzCurves;
  std::unique_ptr<TGridTableChart> fQwCurve;
  std::unique_ptr<TGridTableChart> fSoilSettlement;
  std::unique_ptr<TGridTableChart> fTzFactors;
  std::unique_ptr<TGridTableChart> fPileStiffness;
  std::unique_ptr<TGridTable> fTipMovements;
  std::unique_ptr<TGridTable> fHeadLoads;
  bool FChanged = false;
};

}  // namespace korvan
