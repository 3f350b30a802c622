#include "XlsxWriter.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

#include "Exceptions.h"
#include "XlsxChartPages.h"
#include "XlsxLegend.h"

namespace korvan {

namespace {

[[noreturn]] void CannotWrite(const QString& fileName, const QString& reason) {
  throw EInOutError(QStringLiteral("The workbook could not be written to %1: %2")
                        .arg(QDir::toNativeSeparators(fileName), reason));
}

uint8_t LibraryChartType(int chartType) {
  switch (chartType) {
    case 74:  // XY scatter, straight lines with markers
      return LXW_CHART_SCATTER_STRAIGHT_WITH_MARKERS;
    default:
      return LXW_CHART_SCATTER;
  }
}

// One workbook being written: the library's handles and the texts they
// point to, kept until the workbook is closed.
class TLibraryWorkbook {
 public:
  TLibraryWorkbook(const TXlsxWorkbookModel& model, const QString& fileName)
      : fModel(model), fBook(workbook_new(Text(fileName))) {}
  ~TLibraryWorkbook() {
    if (fBook != nullptr) lxw_workbook_free(fBook);
  }
  TLibraryWorkbook(const TLibraryWorkbook&) = delete;
  TLibraryWorkbook& operator=(const TLibraryWorkbook&) = delete;

  bool Opened() const { return fBook != nullptr; }

  // Adds every sheet in order; false when the library refuses one.
  bool AddSheets() {
    for (const TXlsxSheet& sheet : fModel.Sheets)
      if (!(sheet.IsChart ? AddChartSheet(sheet) : AddWorksheet(sheet))) return false;
    return true;
  }

  lxw_error Close() {
    const lxw_error result = workbook_close(fBook);
    fBook = nullptr;  // closing frees the workbook
    return result;
  }

 private:
  const char* Text(const QString& text) { return fTexts.emplace_back(text.toUtf8()).constData(); }

  QString SheetName(int handle) const {
    for (const TXlsxSheet& sheet : fModel.Sheets)
      if (sheet.Handle == handle) return sheet.Name;
    return {};
  }

  lxw_format* CellFormat(const TXlsxCell& cell) {
    if (!cell.Bold && !cell.VerticalCentre) return nullptr;
    lxw_format*& format = fFormats[{cell.Bold, cell.VerticalCentre}];
    if (format == nullptr) {
      format = workbook_add_format(fBook);
      if (cell.Bold) format_set_bold(format);
      if (cell.VerticalCentre) format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    }
    return format;
  }

  bool AddWorksheet(const TXlsxSheet& sheet) {
    lxw_worksheet* ws = workbook_add_worksheet(fBook, Text(sheet.Name));
    if (ws == nullptr) return false;
    for (const auto& [column, width] : sheet.ColumnWidths)
      worksheet_set_column(ws, static_cast<lxw_col_t>(column - 1),
                           static_cast<lxw_col_t>(column - 1), width, nullptr);
    for (const auto& [at, cell] : sheet.Cells) {
      const auto row = static_cast<lxw_row_t>(at.first - 1);
      const auto col = static_cast<lxw_col_t>(at.second - 1);
      lxw_format* format = CellFormat(cell);
      lxw_error result = LXW_NO_ERROR;
      if (cell.Link) {
        const QString url =
            cell.Link->Address.isEmpty()
                ? QStringLiteral("internal:") + cell.Link->SubAddress
                : cell.Link->Address + (cell.Link->SubAddress.isEmpty()
                                            ? QString()
                                            : QStringLiteral("#") + cell.Link->SubAddress);
        const QString* text = std::get_if<QString>(&cell.Value);
        result = worksheet_write_url_opt(ws, row, col, Text(url), format,
                                         text != nullptr ? Text(*text) : nullptr, nullptr);
        if (result == LXW_NO_ERROR && text == nullptr)
          result = worksheet_write_number(ws, row, col, std::get<double>(cell.Value), format);
      } else if (const QString* text = std::get_if<QString>(&cell.Value)) {
        result = text->isEmpty() ? worksheet_write_blank(ws, row, col, format)
                                 : worksheet_write_string(ws, row, col, Text(*text), format);
      } else {
        result = worksheet_write_number(ws, row, col, std::get<double>(cell.Value), format);
      }
      if (result != LXW_NO_ERROR) return false;
    }
    if (sheet.Handle == fModel.ActiveHandle) worksheet_activate(ws);
    return true;
  }

  void SetAxis(lxw_chart_axis* axis, const TXlsxAxis& model) {
    if (model.HasTitle && !model.Title.isEmpty()) chart_axis_set_name(axis, Text(model.Title));
    chart_axis_major_gridlines_set_visible(axis, model.MajorGridlines ? LXW_TRUE : LXW_FALSE);
    if (model.Reverse) chart_axis_set_reverse(axis);
    // Each axis runs along the low edge of the other and labels its ticks
    // there, as the graph windows do, rather than through zero and over
    // the curves.
    chart_axis_set_crossing_min(axis);
    chart_axis_set_label_position(axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
  }

  bool AddChartSheet(const TXlsxSheet& sheet) {
    lxw_chartsheet* cs = workbook_add_chartsheet(fBook, Text(sheet.Name));
    if (cs == nullptr) return false;
    // Printed across the page, the chart as large as the page takes it.
    chartsheet_set_landscape(cs);
    chartsheet_set_margins(cs, kChartMarginInches, kChartMarginInches, kChartMarginInches,
                           kChartMarginInches);
    if (sheet.Handle == fModel.ActiveHandle) chartsheet_activate(cs);
    // A chart sheet left without series stays an empty sheet.
    if (sheet.Series.empty()) return true;
    lxw_chart* chart = workbook_add_chart(fBook, LibraryChartType(sheet.ChartType));
    if (chart == nullptr) return false;
    for (const TXlsxSeries& s : sheet.Series) {
      lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
      if (series == nullptr) return false;
      auto range = [this](const TXlsxColumnRange& r, auto set, lxw_chart_series* target) {
        const auto col = static_cast<lxw_col_t>(r.Column - 1);
        set(target, Text(SheetName(r.Sheet)), static_cast<lxw_row_t>(r.FirstRow - 1), col,
            static_cast<lxw_row_t>(r.LastRow - 1), col);
      };
      range(s.XValues, chart_series_set_categories, series);
      range(s.Values, chart_series_set_values, series);
      chart_series_set_name(series, Text(s.Name));
      if (!s.Markers) chart_series_set_marker_type(series, LXW_CHART_MARKER_NONE);
    }
    if (!sheet.HasTitle) chart_title_off(chart);
    SetAxis(chart->x_axis, sheet.CategoryAxis);
    SetAxis(chart->y_axis, sheet.ValueAxis);
    return chartsheet_set_chart(cs, chart) == LXW_NO_ERROR;
  }

  const TXlsxWorkbookModel& fModel;
  std::deque<QByteArray> fTexts;  // before fBook: the file name is one of them
  std::map<std::pair<bool, bool>, lxw_format*> fFormats;
  lxw_workbook* fBook;
};

// A new file beside the target, made with the permissions a new file gets
// (or those of the file it replaces), removed unless it replaced the target.
class TPartFile {
 public:
  explicit TPartFile(const QFileInfo& target) {
    for (int attempt = 0; attempt < kAttempts && fName.isEmpty(); ++attempt) {
      const QString name = target.absoluteDir().filePath(
          QStringLiteral(".%1.%2.part")
              .arg(target.fileName())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
      QFile file(name);
      if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) fName = name;
      if (attempt + 1 == kAttempts && fName.isEmpty())
        CannotWrite(target.filePath(), file.errorString());
    }
  }
  ~TPartFile() {
    if (!fName.isEmpty()) QFile::remove(fName);
  }
  TPartFile(const TPartFile&) = delete;
  TPartFile& operator=(const TPartFile&) = delete;

  const QString& Name() const { return fName; }

  void Replace(const QFileInfo& target) {
    if (target.exists())
      QFile::setPermissions(fName, QFile::permissions(target.absoluteFilePath()));
    if (std::rename(QFile::encodeName(fName).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
      CannotWrite(target.filePath(), QString::fromLocal8Bit(std::strerror(errno)));
    fName.clear();
  }

 private:
  static constexpr int kAttempts = 16;
  QString fName;
};

}  // namespace

void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const QString& fileName) {
  const QFileInfo target(fileName);
  if (!target.absoluteDir().exists())
    CannotWrite(fileName, QStringLiteral("the folder does not exist"));
  if (target.isDir()) CannotWrite(fileName, QStringLiteral("a folder has that name"));

  // The library writes the file whole at its close; it goes to a temporary
  // file beside the target, which replaces the target only when complete.
  TPartFile part(target);
  {
    TLibraryWorkbook book(model, part.Name());
    if (!book.Opened()) CannotWrite(fileName, QStringLiteral("the file cannot be created"));
    if (!book.AddSheets()) CannotWrite(fileName, QStringLiteral("a sheet cannot be made"));
    const lxw_error result = book.Close();
    if (result != LXW_NO_ERROR) CannotWrite(fileName, QString::fromUtf8(lxw_strerror(result)));
  }
  AddLegendFormats(model, part.Name());
  FitChartsToPages(part.Name());
  part.Replace(target);
}

}  // namespace korvan
