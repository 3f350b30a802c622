// TTableChartForm: the editor window of a chart table. Beside the grid of
// TTableForm it shows a live chart of the values and, for tables that ask for
// it, reads rows of numbers from a text file or the clipboard and copies the
// rows to the clipboard.
#pragma once

#include <QCategoryAxis>
#include <QChartView>
#include <QLineEdit>
#include <QLineSeries>

#include "components/TableForm.h"
#include "model/ColumnTypesChart.h"

namespace korvan {

struct TAxisScale;

class TTableChartForm : public TTableForm {
  Q_OBJECT

 public:
  TTableChartForm(TGridTableChart& table, bool modal);

  // Redraws the preview from the table's values.
  void UpdateChart();

  QChartView* Chart1() const { return fChartView; }
  QLineSeries* Series1() const { return fSeries1; }
  QLineSeries* Series2() const { return fSeries2; }
  QCategoryAxis* BottomAxis() const { return fBottomAxis; }
  QCategoryAxis* LeftAxis() const { return fLeftAxis; }
  QLineEdit* FileNameEdit() const { return fFileNameEdit; }
  QPushButton* BtnEdit() const { return fBtnEdit; }
  QPushButton* BtnRead() const { return fBtnRead; }

  void BtnBrowseClick();
  void BtnEditClick();
  void BtnReadClick();
  void BtnClipClick();
  void BtnCpyClick();

 protected:
  int MaxRowsInView() const override;
  int PlaceAboveGrid(int gridWidth, int& right) override;
  int PlaceBelowButtons(int rowButtonsTop, int top, int& right) override;
  void ValuesChanged() override { UpdateChart(); }
  void mousePressEvent(QMouseEvent* event) override;

 private:
  // What reading lines of numbers into the table did.
  struct TLinesRead {
    int Filled = 0;       // rows filled
    int Matching = 0;     // lines with a number for every column
    QStringList Refused;  // lines left out, each named by its number
  };

  bool ChartShown() const;
  // Fills rows from the lines that hold a number for every column, up to the
  // table's most rows; a line holding a number the table cannot keep is left
  // out and named. The rows filled stay when reading stops early.
  TLinesRead ReadLines(const QStringList& lines);
  // Says what was left out: rows beyond the table's most rows (`verb` is
  // "copied" or "read") and the refused lines.
  QString DroppedText(const TLinesRead& read, const QString& verb) const;
  void FileNameChanged();
  static void ApplyAxis(QCategoryAxis& axis, const TAxisScale& scale);
  void FitAxisTitles();

  TGridTableChart& fTable;
  QChartView* fChartView;
  QChart* fChart;
  QLineSeries* fSeries1;
  QLineSeries* fSeries2;
  QCategoryAxis* fBottomAxis;
  QCategoryAxis* fLeftAxis;
  QFont fTitleFont;  // of an axis title that fits
  QWidget* fPaintBox;
  QLabel* fFileNameLabel;
  QLineEdit* fFileNameEdit;
  QPushButton* fBtnBrowse;
  QPushButton* fBtnEdit;
  QPushButton* fBtnRead;
  QPushButton* fBtnClip;
  QPushButton* fBtnCpy;
  QPushButton* fBtnOK;
  QPushButton* fBtnCancel;
};

}  // namespace korvan
