// The chart family: tables whose editor window adds a chart preview and file
// and clipboard transfer, with their own registries and the twins of the five
// column kinds. A chart table column carries a row's values over to the new
// sub-table when the row's template changes.
#pragma once

#include "model/ColumnTypes.h"

namespace korvan {

class TGridTableChart : public TGridTable {
 public:
  explicit TGridTableChart(QObject* owner = nullptr);

  bool VisibleChart() const { return fvisiblechart; }
  void SetVisibleChart(bool value) { fvisiblechart = value; }
  bool RowsOption() const { return frowsoption; }
  void SetRowsOption(bool value) { frowsoption = value; }
  int Xcolumn() const { return fXcolumn; }
  void SetXcolumn(int value) { fXcolumn = value; }
  int Ycolumn() const { return fYcolumn; }
  void SetYcolumn(int value) { fYcolumn = value; }
  int X2column() const { return fX2column; }
  void SetX2column(int value) { fX2column = value; }
  int Y2column() const { return fY2column; }
  void SetY2column(int value) { fY2column = value; }
  bool GetDataFromFile() const { return fGetDatafromFile; }
  void SetGetDataFromFile(bool value) { fGetDatafromFile = value; }
  bool OKCancelButtons() const { return fOKCancelButtons; }
  void SetOKCancelButtons(bool value) { fOKCancelButtons = value; }
  bool InvertedXAxis() const { return fInvertedXAxis; }
  void SetInvertedXAxis(bool value) { fInvertedXAxis = value; }
  bool InvertedYAxis() const { return fInvertedYAxis; }
  void SetInvertedYAxis(bool value) { fInvertedYAxis = value; }

 protected:
  TGridTable* NewTable(QObject* owner) const override;
  void CopySettingsFrom(const TGridTable& source) override;
  void WriteExtras(TValueWriter& writer) const override;
  void ReadExtras(TValueReader& reader) override;

 private:
  bool fvisiblechart = false;
  bool frowsoption = false;
  int fXcolumn = 0;
  int fYcolumn = 0;
  int fX2column = 0;
  int fY2column = 0;
  bool fGetDatafromFile = false;
  bool fOKCancelButtons = false;
  bool fInvertedXAxis = false;
  bool fInvertedYAxis = false;
};

class TEnumColumnChart : public TEnumColumn {
 public:
  using TEnumColumn::TEnumColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }
};

class TIntColumnChart : public TIntColumn {
 public:
  using TIntColumn::TIntColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }
};

class TFloatColumnChart : public TFloatColumn {
 public:
  using TFloatColumn::TFloatColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }
};

class TTableColumnChart : public TTableColumn {
 public:
  using TTableColumn::TTableColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }

 protected:
  void CarryOver(const TGridTable& previous, TGridTable& fresh) const override;
};

class TStringColumnChart : public TStringColumn {
 public:
  using TStringColumn::TStringColumn;
  static const TColumnClass& Class();
  const TColumnClass& ClassType() const override { return Class(); }
};

}  // namespace korvan
