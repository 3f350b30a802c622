// A new user's first project, through the real windows of the program under
// an X server of the test's own: a new project, its title, the pile and its
// stiffness table, two soil layers of different types with their layer data,
// head loads, Save As, Run Analysis, every graph, the workbook export, the
// side view, and the saved project opened again. Menus are chosen by their
// captions with the mouse, fields and cells are typed into, and the file
// dialogs are answered by typing the name into them. The run's files are
// compared with a headless run of the saved file, and a picture of every
// window is left in the screenshots folder of the build.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPdfDocument>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "app/FileDialogs.h"
#include "app/ManualForm.h"
#include "app/PilePropertiesForm.h"
#include "app/ProgramSettings.h"
#include "app/ReportHeadingDialog.h"
#include "app/TitleForm.h"
#include "components/DataEdit.h"
#include "components/TableForm.h"
#include "graphs/windows/PlotForm.h"
#include "graphs/windows/SideViewDialog.h"
#include "platform/qt/text_viewer.h"
#include "runner/plot_summary.h"
#include "support/curve_compare.h"
#include "user_path_support.h"

namespace korvan::testing {
namespace {

const std::string kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";

// A value kept as entered, within the rounding of its text.
void ExpectValue(long double value, double expected) {
  EXPECT_NEAR(static_cast<double>(value), expected, 1e-12 * std::max(1.0, std::abs(expected)));
}

class NewUserTest : public UserPathTest {};

struct TLayerEntry {
  const char* soilType;
  const char* bottom;
  std::vector<std::pair<const char*, QStringList>> columns;  // heading word → top, bottom
};

TEST_F(NewUserTest, FromANewProjectToResultsAndBack) {
  const QString project = PathOf(QStringLiteral("pier7.kv4d"));
  Screenshot(QStringLiteral("01-new-project"));

  // File → New on the fresh program asks nothing: nothing was changed.
  Choose({QStringLiteral("&File"), QStringLiteral("&New")});
  EXPECT_EQ(ProgramData->FileName, QStringLiteral("NewKORVAN.kv4d"));

  // The title.
  Choose({QStringLiteral("Da&ta"), QStringLiteral("&Title")});
  TTitleForm* title = TTitleForm::Instance();
  ASSERT_NE(title, nullptr);
  TypeInto(title->TitleEdit(), QStringLiteral("Pier 7 - 18 in pipe pile, soft clay over sand"));
  TypeInto(title->NameEdit(), QStringLiteral("A. Engineer"));
  Screenshot(QStringLiteral("02-title"));

  // The pile, and its stiffness table opened from the pile window.
  Choose({QStringLiteral("Da&ta"), QStringLiteral("&Pile Properties")});
  TPilePropertiesForm* pile = TPilePropertiesForm::Instance();
  ASSERT_NE(pile, nullptr);
  EXPECT_EQ(ProgramData->Title, QStringLiteral("Pier 7 - 18 in pipe pile, soft clay over sand"))
      << "leaving the title window stores the title";
  TypeInto(pile->LengthEdit(), QStringLiteral("720"));
  TypeInto(pile->DiameterEdit(), QStringLiteral("18"));
  TypeInto(pile->TipAreaEdit(), QStringLiteral("3.1416*18*18/4"));
  TypeInto(pile->IncrementsEdit(), QStringLiteral("40"));
  QTest::keyClick(pile->IncrementsEdit(), Qt::Key_Tab);
  EXPECT_EQ(pile->TipEdit()->text().toDouble(), 720) << "tip coordinate = head + length";
  Screenshot(QStringLiteral("03-pile-properties"));
  QTest::mouseClick(pile->StiffnessButton(), Qt::LeftButton);
  Settle();
  TTableForm* stiffness = WindowCaptioned(QStringLiteral("Axial Stiffness (AE) of Pile Sections"));
  ASSERT_NE(stiffness, nullptr);
  EXPECT_EQ(ProgramData->PLength, 720) << "leaving the pile window stores its fields";
  EnterColumn(*stiffness, QStringLiteral("Depth"), {QStringLiteral("0"), QStringLiteral("720")});
  EnterColumn(*stiffness, QStringLiteral("AE"),
              {QStringLiteral("29E6*20.5"), QStringLiteral("29E6*20.5")});
  Screenshot(stiffness->parentWidget(), QStringLiteral("04-stiffness-table"));

  // Two soil layers: clay over sand, each with its data at top and bottom.
  Choose({QStringLiteral("Da&ta"), QStringLiteral("Soil &Layers")});
  TTableForm* layers = WindowCaptioned(QStringLiteral("Soil Layers"));
  ASSERT_NE(layers, nullptr);
  ClickButton(layers, QStringLiteral("&Add Row"));
  ASSERT_EQ(Window().Tables().SoilLayers().RowCount(), 2);
  const std::vector<TLayerEntry> entries = {
      {"Driven Pile in Clay (Coyle & Reese)",
       "360",
       {{"Weight", {QStringLiteral("0.0336"), QStringLiteral("0.0336")}},
        {"Undrained", {QStringLiteral("4"), QStringLiteral("9")}},
        {"e50", {QStringLiteral("0.02"), QStringLiteral("0.01")}},
        {"Side", {QStringLiteral("3.5"), QStringLiteral("8")}},
        {"Tip", {QStringLiteral("36"), QStringLiteral("81")}}}},
      {"Driven Pile in Sand (Mosher)",
       "1000",
       {{"Weight", {QStringLiteral("0.0376"), QStringLiteral("0.0405")}},
        {"Angle", {QStringLiteral("32"), QStringLiteral("36")}},
        {"Side", {QStringLiteral("5"), QStringLiteral("9.5")}},
        {"Tip", {QStringLiteral("600"), QStringLiteral("900")}}}}};
  // The soil-type boxes lie over the rows, in order from the top.
  QList<QComboBox*> boxes;
  for (QComboBox* box : layers->findChildren<QComboBox*>())
    if (box->isVisible()) boxes.append(box);
  std::sort(boxes.begin(), boxes.end(), [](QComboBox* a, QComboBox* b) { return a->y() < b->y(); });
  ASSERT_EQ(boxes.size(), 2);
  for (int layer = 0; layer < 2; ++layer) {
    const TLayerEntry& entry = entries[static_cast<size_t>(layer)];
    QComboBox* box = boxes[layer];
    const int wanted = box->findText(QString::fromUtf8(entry.soilType));
    ASSERT_GE(wanted, 0) << entry.soilType;
    QTest::mouseClick(box, Qt::LeftButton);
    Settle();
    if (box->view()->isVisible()) box->hidePopup();
    while (box->currentIndex() < wanted) QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > wanted) QTest::keyClick(box, Qt::Key_Up);
    Settle();
    EXPECT_EQ(Window().Tables().SoilLayers().GetIntValue(0, layer), wanted + 1);
    EnterCell(*layers, layer, ColumnHeaded(*layers, QStringLiteral("Bottom")),
              QString::fromUtf8(entry.bottom));
    const QString caption = QStringLiteral("%1: ").arg(layer + 1);
    QPushButton* data = nullptr;
    for (auto* button : layers->findChildren<QPushButton*>())
      if (button->text().startsWith(caption) && button->isVisible()) data = button;
    ASSERT_NE(data, nullptr) << "no layer data button for layer " << layer + 1;
    QTest::mouseClick(data, Qt::LeftButton);
    Settle();
    TTableForm* sub = ActiveWindow();
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(sub, layers);
    for (const auto& [word, values] : entry.columns)
      EnterColumn(*sub, QString::fromUtf8(word), values);
    Screenshot(sub->parentWidget(), QStringLiteral("05-layer-%1-data").arg(layer + 1));
    sub->parentWidget()->close();
    Settle();
  }
  Screenshot(layers->parentWidget(), QStringLiteral("06-soil-layers"));

  // Loads at the pile head.
  EXPECT_FALSE(Enabled(QStringLiteral("Da&ta"), QStringLiteral("Enter Loads at Pile &Head")));
  Choose({QStringLiteral("&Options"), QStringLiteral("Load Method"),
          QStringLiteral("User-Specified &Loads at Pile Head")});
  EXPECT_EQ(ProgramData->Nloadmethod, 2);
  Choose({QStringLiteral("Da&ta"), QStringLiteral("Enter Loads at Pile &Head")});
  TTableForm* loads = WindowCaptioned(QStringLiteral("Pile-Head Loads"));
  ASSERT_NE(loads, nullptr);
  ClickButton(loads, QStringLiteral("&Add Row"));
  ClickButton(loads, QStringLiteral("&Add Row"));
  EnterColumn(*loads, QStringLiteral("Load"),
              {QStringLiteral("100000"), QStringLiteral("250000"), QStringLiteral("-60000")});
  Screenshot(loads->parentWidget(), QStringLiteral("07-head-loads"));
  Screenshot(QStringLiteral("08-project-entered"));

  // Save As, answered by typing the name into the dialog.
  QString saveTitle;
  AnswerFileDialog(project, &saveTitle);
  Choose({QStringLiteral("&File"), QStringLiteral("Save &As...")});
  EXPECT_EQ(saveTitle, QStringLiteral("Save NewKORVAN As"));
  ASSERT_EQ(ProgramData->FileName, project);
  ASSERT_TRUE(QFileInfo::exists(project));
  EXPECT_TRUE(Window().windowTitle().endsWith(QStringLiteral(" - Pier7")))
      << Window().windowTitle().toStdString();

  // Who the report names, entered in the program.
  WhenModal("korvan::TReportHeadingDialog", [](QWidget* dialog) {
    auto* heading = static_cast<TReportHeadingDialog*>(dialog);
    TypeInto(heading->OrganisationEdit(), QStringLiteral("Harbour Piling Co"));
    TypeInto(heading->CityEdit(), QStringLiteral("Bergen"));
    TypeInto(heading->IdNumberEdit(), QStringLiteral("4711"));
    Screenshot(dialog, QStringLiteral("09-report-heading"));
    heading->accept();
  });
  Choose({QStringLiteral("&Options"), QStringLiteral("Report &Heading...")});

  // Run Analysis.
  fMessages.Clear();
  Choose({QStringLiteral("&Computation"), QStringLiteral("&Run Analysis")});
  ASSERT_EQ(fMessages.Messages(), std::vector<std::string>{kCompleted});
  ASSERT_TRUE(Window().ShowOutput());
  const QString heading = ReadText(PathOf(QStringLiteral("pier7.kv4o")));
  EXPECT_TRUE(heading.contains(QStringLiteral("Harbour Piling Co")));
  EXPECT_TRUE(heading.contains(QStringLiteral("Bergen")));
  EXPECT_TRUE(heading.contains(QStringLiteral("4711")));
  for (const char* extension : {".kv4o", ".kv4p", ".kv4r"})
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("pier7") + QLatin1String(extension))));

  // Every enabled graph, each in its window.
  const QStringList graphs = {QStringLiteral("Load &Distribution"),
                              QStringLiteral("Displacement Distribution"),
                              QStringLiteral("&Axial Load vs Settlement"),
                              QStringLiteral("t-&z Curves (side friction)"),
                              QStringLiteral("Q-&w Curve (tip resistance)"),
                              QStringLiteral("Load Distribution (Applied Loads)"),
                              QStringLiteral("Displacement Distribution (Applied Loads)"),
                              QStringLiteral("Axial Load vs Settlement (Applied Loads)")};
  EXPECT_FALSE(
      Enabled(QStringLiteral("&Graphics"), QStringLiteral("Displ. Distribution/Soil Settlement")))
      << "no down-drag in this project";
  int shot = 10;
  for (const QString& graph : graphs) {
    Choose({QStringLiteral("&Graphics"), graph});
    QMdiSubWindow* sub = Window().MdiArea()->activeSubWindow();
    ASSERT_NE(sub, nullptr) << graph.toStdString();
    ASSERT_NE(dynamic_cast<TPlotForm*>(sub->widget()), nullptr) << graph.toStdString();
    sub->resize(720, 540);
    const QString name =
        QStringLiteral("%1-graph-%2")
            .arg(shot++)
            .arg(Plain(graph).remove(QRegularExpression(QStringLiteral("[^A-Za-z]+"))));
    Screenshot(sub, name);
    if (graph != graphs.front()) continue;
    // The graph of most lines as a picture of the default size and on a
    // printed page: every legend entry on the paper.
    auto* form = dynamic_cast<TPlotForm*>(sub->widget());
    const QString folder = QStringLiteral(KORVAN_SCREENSHOT_DIR "/");
    form->SavePicture(folder + name + QStringLiteral("-picture.png"), TPictureFormat::Png,
                      TPictureAttributes{});
    EXPECT_EQ(QImage(folder + name + QStringLiteral("-picture.png")).size(), QSize(432, 288));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder + name + QStringLiteral("-page.pdf"));
    form->PrintTo(printer);
    QProcess pages;
    pages.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                 QStringLiteral("-singlefile"), folder + name + QStringLiteral("-page.pdf"),
                 folder + name + QStringLiteral("-page")});
    EXPECT_TRUE(pages.waitForFinished(30000));
    EXPECT_EQ(pages.exitCode(), 0);
    QFile::remove(folder + name + QStringLiteral("-page.pdf"));
  }
  // The graph windows open maximised; those that gave up the place keep a
  // size to be looked at when the user restores them.
  for (QMdiSubWindow* sub : Window().MdiArea()->subWindowList()) {
    if (sub->isMaximized()) continue;
    EXPECT_GE(sub->width(), 400) << sub->windowTitle().toStdString();
    EXPECT_GE(sub->height(), 300) << sub->windowTitle().toStdString();
  }
  Screenshot(QStringLiteral("19-graphs"));

  // The results the windows show are those of a headless run of the same
  // saved file: the same plot data, the same report below its heading.
  const QString report = PathOf(QStringLiteral("pier7.kv4o"));
  const QString plot = PathOf(QStringLiteral("pier7.kv4p"));
  const QString programReport = ReadText(report);
  const QString programPlot = ReadText(plot);
  const auto programSummary = ReadPlotSummary(plot.toStdString());
  ASSERT_TRUE(programSummary.has_value());
  QProcess runner;
  runner.start(QStringLiteral(KORVAN_BIN_DIR "/korvan"), {QStringLiteral("run"), project});
  ASSERT_TRUE(runner.waitForFinished(60000));
  EXPECT_EQ(runner.exitCode(), 0) << runner.readAllStandardError().toStdString();
  EXPECT_EQ(ReadText(plot), programPlot);
  const QStringList headless = ReadText(report).split(QLatin1Char('\n'));
  const QStringList windowed = programReport.split(QLatin1Char('\n'));
  ASSERT_EQ(headless.size(), windowed.size());
  for (qsizetype i = 27; i < headless.size(); ++i)
    ASSERT_EQ(headless[i], windowed[i]) << "report line " << i + 1;
  // The load-settlement graph holds the summary's rows (loads in kips).
  const TGraphPlot& axial = Window().Graphs().pltAxial();
  const std::vector<SummaryRow>& rows = programSummary->tipMovementRows;
  EXPECT_EQ(rows.size(), 18u) << "uplift and compression loads: both default series";
  ASSERT_EQ(axial.Count(), static_cast<int>(rows.size()) + 1);
  const TTolerance sixDigits{.relative = 1e-6};
  const int count = static_cast<int>(rows.size());
  ExpectCurveNear(
      "head load (lbs)", count,
      [&](int j) { return static_cast<double>(axial.GetData(0, j + 1).x) * 1000; },
      [&](int j) { return rows[static_cast<size_t>(j)].headLoad; }, sixDigits);
  ExpectCurveNear(
      "head movement", count, [&](int j) { return axial.GetData(0, j + 1).y; },
      [&](int j) { return rows[static_cast<size_t>(j)].headMovement; }, sixDigits);
  EXPECT_EQ(programSummary->appliedLoadRows.size(), 3u);
  for (const AppliedLoadRow& row : programSummary->appliedLoadRows) EXPECT_TRUE(row.converged);

  // Export to a workbook: all graphs, the name typed into the dialog.
  const QString workbook = PathOf(QStringLiteral("pier7-graphs.xlsx"));
  fMessages.Clear();
  WhenModal("korvan::TExportDialog", [workbook](QWidget* dialog) {
    Screenshot(dialog, QStringLiteral("20-export-dialog"));
    ClickButton(dialog, QStringLiteral("Select All"));
    auto* list = dialog->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    int checked = 0;
    for (int i = 0; i < list->count(); ++i) checked += list->item(i)->checkState() == Qt::Checked;
    EXPECT_EQ(checked, 5) << "every graph with results but the soil-settlement one";
    AnswerFileDialog(workbook);
    ClickButton(dialog, QStringLiteral("Generate Excel File"));
    ClickButton(dialog, QStringLiteral("Close Window"));
  });
  Choose({QStringLiteral("&Graphics"), QStringLiteral("Export Plots to Excel")});
  ASSERT_EQ(fMessages.Messages().size(), 1u);
  EXPECT_EQ(fMessages.Messages()[0].rfind("Export to Excel Completed", 0), 0u)
      << fMessages.Messages()[0];
  EXPECT_GT(QFileInfo(workbook).size(), 1000);

  // The side view of the pile in its layers.
  Choose({QStringLiteral("&Computation"), QStringLiteral("&View Soil Layer Coordinates")});
  QMdiSubWindow* side = Window().MdiArea()->activeSubWindow();
  ASSERT_NE(side, nullptr);
  ASSERT_NE(dynamic_cast<TSideViewDialog*>(side->widget()), nullptr);
  Screenshot(side, QStringLiteral("21-side-view"));

  // The calculation report: its file named in the dialog, then shown in the
  // print preview; the pages of the file kept as pictures.
  const QString pdf = PathOf(QStringLiteral("pier7 report.pdf"));
  int previewPages = -1;
  WhenModal("QPrintPreviewDialog", [&previewPages](QWidget* dialog) {
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    previewPages = preview != nullptr ? preview->pageCount() : -1;
    dialog->resize(900, 1000);
    Screenshot(dialog, QStringLiteral("21b-report-preview"));
    static_cast<QDialog*>(dialog)->reject();
  });
  AnswerFileDialog(pdf);
  fMessages.Clear();
  Choose({QStringLiteral("&File"), QStringLiteral("Export &Report (PDF)...")});
  EXPECT_TRUE(fMessages.Messages().empty()) << "the results belong to the project";
  ASSERT_TRUE(QFileInfo::exists(pdf));
  const QString pagePrefix = QStringLiteral(KORVAN_SCREENSHOT_DIR "/21c-report-page");
  QProcess pictures;
  pictures.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                              QStringLiteral("60"), pdf, pagePrefix});
  ASSERT_TRUE(pictures.waitForFinished(60000));
  EXPECT_EQ(pictures.exitCode(), 0);
  const QStringList pages = QDir(QStringLiteral(KORVAN_SCREENSHOT_DIR))
                                .entryList({QStringLiteral("21c-report-page-*.png")});
  EXPECT_GT(pages.size(), 8) << "inputs, side view, results and eight graphs";
  EXPECT_EQ(previewPages, pages.size()) << "the preview shows the pages of the file";

  // A new project, then the saved one opened again through the Open dialog:
  // everything as entered.
  Choose({QStringLiteral("&File"), QStringLiteral("&New")});
  EXPECT_EQ(ProgramData->PLength, 0);
  AnswerFileDialog(project);
  Choose({QStringLiteral("&File"), QStringLiteral("&Open...")});
  ASSERT_EQ(ProgramData->FileName, project);
  const TProgramData& p = *ProgramData;
  EXPECT_EQ(p.Title, QStringLiteral("Pier 7 - 18 in pipe pile, soft clay over sand"));
  ExpectValue(p.PLength, 720);
  ExpectValue(p.OD, 18);
  EXPECT_NEAR(static_cast<double>(p.Tiparea), 3.1416 * 18 * 18 / 4, 1e-9);
  EXPECT_EQ(p.NINC, 40);
  ExpectValue(p.HeadCoord, 0);
  EXPECT_EQ(p.Nloadmethod, 2);
  const TInputTables& t = Window().Tables();
  EXPECT_EQ(t.PileStiffness().RowCount(), 2);
  ExpectValue(t.PileStiffness().GetFloatValue(0, 1), 720);
  ExpectValue(t.PileStiffness().GetFloatValue(1, 1), 29e6 * 20.5);
  ASSERT_EQ(t.HeadLoads().RowCount(), 3);
  ExpectValue(t.HeadLoads().GetFloatValue(0, 1), 250000);
  ExpectValue(t.HeadLoads().GetFloatValue(0, 2), -60000);
  ASSERT_EQ(t.SoilLayers().RowCount(), 2);
  EXPECT_EQ(t.SoilLayers().GetIntValue(0, 0), 1);
  EXPECT_EQ(t.SoilLayers().GetIntValue(0, 1), 2);
  ExpectValue(t.SoilLayers().GetFloatValue(1, 0), 360);
  ExpectValue(t.SoilLayers().GetFloatValue(1, 1), 1000);
  const TGridTable& clay = *t.SoilLayers().GetDataValue(2, 0);
  ExpectValue(clay.GetFloatValue(1, 0), 4);     // undrained shear strength, top
  ExpectValue(clay.GetFloatValue(2, 1), 0.01);  // e50, bottom
  ExpectValue(clay.GetFloatValue(8, 1), 81);    // tip resistance, bottom
  const TGridTable& sand = *t.SoilLayers().GetDataValue(2, 1);
  ExpectValue(sand.GetFloatValue(3, 0), 32);  // friction angle, top
  ExpectValue(sand.GetFloatValue(0, 1), 0.0405);
  ExpectValue(sand.GetFloatValue(7, 1), 9.5);  // side friction, bottom
  EXPECT_TRUE(Window().ShowOutput()) << "the results are read with the project";
  Choose({QStringLiteral("Da&ta"), QStringLiteral("&Title")});
  EXPECT_EQ(TTitleForm::Instance()->TitleEdit()->text(), p.Title);
  EXPECT_TRUE(TTitleForm::Instance()->NameEdit()->text().isEmpty())
      << "the designer's name lives only while the program runs";
  Screenshot(QStringLiteral("22-reopened"));

  // Both manuals open from Help, from beside the program: in the desktop's
  // viewer where it has one...
  QStringList opened;
  ExternalPdfViewer() = [&opened](const QString& path) {
    opened.append(path);
    return true;
  };
  Choose({QStringLiteral("&Help"), QStringLiteral("User's Manual")});
  Choose({QStringLiteral("&Help"), QStringLiteral("Technical Manual")});
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[0], QStringLiteral(KORVAN_BIN_DIR "/KORVAN2021UsersManual.pdf"));
  EXPECT_EQ(opened[1], QStringLiteral(KORVAN_BIN_DIR "/KORVAN2021TechnicalManual.pdf"));
  for (const QString& manual : opened) EXPECT_GT(QFileInfo(manual).size(), 20000);
  // ... and in a window of the program where it has none.
  ExternalPdfViewer() = [](const QString&) { return false; };
  Choose({QStringLiteral("&Help"), QStringLiteral("User's Manual")});
  QMdiSubWindow* manual = Window().MdiArea()->activeSubWindow();
  ASSERT_NE(manual, nullptr);
  auto* manualWindow = dynamic_cast<TManualForm*>(manual->widget());
  ASSERT_NE(manualWindow, nullptr);
  EXPECT_GT(manualWindow->Document()->pageCount(), 3);
  // The pages are drawn in the background.
  QTest::qWait(1500);
  Screenshot(QStringLiteral("23-manual-window"));
  ExternalPdfViewer() = nullptr;

  // Without a text editor the report shows in the program's text window.
  ProgramSettings.WordProcessor.clear();
  Choose({QStringLiteral("&Computation"), QStringLiteral("Edit &Output Text")});
  QMdiSubWindow* text = Window().MdiArea()->activeSubWindow();
  ASSERT_NE(text, nullptr);
  auto* viewer = dynamic_cast<platform::TTextViewer*>(text->widget());
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->Text()->toPlainText(), ReadText(report));
  text->resize(900, 600);
  Screenshot(QStringLiteral("24-report-window"));
}

}  // namespace
}  // namespace korvan::testing
