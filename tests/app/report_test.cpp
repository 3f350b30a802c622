// The calculation report: its content for every sample project against a
// golden document, the first page's notice when the results may not belong
// to the project, the numbers as the engine prints them, the layout of
// blocks and tables on pages of every size, and File "Export Report (PDF)"
// with its question, its file and its print preview.
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTimer>
#include <cmath>
#include <set>

#include "main_window_support.h"
#include "report/ReportBuilder.h"
#include "report/ReportPages.h"
#include "report/ReportPdf.h"
#include "runner/run_record.h"

namespace korvan::testing {
namespace {

namespace fs = std::filesystem;

const char* const kExamples[] = {"api-clay-sand", "downdrag-modified-si", "drilled-shaft-si",
                                 "driven-pile-clay-sand", "user-curves"};

const QString kBlockNames[] = {"section", "subsection", "text", "notice",
                               "table",   "side view",  "graph"};

// The document as text, one line per block, table row and drawing; the
// date of the analysis masked.
QString DocumentText(const TReportDocument& document) {
  const TReportHeading& h = document.Heading;
  QString text = QStringLiteral("heading: %1 | %2 | %3 | %4 | <date>\n")
                     .arg(h.Program, h.Title, h.FileName, h.Organisation);
  auto cells = [](const QStringList& list) {
    return QStringList(list)
        .replaceInStrings(QStringLiteral("\n"), QStringLiteral(" / "))
        .join(QStringLiteral(" | "));
  };
  for (const TReportBlock& block : document.Blocks) {
    text += kBlockNames[static_cast<int>(block.Kind)] + QStringLiteral(": ") + block.Text;
    if (block.Kind == TReportBlockKind::Table) {
      const TReportTable& t = block.Table;
      text +=
          t.Title + QStringLiteral("\n  columns (%1 text): ").arg(t.TextColumns) + cells(t.Columns);
      for (const QStringList& row : t.Rows) text += QStringLiteral("\n  row: ") + cells(row);
      if (!t.Note.isEmpty()) text += QStringLiteral("\n  note: ") + t.Note;
    }
    if (block.Kind == TReportBlockKind::SideView) {
      const TPileProfile& p = block.Profile;
      text += QStringLiteral("\n  pile: length %1, head %2, diameter %3, units %4; layers:")
                  .arg(p.PLength)
                  .arg(p.HeadCoord)
                  .arg(p.OD)
                  .arg(p.Units);
      for (const TSoilBand& layer : p.Layers)
        text += QStringLiteral(" type %1 to %2;").arg(layer.SoilType).arg(layer.Bottom);
    }
    if (block.Kind == TReportBlockKind::Graph) {
      text += QStringLiteral("\n  %1 lines of %2 points")
                  .arg(block.Graph->LineCount())
                  .arg(block.Graph->Count());
    }
    text += QLatin1Char('\n');
  }
  return text;
}

UserIdentification TestUser() {
  UserIdentification user;
  user.organisation = "Harbour Piling Co";
  user.city = "Leith";
  user.region = "";
  return user;
}

class ReportTest : public GraphsTest {
 protected:
  // The sample `name` analysed in the test's folder, read the way the
  // program opens it.
  fs::path Analysed(const char* name) {
    const QString data = PathOf(QLatin1String(name) + QStringLiteral(".kv4d"));
    QFile::remove(data);
    EXPECT_TRUE(QFile::copy(ExamplePath((std::string(name) + ".kv4d").c_str()), data));
    const fs::path path = QFile::encodeName(data).toStdString();
    const EngineRun run = RunEngine(path, KORVAN_BIN_DIR, TestUser());
    EXPECT_TRUE(run.called && run.result == 0) << run.failure;
    EXPECT_TRUE(Project().ReadFile(data, dfKorvan2021).isEmpty());
    Project().FileName = data;
    EXPECT_TRUE(
        Graphs().ReadPlotData(PathOf(QLatin1String(name) + QStringLiteral(".kv4p")), Project()));
    return path;
  }
  TReportSources Sources(const RunRecord& run) {
    TReportSources sources;
    sources.Project = &Project();
    sources.Graphs = &Graphs();
    sources.Run = &run;
    sources.User = TestUser();
    return sources;
  }
};

// Every sample's report holds its inputs, side view, results, warnings and
// graphs in the order of the golden document (KORVAN_UPDATE_GOLDEN=1
// rewrites the golden documents).
TEST_F(ReportTest, TheReportOfEverySampleProjectIsItsGoldenDocument) {
  for (const char* name : kExamples) {
    SCOPED_TRACE(name);
    const RunRecord run = ReadRunRecord(Analysed(name));
    ASSERT_TRUE(run.summary.has_value());
    const QString text = DocumentText(BuildReport(Sources(run)));
    const QString golden =
        QStringLiteral(KORVAN_GOLDEN_DIR "/report/") + QLatin1String(name) + QStringLiteral(".txt");
    if (qEnvironmentVariableIsSet("KORVAN_UPDATE_GOLDEN")) WriteText(golden, text);
    EXPECT_EQ(text, ReadText(golden));
  }
}

TEST(ReportNumbers, ResultsAreWrittenAsTheEngineReportPrintsThem) {
  const std::vector<std::pair<double, QString>> cases = {
      {0.0, "0.0000E+00"},       {-0.0, "0.0000E+00"},       {100000, "1.0000E+05"},
      {-90000, "-9.0000E+04"},   {0.047386, "4.7386E-02"},   {5.4309, "5.4309E+00"},
      {1.0e-4, "1.0000E-04"},    {2.8659e4, "2.8659E+04"},   {-3.2158e5, "-3.2158E+05"},
      {3.4028e38, "3.4028E+38"}, {1.1755e-38, "1.1755E-38"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(EngineNumber(value), text) << value;
}

// The first page says why results may not belong to the inputs it lists; a
// report without results lists the inputs alone.
TEST_F(ReportTest, ResultsThatMayNotBelongToTheProjectAreMarkedOnTheFirstPage) {
  const fs::path data = Analysed("driven-pile-clay-sand");
  struct Case {
    const char* what;
    bool unsaved;
    bool dataNewer;
    bool results;
    const char* notice;  // "" for none
  };
  const Case cases[] = {
      {"results of the project as saved", false, false, true, ""},
      {"unsaved changes", true, false, true, "the changes are not saved"},
      {"data file saved after the run", false, true, true, "data file was changed after"},
      {"both", true, true, true, "the changes are not saved"},
      {"no results", false, false, false, "has no complete results"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunRecord run = ReadRunRecord(data);
    run.dataNewerThanResults = c.dataNewer;
    if (!c.results) run.summary.reset();
    TReportSources sources = Sources(run);
    sources.UnsavedChanges = c.unsaved;
    const TReportDocument document = BuildReport(sources);
    const bool noticed = document.Blocks.front().Kind == TReportBlockKind::Notice;
    EXPECT_EQ(noticed, *c.notice != '\0');
    if (noticed) {
      EXPECT_TRUE(document.Blocks.front().Text.contains(QLatin1String(c.notice)))
          << document.Blocks.front().Text.toStdString();
    }
    const auto sections = std::count_if(
        document.Blocks.begin(), document.Blocks.end(),
        [](const TReportBlock& block) { return block.Kind == TReportBlockKind::Section; });
    EXPECT_EQ(sections, c.results ? 4 : 2) << "inputs, side view, results, graphs";
    EXPECT_EQ(document.Heading.AnalysisDate,
              c.results ? QString::fromStdString(run.analysisDate) : "not analysed");
  }
}

// A synthetic document: headings, paragraphs, tables of `rows` rows, a side
// view and graphs.
struct TLayoutCase {
  const char* what;
  QSize page;  // printable area in device pixels
  int dpi;
  std::vector<int> tables;  // rows of each table, each after a subsection
  int graphs;
};

TReportDocument LayoutDocument(const TLayoutCase& c, TGraphPlot& graph) {
  TReportDocument document;
  document.Heading = {"KORVAN", "Layout", "layout.kv4d", "Org", "today"};
  document.AddSection(QStringLiteral("1 Inputs"));
  for (size_t t = 0; t < c.tables.size(); ++t) {
    document.AddSubsection(QStringLiteral("Table %1").arg(t));
    TReportTable table;
    table.Title = QStringLiteral("Rows of table %1").arg(t);
    table.Columns = {QStringLiteral("Row"), QStringLiteral("Value\n(in)")};
    for (int r = 0; r < c.tables[t]; ++r)
      table.Rows.push_back({QString::number(r), QString::number(r * 1.5)});
    table.Note = QStringLiteral("A note under the table.");
    document.AddTable(std::move(table));
  }
  document.AddSection(QStringLiteral("2 Pile and soil profile"));
  TReportBlock view(TReportBlockKind::SideView, QStringLiteral("The view."));
  view.Profile = {300, -10, 12, 1, {{1, 120}, {2, 400}}};
  document.Blocks.push_back(view);
  document.AddSection(QStringLiteral("4 Graphs"));
  for (int g = 0; g < c.graphs; ++g) {
    TReportBlock block(TReportBlockKind::Graph, QStringLiteral("Graph %1").arg(g));
    block.Graph = &graph;
    document.Blocks.push_back(block);
  }
  return document;
}

// Every block is placed once and in order, every table row once and in
// order, all within the page below its heading; a table is broken only with
// three rows or more on each side; no page ends with a heading; each graph
// has a page of its own.
TEST(ReportPages, EveryBlockAndRowLiesOnceInOrderWithinItsPage) {
  const TLayoutCase cases[] = {
      {"A4 at 600 dpi, short tables", QSize(4606, 6663), 600, {3, 1, 5}, 2},
      {"Letter at 300 dpi, a table over three pages", QSize(2196, 2946), 300, {150}, 1},
      {"a table that just does not fit", QSize(4606, 6663), 600, {40, 60, 7}, 0},
      {"small page", QSize(700, 900), 100, {20, 2}, 1},
  };
  TGraphPlot graph;
  graph.SetLineCount(2);
  graph.SetCount(3);
  for (int j = 0; j < 3; ++j) graph.GetData(1, j) = TFloatPoint(j, 2 * j);
  for (const TLayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    const TReportDocument document = LayoutDocument(c, graph);
    const TReportPages pages(document, c.page, c.dpi);
    size_t nextBlock = 0;
    std::vector<int> rowsPlaced(document.Blocks.size(), 0);
    for (int p = 0; p < pages.PageCount(); ++p) {
      const auto& placed = pages.Page(p);
      ASSERT_FALSE(placed.empty()) << "page " << p << " is empty";
      int top = 0;
      for (size_t k = 0; k < placed.size(); ++k) {
        const TReportPages::TPlaced& item = placed[k];
        const TReportBlock& block = document.Blocks[item.Block];
        EXPECT_GE(item.Top, top) << "overlaps the block before it";
        EXPECT_LE(item.Top + item.Height, c.page.height()) << "runs off page " << p;
        top = item.Top + item.Height;
        if (block.Kind == TReportBlockKind::Table) {
          EXPECT_EQ(item.FirstRow, rowsPlaced[item.Block]) << "rows in order";
          const int rows = static_cast<int>(block.Table.Rows.size());
          const int here = item.EndRow - item.FirstRow;
          if (here < rows) EXPECT_GE(here, 3) << "a broken table keeps three rows together";
          EXPECT_EQ(item.Continued, item.FirstRow > 0);
          rowsPlaced[item.Block] = item.EndRow;
          if (item.EndRow < rows) continue;  // more of it on the next page
        }
        EXPECT_EQ(item.Block, nextBlock) << "blocks in order";
        ++nextBlock;
        if (block.Kind == TReportBlockKind::Graph) {
          const bool afterHeading = k == 1 && placed[0].Block + 1 == item.Block;
          EXPECT_TRUE(k == 0 || afterHeading) << "a graph begins its page";
          EXPECT_EQ(k + 1, placed.size()) << "a graph ends its page";
        }
      }
      const TReportBlockKind last = document.Blocks[placed.back().Block].Kind;
      EXPECT_FALSE(p + 1 < pages.PageCount() &&
                   (last == TReportBlockKind::Section || last == TReportBlockKind::Subsection))
          << "page " << p << " ends with a heading";
    }
    EXPECT_EQ(nextBlock, document.Blocks.size());
    for (size_t b = 0; b < document.Blocks.size(); ++b) {
      if (document.Blocks[b].Kind == TReportBlockKind::Table)
        EXPECT_EQ(rowsPlaced[b], static_cast<int>(document.Blocks[b].Table.Rows.size()));
    }
  }
}

TEST(ReportPaper, PaperNamesPageSizesAndTheLayoutOfTheReport) {
  const std::vector<std::pair<QString, std::optional<TReportPaper>>> names = {
      {"a4", TReportPaper::A4},         {"A4", TReportPaper::A4}, {"letter", TReportPaper::Letter},
      {"Letter", TReportPaper::Letter}, {"a3", std::nullopt},     {"", std::nullopt}};
  for (const auto& [name, paper] : names)
    EXPECT_EQ(ReportPaperNamed(name), paper) << name.toStdString();
  EXPECT_EQ(PaperOf(QPageSize(QPageSize::Letter)), TReportPaper::Letter);
  EXPECT_EQ(PaperOf(QPageSize(QPageSize::A4)), TReportPaper::A4);
  EXPECT_EQ(PaperOf(QPageSize(QPageSize::Legal)), TReportPaper::A4);
  for (TReportPaper paper : {TReportPaper::A4, TReportPaper::Letter}) {
    const QPageLayout layout = ReportPageLayout(paper);
    EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
    EXPECT_EQ(PaperOf(layout.pageSize()), paper);
    EXPECT_EQ(layout.margins(QPageLayout::Millimeter), QMarginsF(15, 15, 15, 15));
  }
}

// The page count of a PDF file, as pdfinfo reads it.
int PdfPages(const QString& pdf) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  info.waitForFinished(60000);
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  }
  return -1;
}

QString PdfText(const QString& pdf) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  text.waitForFinished(60000);
  return QString::fromUtf8(text.readAllStandardOutput());
}

// Every print preview that opens is closed again, its page count noted.
class ExportReportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    fPreviewWatch.setInterval(20);
    QObject::connect(&fPreviewWatch, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      auto* preview = dialog->findChild<QPrintPreviewWidget*>();
      fPreviewPages = preview != nullptr ? preview->pageCount() : -1;
      dialog->reject();
    });
    fPreviewWatch.start();
  }
  QTimer fPreviewWatch;
  int fPreviewPages = -1;
};

// File "Export Report (PDF)": results that belong to the project go
// straight into the report; others are offered a run first, and a report
// made without it says why on its first page; the chosen file is written
// whole, and the preview shows as many pages.
TEST_F(ExportReportTest, ExportsThePdfAfterOfferingARunForResultsThatDoNotBelong) {
  struct Case {
    const char* what;
    bool analysed;  // the project's run left results
    bool edited;    // the project was changed on screen since
    std::deque<platform::TAnswer> answers;
    bool written;
    const char* notice;  // on the first page; "" for none
    bool results;
  };
  using platform::TAnswer;
  const Case cases[] = {
      {"results of the project on screen", true, false, {}, true, "", true},
      {"edited, reported as it is", true, true, {TAnswer::No}, true, "changes are not saved", true},
      {"edited, run first", true, true, {TAnswer::Yes}, true, "", true},
      {"edited, cancelled", true, true, {TAnswer::Cancel}, false, "", false},
      {"never analysed, reported as it is",
       false,
       false,
       {TAnswer::No},
       true,
       "has no complete results",
       false},
      {"never analysed, run first", false, false, {TAnswer::Yes}, true, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString data = CopyExample("driven-pile-clay-sand.kv4d", QStringLiteral("pier.kv4d"));
    for (const char* extension : {".kv4o", ".kv4p", ".kv4r", ".kv4g"})
      QFile::remove(PathOf(QStringLiteral("pier") + QLatin1String(extension)));
    ASSERT_TRUE(Window().OpenFileName(data, 1));
    if (c.analysed) {
      TQuestionAnswers none;
      Window().CompRunClick();
      ASSERT_TRUE(Window().ShowOutput());
    }
    if (c.edited) {
      ProgramData->Title = QStringLiteral("Pier 7, edited");
      Window().SetDataChanged(true);
    }
    const QString pdf = PathOf(QStringLiteral("pier report.pdf"));
    QFile::remove(pdf);
    QString preset;
    Window().ChooseReportFile = [&](const QString& offered) {
      preset = offered;
      return pdf;
    };
    fMessages.Clear();
    fPreviewPages = -1;
    TQuestionAnswers answers(c.answers);
    Window().Actions().FileExportReport->trigger();

    EXPECT_EQ(answers.Asked().size(), c.answers.size());
    EXPECT_EQ(QFileInfo::exists(pdf), c.written);
    if (!c.written) continue;
    EXPECT_EQ(preset, PathOf(QStringLiteral("pier.pdf")));
    const int pages = PdfPages(pdf);
    EXPECT_GT(pages, 1);
    EXPECT_EQ(fPreviewPages, pages) << "the preview paints the pages of the file";
    const QString text = PdfText(pdf);
    const QString firstPage = text.section(QLatin1Char('\f'), 0, 0);
    EXPECT_TRUE(firstPage.contains(QStringLiteral("1 Inputs"))) << firstPage.toStdString();
    EXPECT_EQ(firstPage.contains(QStringLiteral("Run the analysis again")) ||
                  firstPage.contains(QStringLiteral("inputs only")),
              *c.notice != '\0');
    if (*c.notice)
      EXPECT_TRUE(firstPage.simplified().contains(QLatin1String(c.notice)))
          << firstPage.toStdString();
    EXPECT_EQ(text.contains(QStringLiteral("Results due to tip movements")), c.results);
    EXPECT_EQ(text.contains(QStringLiteral("Pier 7, edited")), c.edited);
  }
}

// The report never replaces a file of the project; a refused file is named
// in the message and left as it was.
TEST_F(ExportReportTest, RefusesTheProjectsOwnFiles) {
  const QString data = CopyExample("user-curves.kv4d", QStringLiteral("test pile.kv4d"));
  ASSERT_TRUE(Window().OpenFileName(data, 1));
  {
    TQuestionAnswers none;
    Window().CompRunClick();
  }
  for (const char* extension : {".kv4d", ".kv4o", ".kv4p"}) {
    SCOPED_TRACE(extension);
    const QString target = PathOf(QStringLiteral("test pile") + QLatin1String(extension));
    const QString before = ReadText(target);
    Window().ChooseReportFile = [&](const QString&) { return target; };
    fMessages.Clear();
    Window().ExportReportClick();
    ASSERT_EQ(fMessages.Messages().size(), 1u);
    EXPECT_NE(fMessages.Messages()[0].find("could not be written"), std::string::npos)
        << fMessages.Messages()[0];
    EXPECT_EQ(ReadText(target), before);
  }
}

}  // namespace
}  // namespace korvan::testing
