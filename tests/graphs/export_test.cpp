// The spreadsheet export: column letters and axis titles, the calls that
// reach the spreadsheet and their order, the workbook written as .xlsx and
// read back, failures that leave files alone, and the dialog.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "graph_fixtures.h"
#include "graphs/ExportPlots.h"
#include "graphs/XlsxAutomation.h"
#include "graphs/XlsxChartPages.h"
#include "graphs/ZipPackage.h"
#include "graphs/windows/ExportDialog.h"
#include "support/message_capture.h"

namespace korvan {
namespace {

// Forwards every call to the workbook backend and notes it, with what the
// queries answered, in the spreadsheet's own terms.
class TRecordingExcel : public TSpreadsheetAutomation {
 public:
  std::vector<std::string> Log;
  TXlsxAutomation Real;

  void SetVisible(bool v) override { Note("Visible := %1", v), Real.SetVisible(v); }
  void SetUserControl(bool v) override { Note("UserControl := %1", v), Real.SetUserControl(v); }
  void WorkbooksAdd() override { Note("Workbooks.Add"), Real.WorkbooksAdd(); }
  TSheet ActiveSheet() override { return Answer("ActiveSheet", Real.ActiveSheet()); }
  TSheet Sheets(int p) override { return Answer(Text("Sheets(%1)", p), Real.Sheets(p)); }
  int SheetsCount() override { return Answer("Sheets.Count", Real.SheetsCount()); }
  void SheetsAdd(TSheet after, int type) override {
    Note("Sheets.Add(After %1, %2)", after, type), Real.SheetsAdd(after, type);
  }
  void SaveAs(const QString& f) override { Note("SaveAs"), Real.SaveAs(f); }
  void SetName(TSheet s, const QString& n) override {
    Note("%1.Name := %2", s, n), Real.SetName(s, n);
  }
  QString Name(TSheet s) override {
    const QString name = Real.Name(s);
    Note("%1.Name -> %2", s, name);
    return name;
  }
  void Activate(TSheet s) override { Note("%1.Activate", s), Real.Activate(s); }
  void Move(TSheet s, TSheet a) override { Note("%1.Move(After %2)", s, a), Real.Move(s, a); }
  void SetCellText(TSheet s, int r, int c, const QString& t) override {
    Note("%1.Cells[%2,%3] := '%4'", s, r, c, t), Real.SetCellText(s, r, c, t);
  }
  void SetCellValue(TSheet s, int r, int c, double v) override {
    Note("%1.Cells[%2,%3].Value := %4", s, r, c, v), Real.SetCellValue(s, r, c, v);
  }
  void RangeFontBold(TSheet s, const QString& r, bool b) override {
    Note("%1.Range(%2).Font.Bold := %3", s, r, b), Real.RangeFontBold(s, r, b);
  }
  void RangeVerticalAlignment(TSheet s, const QString& r, int a) override {
    Note("%1.Range(%2).VerticalAlignment := %3", s, r, a), Real.RangeVerticalAlignment(s, r, a);
  }
  void RangeEntireColumnAutoFit(TSheet s, const QString& r) override {
    Note("%1.Range(%2).EntireColumn.AutoFit", s, r), Real.RangeEntireColumnAutoFit(s, r);
  }
  void HyperlinksAdd(TSheet s, const QString& r, const QString& a, const QString& sub) override {
    Note("%1.Hyperlinks.Add(%2, '%3', %4)", s, r, a, sub), Real.HyperlinksAdd(s, r, a, sub);
  }
  void SetChartType(TSheet c, int t) override {
    Note("%1.ChartType := %2", c, t), Real.SetChartType(c, t);
  }
  void SetSourceData(TSheet c, TSheet d, const QString& r, int by) override {
    Note("%1.SetSourceData(%2.Range(%3), %4)", c, d, r, by), Real.SetSourceData(c, d, r, by);
  }
  void SetHasTitle(TSheet c, bool h) override {
    Note("%1.HasTitle := %2", c, h), Real.SetHasTitle(c, h);
  }
  void SeriesName(TSheet c, int j, const QString& n) override {
    Note("%1.SeriesCollection(%2).Name := %3", c, j, n), Real.SeriesName(c, j, n);
  }
  void SeriesXValues(TSheet c, int j, const QString& f) override {
    Note("%1.SeriesCollection(%2).XValues := %3", c, j, f), Real.SeriesXValues(c, j, f);
  }
  void SeriesValues(TSheet c, int j, const QString& f) override {
    Note("%1.SeriesCollection(%2).Values := %3", c, j, f), Real.SeriesValues(c, j, f);
  }
  void SeriesMarkerStyle(TSheet c, int j, int m) override {
    Note("%1.SeriesCollection(%2).MarkerStyle := %3", c, j, m), Real.SeriesMarkerStyle(c, j, m);
  }
  void AxisHasTitle(TSheet c, int t, int g, bool h) override {
    Note("%1.Axes(%2,%3).HasTitle := %4", c, t, g, h), Real.AxisHasTitle(c, t, g, h);
  }
  void AxisTitleText(TSheet c, int t, int g, const QString& x) override {
    Note("%1.Axes(%2,%3).AxisTitle.Text := %4", c, t, g, x), Real.AxisTitleText(c, t, g, x);
  }
  void AxisHasMajorGridlines(TSheet c, int t, int g, bool h) override {
    Note("%1.Axes(%2,%3).HasMajorGridlines := %4", c, t, g, h),
        Real.AxisHasMajorGridlines(c, t, g, h);
  }
  void AxisReversePlotOrder(TSheet c, int t, int g, bool r) override {
    Note("%1.Axes(%2,%3).ReversePlotOrder := %4", c, t, g, r),
        Real.AxisReversePlotOrder(c, t, g, r);
  }
  void LegendBorderColor(TSheet c, int v) override {
    Note("%1.Legend.Border.Color := %2", c, v), Real.LegendBorderColor(c, v);
  }
  void LegendInteriorColorIndex(TSheet c, int v) override {
    Note("%1.Legend.Interior.ColorIndex := %2", c, v), Real.LegendInteriorColorIndex(c, v);
  }

 private:
  static QString Arg(const QString& s) { return s; }
  static QString Arg(const char* s) { return QString::fromUtf8(s); }
  static QString Arg(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }
  static QString Arg(int i) { return QString::number(i); }
  static QString Arg(double d) { return QString::number(d, 'g', 17); }
  template <class... A>
  static QString Text(const char* format, A... args) {
    QString text = QString::fromUtf8(format);
    ((text = text.arg(Arg(args))), ...);
    return text;
  }
  template <class... A>
  void Note(const char* format, A... args) {
    Log.push_back(Text(format, args...).toStdString());
  }
  template <class T>
  T Answer(const QString& what, T result) {
    Log.push_back((what + QStringLiteral(" -> ") + Arg(result)).toStdString());
    return result;
  }
};

TFloatPoint LoadPoint(int line, int point) {
  return TFloatPoint(10.0L * (line + 1) - 5 * point, 3.0L * point);
}

// Gives line i of `graph` `count` points on the load graph's rule.
void Resize(TGraphPlot& graph, int i, int count) {
  graph.GetLines(i).SetCount(count);
  for (int j = 0; j < count; ++j) graph.GetLines(i).Point(j) = LoadPoint(i, j);
}

// A load distribution in English units with `lines` lines of `points`
// points, named "P1", "P2", …
std::unique_ptr<TGraphPlot> LoadGraph(int lines, int points) {
  auto graph = testing::MakeGraph(lines, points, LoadPoint);
  graph->SetCaption("Load Distribution");
  graph->SetXCaption("Total Capacity ");
  graph->SetXUnits("F1");
  graph->SetYCaption("Depth ");
  graph->SetYUnits("L2");
  for (int i = 0; i < lines; ++i) graph->GetLines(i).SetLineName(QStringLiteral("P%1").arg(i + 1));
  return graph;
}

// A tip curve in SI units without an x on top: one line of 3 points.
std::unique_ptr<TGraphPlot> TipGraph() {
  auto graph =
      testing::MakeGraph(1, 3, [](int, int j) { return TFloatPoint(0.5L * j, 100.0L * j); });
  graph->SetCaption("Tip Resistance Curve");
  graph->SetXCaption("Movement");
  graph->SetYCaption("Load ");
  graph->SetYUnits("F1");
  graph->SetUnits(2);
  graph->SetXOnTop(false);
  return graph;
}

TEST(ExportColumns, LettersOfColumnNumbers) {
  const std::pair<int, const char*> cases[] = {{1, "A"},   {26, "Z"},   {27, "AA"}, {52, "AZ"},
                                               {53, "BA"}, {702, "ZZ"}, {703, ""},  {0, ""}};
  for (const auto& [n, letters] : cases) EXPECT_EQ(GetExcelCol(n).toStdString(), letters) << n;
}

TEST(ExportTitles, UnitsInParenthesesOnlyWhenTheAxisHasAUnitCode) {
  const struct {
    const char* Caption;
    const char* Units;
    int System;
    const char* Title;
  } cases[] = {{"Movement", "", 2, "Movement"},    {"Load ", "F1", 2, "Load  (kN)"},
               {"Load ", "F1", 1, "Load  (kips)"}, {"Depth ", "L2", 1, "Depth  (ft)"},
               {"Depth ", "L2", 2, "Depth  (m)"},  {"Stress", "F/L^2", 3, "Stress (F/L^2)"}};
  for (const auto& c : cases)
    EXPECT_EQ(AxisTitle(c.Caption, c.Units, c.System).toStdString(), c.Title);
  EXPECT_EQ(UnitsTitle("", 2), "");
}

TEST(ExportCalls, OneGraphReachesTheSpreadsheetInTheOrderOfTheExport) {
  auto graph = LoadGraph(1, 2);
  TRecordingExcel excel;
  GenerateWorkbook(excel, {graph.get()}, false);
  const std::vector<std::string> expected = {
      "Visible := true",
      "Workbooks.Add",
      "ActiveSheet -> 1",
      "1.Name := Legend",
      "1.Cells[2,2] := '     N    '",
      "1.Cells[2,3] := '                             Plot Name                             '",
      "1.Cells[2,4] := '  Sheet Name  '",
      "1.Cells[2,5] := '  Chart Name  '",
      "1.Cells[2,6] := '          Status          '",
      "1.Range(B2:F2).Font.Bold := true",
      "1.Range(B2:F2).VerticalAlignment := -4108",
      "1.Range(B2:F2).EntireColumn.AutoFit",
      "1.Cells[3,2] := '1'",
      "Sheets(1) -> 1",
      "1.Cells[3,3] := 'Load Distribution'",
      "1.Cells[3,4] := 'Page_1'",
      "1.Cells[3,5] := 'Plot_1'",
      "1.Cells[3,6] := 'In Progress, Data'",
      "1.Hyperlinks.Add(D3, '', Page_1!A1)",
      "Sheets.Count -> 1",
      "Sheets(1) -> 1",
      "Sheets.Add(After 1, -4167)",
      "ActiveSheet -> 2",
      "2.Name := Page_1",
      "1.Activate",
      "2.Cells[1,1] := 'Load Distribution'",
      "2.Cells[2,1] := 'X'",
      "2.Cells[2,2] := 'Total Capacity  (kips)'",
      "2.Cells[3,1] := 'Y'",
      "2.Cells[3,2] := 'Depth  (ft)'",
      "2.Cells[4,1] := 'P1'",
      "2.Cells[5,1] := 'X'",
      "2.Cells[5,2] := 'Y'",
      "2.Cells[6,1].Value := 10",
      "2.Cells[6,2].Value := 0",
      "2.Cells[7,1].Value := 5",
      "2.Cells[7,2].Value := 3",
      "1.Cells[3,6] := 'In Progress, Chart'",
      "Sheets.Add(After 2, -4109)",
      "ActiveSheet -> 3",
      "1.Activate",
      "3.ChartType := 74",
      "3.SetSourceData(2.Range(A6:B7), 2)",
      "2.Name -> Page_1",
      "3.SeriesCollection(1).Name := P1",
      "3.SeriesCollection(1).XValues := =Page_1!$A$6:$A$7",
      "3.SeriesCollection(1).Values := =Page_1!$B$6:$B$7",
      "3.SeriesCollection(1).MarkerStyle := -4142",
      "3.HasTitle := false",
      "3.Axes(1,1).HasTitle := true",
      "3.Axes(1,1).AxisTitle.Text := Total Capacity  (kips)",
      "3.Axes(1,1).HasMajorGridlines := true",
      "3.Axes(2,1).HasTitle := true",
      "3.Axes(2,1).AxisTitle.Text := Depth  (ft)",
      "3.Axes(2,1).HasMajorGridlines := true",
      "3.Axes(2,1).ReversePlotOrder := true",
      "3.Legend.Border.Color := 0",
      "3.Legend.Interior.ColorIndex := 2",
      "3.Name := Plot_1",
      "3.Move(After 2)",
      "1.Activate",
      "1.Cells[3,6] := 'Complete'",
      "Visible := true",
      "UserControl := true"};
  EXPECT_EQ(excel.Log, expected);
}

TEST(ExportCalls, TwoGraphsGiveIndexRowsSheetPairsAndRangesOfTheFirstLine) {
  auto load = LoadGraph(3, 4);
  Resize(*load, 1, 2);  // shorter than the first line
  Resize(*load, 2, 6);  // longer
  auto tip = TipGraph();
  TRecordingExcel excel;
  GenerateWorkbook(excel, {load.get(), tip.get()}, true);

  const TXlsxWorkbookModel& book = excel.Real.Model();
  std::vector<std::string> names;
  for (const TXlsxSheet& sheet : book.Sheets) names.push_back(sheet.Name.toStdString());
  EXPECT_EQ(names, (std::vector<std::string>{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));
  EXPECT_EQ(book.ActiveHandle, book.Sheets[0].Handle);

  auto text = [&](size_t sheet, int row, int column) -> std::string {
    auto found = book.Sheets[sheet].Cells.find({row, column});
    if (found == book.Sheets[sheet].Cells.end()) return "(empty)";
    if (auto* t = std::get_if<QString>(&found->second.Value)) return t->toStdString();
    return QString::number(std::get<double>(found->second.Value)).toStdString();
  };
  const std::vector<std::vector<std::string>> indexRows = {
      {"1", "Load Distribution", "Page_1", "Plot_1", "Complete"},
      {"2", "Tip Resistance Curve", "Page_2", "Plot_2", "Complete"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 5; ++c) EXPECT_EQ(text(0, r + 3, c + 2), indexRows[r][c]);
  EXPECT_EQ(book.Sheets[0].Cells.at({4, 4}).Link->SubAddress, "Page_2!A1");

  // Every point is written; the shorter line leaves rows 8 and 9 empty.
  EXPECT_EQ(text(1, 11, 5), "5");
  EXPECT_EQ(text(1, 11, 6), "15");
  EXPECT_EQ(text(1, 7, 3), "15");
  EXPECT_EQ(text(1, 8, 3), "(empty)");
  EXPECT_EQ(text(3, 2, 2), "Movement");
  EXPECT_EQ(text(3, 3, 2), "Load  (kN)");

  auto logged = [&](const std::string& line) {
    return std::count(excel.Log.begin(), excel.Log.end(), line);
  };
  EXPECT_EQ(logged("3.SetSourceData(2.Range(A6:D9), 2)"), 1);
  const char* columns[] = {"A", "B", "C", "D", "E", "F"};
  for (int j = 1; j <= 3; ++j) {
    const std::string series = "3.SeriesCollection(" + std::to_string(j) + ")";
    const std::string x = columns[2 * j - 2], y = columns[2 * j - 1];
    EXPECT_EQ(logged(series + ".XValues := =Page_1!$" + x + "$6:$" + x + "$9"), 1);
    EXPECT_EQ(logged(series + ".Values := =Page_1!$" + y + "$6:$" + y + "$9"), 1);
  }
  EXPECT_EQ(logged("5.SetSourceData(4.Range(A6:B8), 2)"), 1);
  EXPECT_EQ(logged("5.Axes(2,1).ReversePlotOrder := false"), 1);
  EXPECT_EQ(std::count_if(excel.Log.begin(), excel.Log.end(),
                          [](const std::string& l) { return l.find("MarkerStyle") != l.npos; }),
            0);
}

// The named part of a package as text.
std::string Part(const std::vector<TZipEntry>& package, const char* name) {
  const auto data = ZipEntryData(package, name);
  EXPECT_TRUE(data.has_value()) << name;
  return data ? data->toStdString() : std::string();
}

int Occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(ExportWorkbook, WrittenXlsxHoldsTheSheetsLinksNumbersAndLiveCharts) {
  auto load = LoadGraph(3, 4);
  Resize(*load, 2, 6);
  auto tip = TipGraph();
  QTemporaryDir dir;
  const QString file = dir.filePath("pile.xlsx");
  ASSERT_EQ(ExportGraphsToWorkbook({load.get(), tip.get()}, false, file), std::nullopt);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"pile.xlsx"});
  QFile probe(dir.filePath("probe"));  // a new file's permissions, not a temporary one's
  ASSERT_TRUE(probe.open(QIODevice::WriteOnly));
  EXPECT_EQ(QFile::permissions(file), probe.permissions());

  const std::vector<TZipEntry> package = ReadZip(file);
  const std::string workbook = Part(package, "xl/workbook.xml");
  static const QRegularExpression sheetName(QStringLiteral("<sheet name=\"([^\"]+)\""));
  QStringList names;
  for (const auto& m : sheetName.globalMatch(QString::fromStdString(workbook)))
    names << m.captured(1);
  EXPECT_EQ(names, (QStringList{"Legend", "Page_1", "Plot_1", "Page_2", "Plot_2"}));

  const std::string index = Part(package, "xl/worksheets/sheet1.xml");
  EXPECT_NE(index.find("<hyperlink ref=\"D3\" location=\"Page_1!A1\""), index.npos);
  EXPECT_NE(index.find("<hyperlink ref=\"D4\" location=\"Page_2!A1\""), index.npos);
  EXPECT_NE(index.find("<c r=\"B3\"><v>1</v></c>"), index.npos);
  EXPECT_NE(index.find("<col min=\"3\" max=\"3\""), index.npos);  // fitted widths
  const std::string strings = Part(package, "xl/sharedStrings.xml");
  for (const char* s : {"Load Distribution", "Plot_2", "Complete", "Total Capacity  (kips)", "P3"})
    EXPECT_NE(strings.find(s), strings.npos) << s;
  EXPECT_EQ(strings.find("In Progress"), strings.npos);
  EXPECT_NE(Part(package, "xl/styles.xml").find("<b/>"), std::string::npos);

  const std::string page1 = Part(package, "xl/worksheets/sheet2.xml");
  EXPECT_NE(page1.find("<c r=\"E11\"><v>5</v></c><c r=\"F11\"><v>15</v></c>"), page1.npos);

  const std::string chart1 = Part(package, "xl/charts/chart1.xml");
  EXPECT_NE(chart1.find("<c:scatterChart><c:scatterStyle val=\"lineMarker\"/>"), chart1.npos);
  for (const char* range : {"Page_1!$A$6:$A$9", "Page_1!$B$6:$B$9", "Page_1!$C$6:$C$9",
                            "Page_1!$D$6:$D$9", "Page_1!$E$6:$E$9", "Page_1!$F$6:$F$9"})
    EXPECT_EQ(Occurrences(chart1, std::string("<c:f>") + range + "</c:f>"), 1) << range;
  EXPECT_EQ(Occurrences(chart1, "<c:symbol val=\"none\"/>"), 3);
  EXPECT_EQ(Occurrences(chart1, "<c:orientation val=\"maxMin\"/>"), 1);
  EXPECT_EQ(Occurrences(chart1, "<c:majorGridlines/>"), 2);
  EXPECT_NE(chart1.find("<c:autoTitleDeleted val=\"1\"/>"), chart1.npos);
  EXPECT_NE(chart1.find("<a:t>Depth  (ft)</a:t>"), chart1.npos);
  EXPECT_NE(chart1.find("<c:v>P2</c:v>"), chart1.npos);
  EXPECT_NE(chart1.find("<c:spPr><a:solidFill><a:srgbClr val=\"FFFFFF\"/></a:solidFill><a:ln>"
                        "<a:solidFill><a:srgbClr val=\"000000\"/></a:solidFill></a:ln></c:spPr>"
                        "</c:legend>"),
            chart1.npos);
  const std::string chart2 = Part(package, "xl/charts/chart2.xml");
  EXPECT_NE(chart2.find("<c:f>Page_2!$B$6:$B$8</c:f>"), chart2.npos);
  EXPECT_EQ(Occurrences(chart2, "maxMin"), 0);

  // Tick labels along the low edges, whatever the data's sign; chart sheets
  // printed across the page with the chart within its margins.
  for (const std::string& chart : {chart1, chart2}) {
    EXPECT_EQ(Occurrences(chart, "<c:tickLblPos val=\"low\"/>"), 2);
    EXPECT_EQ(Occurrences(chart, "<c:crosses val=\"min\"/>"), 2);
    EXPECT_EQ(Occurrences(chart, "autoZero"), 0);
  }
  for (const char* sheet : {"xl/chartsheets/sheet1.xml", "xl/chartsheets/sheet2.xml"}) {
    const std::string page = Part(package, sheet);
    EXPECT_NE(page.find("<pageSetup orientation=\"landscape\"/>"), page.npos) << sheet;
    EXPECT_NE(page.find("<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.5\" bottom=\"0.5\""),
              page.npos)
        << sheet;
  }
  for (const char* drawing : {"xl/drawings/drawing1.xml", "xl/drawings/drawing2.xml"}) {
    static const QRegularExpression extent(
        QStringLiteral("<xdr:ext cx=\"(\\d+)\" cy=\"(\\d+)\"/>"));
    const auto m = extent.match(QString::fromStdString(Part(package, drawing)));
    ASSERT_TRUE(m.hasMatch()) << drawing;
    // Within a landscape Letter and A4 page less half-inch margins.
    const double emuPerInch = 914400;
    EXPECT_LE(m.captured(1).toDouble() / emuPerInch, 11.0 - 1.0) << drawing;
    EXPECT_LE(m.captured(2).toDouble() / emuPerInch, 8.27 - 1.0) << drawing;
    EXPECT_GE(m.captured(1).toDouble() / emuPerInch, 0.9 * (11.0 - 1.0)) << "fills the page";
    EXPECT_GE(m.captured(2).toDouble() / emuPerInch, 0.85 * (8.27 - 1.0)) << "fills the page";
  }
}

TEST(ExportWorkbook, OnlyTheChartsOfChartSheetsAreSizedToThePage) {
  struct Case {
    QByteArray drawing;
    bool sized;
  };
  const Case cases[] = {
      {"<xdr:absoluteAnchor><xdr:pos x=\"0\" y=\"0\"/><xdr:ext cx=\"9308969\" "
       "cy=\"6078325\"/><xdr:graphicFrame/></xdr:absoluteAnchor>",
       true},
      {"<xdr:twoCellAnchor><xdr:from/><xdr:to/><xdr:ext cx=\"9308969\" cy=\"6078325\"/>"
       "</xdr:twoCellAnchor>",
       false},
      {"", false},
  };
  for (const Case& c : cases) {
    const QByteArray fitted = ChartDrawingFittedToPage(c.drawing);
    EXPECT_EQ(fitted.contains("cx=\"9144000\" cy=\"6629400\""), c.sized) << c.drawing.constData();
    EXPECT_EQ(fitted == c.drawing, !c.sized);
  }
}

TEST(ExportWorkbook, AFailedExportSaysWhyAndLeavesTheFolderAsItWas) {
  QTemporaryDir dir;
  const QString existing = dir.filePath("kept.xlsx");
  {
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier workbook");
  }
  QDir(dir.path()).mkdir("folder.xlsx");
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.xlsx")).constData(), 0644), 0);
  {
    QFile project(dir.filePath("pile.kv4d"));
    ASSERT_TRUE(project.open(QIODevice::WriteOnly));
    project.write("project\n");
  }
  auto good = LoadGraph(1, 3);
  auto unwritable = LoadGraph(1, 3);
  unwritable->GetLines(0).SetLineName(QString(40000, QLatin1Char('x')));
  const struct {
    const TGraphPlot* Graph;
    QString File;
    const char* Message;
  } cases[] = {
      {good.get(), dir.filePath("missing/pile.xlsx"), "the folder does not exist"},
      {good.get(), dir.filePath("folder.xlsx"), "a folder has that name"},
      {unwritable.get(), existing, "a text is too long for a cell"},
      {good.get(), dir.filePath("pipe.xlsx"), "it exists and is not a regular file"},
      {good.get(), dir.filePath("pile.kv4d"), "it has the extension .kv4d of a project's files"},
      {good.get(), dir.filePath("names.dat"), "names.dat is the name of a run description"},
  };
  for (const auto& c : cases) {
    // Must return at once, also for the FIFO that no one reads.
    const std::optional<QString> failure = ExportGraphsToWorkbook({c.Graph}, true, c.File);
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains(QString::fromUtf8(c.Message))) << failure->toStdString();
  }
  QFile kept(existing);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "earlier workbook");
  EXPECT_EQ(QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"folder.xlsx", "kept.xlsx", "pile.kv4d", "pipe.xlsx"}));
}

// Line names and captions go into the workbook as the user typed them,
// always as literal texts and always as well-formed XML.
TEST(ExportWorkbook, LineNamesAreLiteralTextsInWellFormedXml) {
  const struct {
    QString name;
    const char* inChart;  // the series' name in the chart part
  } names[] = {
      {QStringLiteral("=Page_1!"), "<c:tx><c:v>=Page_1!</c:v></c:tx>"},
      {QStringLiteral("=A1"), "<c:tx><c:v>=A1</c:v></c:tx>"},
      {QStringLiteral("bell\a and escape\x1b"),
       "<c:v>bell\xEF\xBF\xBD and escape\xEF\xBF\xBD</c:v>"},
      {QStringLiteral("<b> & \"q\""), "<c:v>&lt;b&gt; &amp; &quot;q&quot;</c:v>"},
      {QStringLiteral("tab\tkept"), "<c:v>tab\tkept</c:v>"},
  };
  const int count = static_cast<int>(std::size(names));
  auto graph = LoadGraph(count, 3);
  graph->SetCaption(QStringLiteral("Caption with a form feed\f"));
  for (int i = 0; i < count; ++i) graph->GetLines(i).SetLineName(names[i].name);
  QTemporaryDir dir;
  const QString file = dir.filePath("names.xlsx");
  ASSERT_EQ(ExportGraphsToWorkbook({graph.get()}, true, file), std::nullopt);

  const std::vector<TZipEntry> package = ReadZip(file);
  for (const TZipEntry& entry : package) {
    if (!entry.Name.endsWith(".xml") && !entry.Name.endsWith(".rels")) continue;
    QXmlStreamReader xml(entry.Data);
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << entry.Name.toStdString() << ": "
                                 << xml.errorString().toStdString();
  }
  const std::string chart = Part(package, "xl/charts/chart1.xml");
  for (const auto& name : names) EXPECT_NE(chart.find(name.inChart), chart.npos) << name.inChart;
  EXPECT_EQ(Occurrences(chart, "<c:strRef>"), 0) << "a name became a reference";
  EXPECT_EQ(Occurrences(chart, "korvanchartext"), 0);
}

struct ExportDialog : ::testing::Test {
  std::unique_ptr<TGraphPlot> Load = LoadGraph(2, 3);
  std::unique_ptr<TGraphPlot> Tip = TipGraph();
  TExportEntries Entries{};

  void SetUp() override {
    Entries[0] = {Load.get(), false};
    Entries[5] = {Tip.get(), false};
  }
  std::unique_ptr<TExportDialog> Open(const QString& project = "/data/pile.kv4d") {
    auto dialog =
        std::make_unique<TExportDialog>([this] { return Entries; }, [project] { return project; });
    dialog->show();
    return dialog;
  }
  static std::vector<std::pair<bool, bool>> EnabledAndChecked(TExportDialog& dialog) {
    std::vector<std::pair<bool, bool>> states;
    for (int row = 0; row < dialog.CheckListBoxPlots->count(); ++row) {
      QListWidgetItem* item = dialog.CheckListBoxPlots->item(row);
      states.emplace_back(item->flags().testFlag(Qt::ItemIsEnabled),
                          item->checkState() == Qt::Checked);
    }
    return states;
  }
};

TEST_F(ExportDialog, WithoutResultsEveryEntryIsDisabledAndGenerateToo) {
  auto dialog = Open();
  EXPECT_EQ(EnabledAndChecked(*dialog), (std::vector<std::pair<bool, bool>>(6, {false, false})));
  EXPECT_EQ(dialog->CheckListBoxPlots->item(2)->text(), "Displacement/Soil Settlement");
  EXPECT_FALSE(dialog->GenerateButton->isEnabled());
  dialog->SelectAllButton->click();
  EXPECT_EQ(dialog->GetNPlots(), 0);
  EXPECT_FALSE(dialog->GenerateButton->isEnabled());
}

TEST_F(ExportDialog, SelectionFollowsTheMenusAndGenerateWritesAndOpensTheWorkbook) {
  Entries[0].Enabled = true;
  Entries[5].Enabled = true;
  auto dialog = Open();
  const std::pair<bool, bool> on{true, true}, off{false, false};
  EXPECT_EQ(EnabledAndChecked(*dialog),
            (std::vector<std::pair<bool, bool>>{on, off, off, off, off, on}));
  EXPECT_TRUE(dialog->GenerateButton->isEnabled());
  dialog->UnselectAllButton->click();
  EXPECT_FALSE(dialog->GenerateButton->isEnabled());
  dialog->CheckListBoxPlots->item(5)->setCheckState(Qt::Checked);  // a click in the list
  EXPECT_TRUE(dialog->GenerateButton->isEnabled());
  dialog->SelectAllButton->click();
  EXPECT_EQ(dialog->GetNPlots(), 2);

  QTemporaryDir dir;
  const QString file = dir.filePath("chosen.xlsx");
  QString offered;
  QStringList opened;
  dialog->AskFileName = [&](const QString& name) { return offered = name, file; };
  dialog->OpenWorkbook = [&](const QString& name) { opened << name; };
  testing::TMessageCapture messages;
  dialog->GenerateButton->click();
  EXPECT_EQ(offered, "/data/pile.xlsx");
  EXPECT_EQ(opened, QStringList{file});
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{("Export to Excel Completed\nThe workbook was saved as\n" +
                                       QDir::toNativeSeparators(file) + "\n")
                                          .toStdString()}));
  const std::string index = Part(ReadZip(file), "xl/sharedStrings.xml");
  EXPECT_NE(index.find("Tip Resistance Curve"), index.npos);

  // A cancelled file question writes nothing and says nothing.
  messages.Clear();
  dialog->AskFileName = [](const QString&) { return QString(); };
  dialog->GenerateButton->click();
  EXPECT_TRUE(messages.Messages().empty());
  EXPECT_EQ(opened.size(), 1);
}

TEST_F(ExportDialog, AWorkbookNeverReplacesTheProjectsOwnFiles) {
  Entries[0].Enabled = true;
  QTemporaryDir dir;
  const QString project = dir.filePath("pile.kv4d");
  {
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("project\n");
  }
  // Another name of the project's file, which no extension gives away.
  const QString book = dir.filePath("book.xlsx");
  ASSERT_EQ(::link(QFile::encodeName(project).constData(), QFile::encodeName(book).constData()), 0);
  auto dialog = Open(project);
  dialog->AskFileName = [&](const QString&) { return book; };
  QStringList opened;
  dialog->OpenWorkbook = [&](const QString& name) { opened << name; };
  testing::TMessageCapture messages;
  dialog->GenerateButton->click();
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{("The workbook could not be written to " + book +
                                      ": it is the project data file \"" + project + "\"")
                                         .toStdString()});
  EXPECT_TRUE(opened.isEmpty());
  QFile file(project);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "project\n");
}

}  // namespace
}  // namespace korvan
