#include "graphs/XlsxWriter.h"

#include <sys/mman.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <deque>
#include <map>

#include "graphs/XlsxChartPages.h"
#include "graphs/XlsxLegend.h"
#include "graphs/XmlText.h"
#include "graphs/ZipPackage.h"
#include "model/Exceptions.h"

namespace korvan {

namespace {

[[noreturn]] void CannotWrite(const std::filesystem::path& fileName, const QString& reason) {
  throw EInOutError(
      QStringLiteral("The workbook could not be written to %1: %2")
          .arg(QDir::toNativeSeparators(QFile::decodeName(fileName.c_str())), reason));
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
  TLibraryWorkbook(const TXlsxWorkbookModel& model, const std::filesystem::path& fileName)
      : fModel(model), fBook(workbook_new(fileName.c_str())) {}
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

  // Puts the texts of the chart names into the written charts in place of
  // their stand-ins.
  void PutChartTexts(std::vector<TZipEntry>& entries) const {
    for (TZipEntry& entry : entries) {
      if (!entry.Name.startsWith(QLatin1String("xl/charts/"))) continue;
      for (const auto& [standIn, text] : fChartTexts)
        entry.Data.replace(standIn, XmlSafeText(text).toHtmlEscaped().toUtf8());
    }
  }

 private:
  const char* Text(const QString& text) {
    return fTexts.emplace_back(XmlSafeText(text).toUtf8()).constData();
  }

  // The library takes a series name or axis title that begins with "=" as a
  // formula (and one such as "=Page_1!" sends it on without end): it is
  // given a stand-in of letters and digits, replaced by the literal text
  // once the package is written.
  const char* ChartText(const QString& text) {
    const QByteArray standIn = QStringLiteral("korvanchartext%1x").arg(fChartTexts.size()).toUtf8();
    fChartTexts.emplace_back(standIn, text);
    return fTexts.emplace_back(standIn).constData();
  }

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
    if (model.HasTitle && !model.Title.isEmpty()) chart_axis_set_name(axis, ChartText(model.Title));
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
      chart_series_set_name(series, ChartText(s.Name));
      if (!s.Markers) chart_series_set_marker_type(series, LXW_CHART_MARKER_NONE);
    }
    if (!sheet.HasTitle) chart_title_off(chart);
    SetAxis(chart->x_axis, sheet.CategoryAxis);
    SetAxis(chart->y_axis, sheet.ValueAxis);
    return chartsheet_set_chart(cs, chart) == LXW_NO_ERROR;
  }

  const TXlsxWorkbookModel& fModel;
  std::deque<QByteArray> fTexts;
  std::vector<std::pair<QByteArray, QString>> fChartTexts;  // stand-in, text
  std::map<std::pair<bool, bool>, lxw_format*> fFormats;
  lxw_workbook* fBook;
};

// The library writes its file by name, and says on standard error which
// file failed: it writes into a file in memory, and only the finished
// package goes to the temporary file beside the target, whose failures
// name the target.
class TMemoryFile {
 public:
  TMemoryFile() : fDescriptor(::memfd_create("workbook", MFD_CLOEXEC)) {}
  ~TMemoryFile() {
    if (fDescriptor >= 0) ::close(fDescriptor);
  }
  TMemoryFile(const TMemoryFile&) = delete;
  TMemoryFile& operator=(const TMemoryFile&) = delete;

  bool Opened() const { return fDescriptor >= 0; }
  std::filesystem::path Name() const { return "/proc/self/fd/" + std::to_string(fDescriptor); }

  // Everything written into it; false when it cannot be read.
  bool Read(QByteArray& bytes) const {
    char buffer[65536];
    for (off_t at = 0;;) {
      const ssize_t n = ::pread(fDescriptor, buffer, sizeof buffer, at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n == 0;
      bytes.append(buffer, n);
      at += n;
    }
  }

 private:
  int fDescriptor;
};

// The reason of a failed close: the system's when a write ran out of room.
QString CloseFailure(lxw_error result, int error) {
  if (error == ENOSPC || error == EFBIG || error == EDQUOT || error == EIO || error == ENOMEM)
    return QString::fromLocal8Bit(std::strerror(error));
  return QString::fromUtf8(lxw_strerror(result));
}

}  // namespace

void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const std::filesystem::path& fileName,
                       const std::vector<platform::TKeptFile>& kept) {
  // Checked and made before the workbook, so that a target refused costs
  // nothing.
  platform::TSafeOutput part(fileName, kept, platform::TProjectNames::kRefused);
  if (!part.Ready()) CannotWrite(fileName, QString::fromLocal8Bit(part.Reason()));
  const TMemoryFile memory;
  if (!memory.Opened()) CannotWrite(fileName, QString::fromLocal8Bit(std::strerror(errno)));
  TLibraryWorkbook book(model, memory.Name());
  if (!book.Opened()) CannotWrite(fileName, QStringLiteral("the file cannot be created"));
  if (!book.AddSheets()) CannotWrite(fileName, QStringLiteral("a sheet cannot be made"));
  errno = 0;
  const lxw_error result = book.Close();
  if (result != LXW_NO_ERROR) CannotWrite(fileName, CloseFailure(result, errno));
  QByteArray written;
  if (!memory.Read(written)) CannotWrite(fileName, QString::fromLocal8Bit(std::strerror(errno)));
  std::vector<TZipEntry> entries = ReadZipBytes(written, QFile::decodeName(fileName.c_str()));
  book.PutChartTexts(entries);
  AddLegendFormats(model, entries);
  FitChartsToPages(entries);
  const QByteArray bytes = ZipBytes(entries);
  if (!part.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) ||
      !part.Commit())
    CannotWrite(fileName, QString::fromLocal8Bit(part.Reason()));
}

void WriteXlsxWorkbook(const TXlsxWorkbookModel& model, const QString& fileName) {
  WriteXlsxWorkbook(model, QFile::encodeName(fileName).toStdString());
}

}  // namespace korvan
