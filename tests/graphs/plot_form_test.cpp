// The graph window: opening, the 20-line limit, the menu and its commands,
// the dialogs, the legend, zooming with the mouse and printing.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "graph_fixtures.h"
#include "graphs/windows/ActiveLinesDialog.h"
#include "graphs/windows/GraphCaptionDialog.h"
#include "graphs/windows/LegendList.h"
#include "graphs/windows/LineNamesDialog.h"
#include "graphs/windows/PlotForm.h"
#include "support/message_capture.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

using testing::WhenModal;

// A load distribution: `lines` curves of 21 points down to 60 ft.
std::unique_ptr<TGraphPlot> Distribution(int lines) {
  auto graph = testing::MakeGraph(lines, 21, [lines](int i, int j) {
    return TFloatPoint((lines - i) * 10.0L * (1 - j / 20.0L), 3.0L * j);
  });
  graph->SetCaption("Load Distribution");
  graph->SetXCaption("Total Capacity ");
  graph->SetXUnits("F1");
  graph->SetYCaption("Depth ");
  graph->SetYUnits("L2");
  return graph;
}

QPushButton* Button(QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

QAction* MenuItem(QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions()) {
    if (action->text() == text) return action;
    if (action->menu() != nullptr)
      if (QAction* inner = MenuItem(action->menu(), text)) return inner;
  }
  return nullptr;
}

// Graph windows open maximised in a main window's area, as in the program.
class PlotForm : public ::testing::Test {
 protected:
  void SetUp() override {
    fArea.resize(1000, 700);
    fArea.show();
    platform::SetChildWindowArea(&fArea);
  }
  void TearDown() override {
    fGraph.reset();
    platform::SetChildWindowArea(nullptr);
  }

  TPlotForm* Open(std::unique_ptr<TGraphPlot> graph) {
    fGraph = std::move(graph);
    TPlotForm::ShowGraph(*fGraph);
    TPlotForm* form = TPlotForm::Of(*fGraph);
    QApplication::processEvents();
    EXPECT_GT(form->Canvas()->width(), 400);
    return form;
  }
  QStringList LegendTexts(TPlotForm* form) {
    QStringList texts;
    for (int i = 0; i < form->Legend()->Count(); ++i) texts << form->Legend()->ShownText(i);
    return texts;
  }
  QStringList ItemTexts(TPlotForm* form) {
    QStringList texts;
    for (QAction* item : form->LineItems()) texts << item->text();
    return texts;
  }

  QMdiArea fArea;
  std::unique_ptr<TGraphPlot> fGraph;
};

TEST_F(PlotForm, OneWindowPerGraphRestoredWhenMinimisedAndFreshAfterClosing) {
  std::unique_ptr<TGraphPlot> graph = Distribution(3);
  EXPECT_EQ(TPlotForm::Of(*graph), nullptr) << "a new graph has no window";
  TPlotForm* form = Open(std::move(graph));
  EXPECT_EQ(form->windowTitle(), "Load Distribution");
  TPlotForm::ShowGraph(*fGraph);
  EXPECT_EQ(TPlotForm::Of(*fGraph), form);
  form->Frame()->showMinimized();
  TPlotForm::ShowGraph(*fGraph);
  EXPECT_FALSE(form->Frame()->isMinimized());
  EXPECT_TRUE(form->Frame()->isMaximized());

  TPlotView& view = form->View();
  const QPoint corner(view.DrawWindow.GraphArea.Left + 10, view.DrawWindow.GraphArea.Top + 10);
  view.ZoomIn(corner, corner + QPoint(200, 150));
  EXPECT_LT(view.LogicBounds.Right, view.MaxLogicBounds.Right);
  form->Frame()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(fArea.subWindowList().isEmpty());
  EXPECT_EQ(TPlotForm::Of(*fGraph), nullptr);

  TPlotForm* fresh = Open(std::move(fGraph));
  EXPECT_EQ(fresh->View().LogicBounds.Right, fresh->View().MaxLogicBounds.Right);
  EXPECT_EQ(fresh->View().LogicBounds.Left, 0);

  // The window shows its graph: it goes when the graph goes.
  fGraph.reset();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(fArea.subWindowList().isEmpty());
}

TEST_F(PlotForm, AGraphWithoutAScaleSaysSoAndOpensNoWindow) {
  fGraph = testing::MakeGraph(1, 2, [](int, int j) { return TFloatPoint(j * HUGE_VALL, j); });
  korvan::testing::TMessageCapture messages;
  TPlotForm::ShowGraph(*fGraph);
  EXPECT_EQ(TPlotForm::Of(*fGraph), nullptr);
  EXPECT_TRUE(fArea.subWindowList().isEmpty());
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{
                "The graph cannot be drawn: its data holds a number too large to show."}));
}

TEST_F(PlotForm, OpensWithTwentyActiveLinesUnlessTheLimitWasCleared) {
  for (bool limit : {true, false}) {
    auto graph = Distribution(25);
    graph->LimitActive = limit;
    TPlotForm* form = Open(std::move(graph));
    const int active = limit ? 20 : 25;
    EXPECT_EQ(form->Legend()->Count(), active);
    EXPECT_EQ(form->LineItems().size(), active);
    EXPECT_EQ(form->PlotMenu()->actions().size(), 14 + active);
    EXPECT_EQ(fGraph->GetLines(20).Active(), !limit);
    EXPECT_TRUE(fGraph->GetLines(19).Active());
    EXPECT_EQ(ItemTexts(form).back(), QString("Curve #%1").arg(active));
    fGraph.reset();
  }
}

TEST_F(PlotForm, MenuItemsShowAndCheckByTheGraphsState) {
  auto graph = Distribution(2);
  graph->SetShowFontWidth(false);
  graph->SetMarkers(7);
  TPlotForm* form = Open(std::move(graph));
  form->UpdateMenu();
  QMenu* menu = form->PlotMenu();
  auto item = [&](const char* name) { return menu->findChild<QAction*>(name); };
  EXPECT_TRUE(item("PlotLegend")->isChecked());
  EXPECT_FALSE(item("PlotSoilLayer")->isVisible());
  EXPECT_FALSE(item("ShowWallGeometry")->isVisible());
  EXPECT_FALSE(item("FontSize")->isVisible());
  EXPECT_FALSE(item("LineWidth")->isVisible());
  EXPECT_TRUE(item("PlotPrint")->isEnabled());
  EXPECT_TRUE(item("PlotPage")->isEnabled());

  QMenu* markers = menu->findChild<QMenu*>("PlotMarkers");
  emit markers->aboutToShow();
  for (QAction* choice : markers->actions()) EXPECT_FALSE(choice->isChecked());
  MenuItem(menu, "Every &5 Increments")->trigger();
  emit markers->aboutToShow();
  EXPECT_TRUE(MenuItem(menu, "Every &5 Increments")->isChecked());
  EXPECT_FALSE(MenuItem(menu, "&Never")->isChecked());

  fGraph->SetLayerLineCount(1);
  fGraph->GetLines(1).SetVisible(false);
  form->UpdateMenu();
  EXPECT_TRUE(item("PlotSoilLayer")->isVisible());
  EXPECT_TRUE(form->LineItems().at(0)->isChecked());
  EXPECT_FALSE(form->LineItems().at(1)->isChecked());
}

TEST_F(PlotForm, EveryDisplayCommandMarksTheGraphChanged) {
  const struct {
    const char* item;
    std::function<bool(const TGraphPlot&)> done;
  } cases[] = {
      {"Show &Legend", [](const TGraphPlot& g) { return !g.ShowLegend(); }},
      {"Show &Soil Layer", [](const TGraphPlot& g) { return g.ShowLayers(); }},
      {"Show &Wall Geometry", [](const TGraphPlot& g) { return g.ShowWall(); }},
      {"Every &10 Incements", [](const TGraphPlot& g) { return g.Markers() == 10; }},
      {"&Never", [](const TGraphPlot& g) { return g.Markers() == 0; }},
      {"3 * Default", [](const TGraphPlot& g) { return g.SizeFont() == 30; }},
      {"6 * Default", [](const TGraphPlot& g) { return g.WidthLine() == 6; }},
      {"Curve #2", [](const TGraphPlot& g) { return !g.GetLines(1).Visible(); }},
  };
  for (const auto& c : cases) {
    TPlotForm* form = Open(Distribution(2));
    QAction* action = MenuItem(form->PlotMenu(), c.item);
    ASSERT_NE(action, nullptr) << c.item;
    action->trigger();
    EXPECT_TRUE(c.done(*fGraph)) << c.item;
    EXPECT_TRUE(fGraph->AnyChange()) << c.item;
    fGraph.reset();
  }
}

TEST_F(PlotForm, DoubleSizeFontBringsTheLegendBackToItsCorner) {
  TPlotForm* form = Open(Distribution(3));
  TLegendList* legend = form->Legend();
  const TPixelRect& area = form->View().DrawWindow.GraphArea;
  EXPECT_EQ(legend->geometry().right() + 1, area.Right);
  EXPECT_EQ(legend->geometry().bottom() + 1, area.Bottom);
  const int plainHeight = form->View().FontHeight();
  const QSize plainLegend = legend->size();
  legend->move(0, 0);

  MenuItem(form->PlotMenu(), "2 * Default")->trigger();
  EXPECT_EQ(form->View().FontHeight(), 2 * plainHeight);
  EXPECT_EQ(legend->font().pointSize(), 22);
  EXPECT_EQ(legend->ItemHeight(), 33);
  EXPECT_GT(legend->width(), plainLegend.width() * 3 / 2);
  EXPECT_EQ(legend->height(), 3 * 33 + 3);
  EXPECT_EQ(legend->geometry().right() + 1, area.Right);
  EXPECT_EQ(legend->geometry().bottom() + 1, area.Bottom);
}

TEST_F(PlotForm, TheLegendTogglesLinesOnDoubleClickAndIsDraggedOnlyInsideTheWindow) {
  TPlotForm* form = Open(Distribution(3));
  TLegendList* legend = form->Legend();
  EXPECT_EQ(LegendTexts(form), (QStringList{"Curve #1 *", "Curve #2 *", "Curve #3 *"}));
  QTest::mouseDClick(legend, Qt::LeftButton, {}, QPoint(6, legend->ItemHeight() + 4));
  EXPECT_FALSE(fGraph->GetLines(1).Visible());
  EXPECT_EQ(LegendTexts(form), (QStringList{"Curve #1 *", "Curve #2", "Curve #3 *"}));
  form->LineItems().at(1)->trigger();
  EXPECT_TRUE(fGraph->GetLines(1).Visible());
  EXPECT_TRUE(fGraph->AnyChange());

  QTest::mousePress(legend, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(legend, QPoint(-3000, -3000));
  QTest::mouseRelease(legend, Qt::LeftButton, {}, QPoint(-3000, -3000));
  EXPECT_EQ(legend->pos(), QPoint(0, 0));
  QTest::mousePress(legend, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(legend, QPoint(9000, 9000));
  QTest::mouseRelease(legend, Qt::LeftButton, {}, QPoint(9000, 9000));
  EXPECT_EQ(legend->geometry().right(), form->Canvas()->width() - 1);
  EXPECT_EQ(legend->geometry().bottom(), form->Canvas()->height() - 1);
}

TEST_F(PlotForm, TheMouseZoomsInAndOutAndReadsCoordinatesIntoTheTitle) {
  TPlotForm* form = Open(Distribution(3));  // full range 0..30 x 0..60
  QWidget* canvas = form->Canvas();
  TPlotView& view = form->View();
  const QPoint from = view.LogicToScreen({10, 20});
  const QPoint to = view.LogicToScreen({20, 40});
  QTest::mouseMove(canvas, from);
  EXPECT_TRUE(form->windowTitle().startsWith("Load Distribution X: 10"))
      << form->windowTitle().toStdString();
  QTest::mousePress(canvas, Qt::LeftButton, {}, from);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
  EXPECT_NEAR(double(view.LogicBounds.Left), 10, 0.1);
  EXPECT_NEAR(double(view.LogicBounds.Right), 20, 0.1);
  EXPECT_NEAR(double(view.LogicBounds.Top), 20, 0.2);
  EXPECT_NEAR(double(view.LogicBounds.Bottom), 40, 0.2);
  for (int click = 0; click < 4; ++click)
    QTest::mouseClick(canvas, Qt::RightButton, {}, view.LogicToScreen({15, 30}));
  EXPECT_EQ(view.LogicBounds.Left, view.MaxLogicBounds.Left);
  EXPECT_EQ(view.LogicBounds.Bottom, view.MaxLogicBounds.Bottom);
  // A press outside the plotting area starts nothing.
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
  EXPECT_EQ(view.LogicBounds.Right, view.MaxLogicBounds.Right);
}

TEST_F(PlotForm, TheGraphTitleIsTakenHoweverItsDialogCloses) {
  TPlotForm* form = Open(Distribution(2));
  const int bottom = form->View().DrawWindow.GraphArea.Bottom;
  WhenModal<TGraphCaptionDialog>([](TGraphCaptionDialog& dialog) {
    dialog.findChild<QLineEdit*>()->setText("Pile P-4");
    dialog.findChildren<QRadioButton*>().at(1)->setChecked(true);
    dialog.reject();
  });
  form->PlotCaptionClick();
  EXPECT_EQ(fGraph->UserCaption, "Pile P-4");
  EXPECT_FALSE(fGraph->UserCaptionOnTop);
  EXPECT_TRUE(fGraph->AnyChange());
  EXPECT_EQ(form->View().DrawWindow.GraphArea.Bottom, bottom - form->View().FontHeight());
}

TEST_F(PlotForm, RenamingTheThirdLineWithTheSecondInactiveRenamesTheSecondEntry) {
  auto graph = Distribution(3);
  graph->GetLines(1).SetActive(false);
  TPlotForm* form = Open(std::move(graph));
  WhenModal<TLineNamesDialog>([](TLineNamesDialog& dialog) {
    EXPECT_EQ(dialog.List()->currentRow(), 0);
    EXPECT_EQ(dialog.Edit()->text(), "Curve #1");
    dialog.List()->setCurrentRow(2);
    EXPECT_EQ(dialog.Edit()->text(), "Curve #3");
    EXPECT_EQ(dialog.Edit()->palette().color(QPalette::Text), LineColor(2));
    dialog.Edit()->setText("Tip at 60 ft");
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());  // Enter stores the name, it does not close
    Button(dialog, "&OK")->click();
  });
  form->mLineNameClick();
  EXPECT_EQ(LegendTexts(form), (QStringList{"Curve #1 *", "Tip at 60 ft *"}));
  EXPECT_EQ(ItemTexts(form), (QStringList{"Curve #1", "Tip at 60 ft"}));
  EXPECT_EQ(fGraph->GetLines(0).ExplicitName(), "Curve #1");  // defaults became explicit
  EXPECT_EQ(fGraph->GetLines(2).LineName(), "Tip at 60 ft");
  EXPECT_TRUE(fGraph->AnyChange());
}

TEST_F(PlotForm, AnEmptyLegendNameIsRefusedAndCancelChangesNothing) {
  TPlotForm* form = Open(Distribution(2));
  korvan::testing::TMessageCapture messages;
  WhenModal<TLineNamesDialog>([](TLineNamesDialog& dialog) {
    dialog.Edit()->clear();
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    EXPECT_EQ(dialog.Edit()->text(), "Curve #1");
    dialog.Edit()->setText("Renamed");
    QTest::keyClick(dialog.Edit(), Qt::Key_Return);
    Button(dialog, "&Cancel")->click();
  });
  form->mLineNameClick();
  QApplication::processEvents();
  EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"The line must have a name!"}));
  EXPECT_EQ(fGraph->GetLines(0).ExplicitName(), "");
  EXPECT_FALSE(fGraph->AnyChange());
}

TEST_F(PlotForm, DeactivatingAllLinesEmptiesLegendAndItemsAndLeavesTheFrame) {
  TPlotForm* form = Open(Distribution(3));
  WhenModal<TActiveLinesDialog>([](TActiveLinesDialog& dialog) {
    EXPECT_EQ(dialog.List()->item(1)->text(), " yes :    Curve #2");
    Button(dialog, "Deactivate All")->click();
    EXPECT_EQ(dialog.List()->item(1)->text(), " no  :    Curve #2");
    Button(dialog, "&OK")->click();
  });
  form->ActiveGraphsClick();
  EXPECT_EQ(form->Legend()->Count(), 0);
  EXPECT_TRUE(form->LineItems().isEmpty());
  EXPECT_EQ(form->PlotMenu()->actions().size(), 14);
  EXPECT_TRUE(fGraph->AnyChange());

  const QImage image = form->Canvas()->grab().toImage();
  const QPoint onLine = form->View().LogicToScreen({15, 30});
  EXPECT_EQ(testing::PixelAt(image, onLine), testing::kWhite);
  const TPixelRect& area = form->View().DrawWindow.GraphArea;
  EXPECT_EQ(testing::PixelAt(image, {area.Left, onLine.y() + 1}), testing::kBlack);

  // Activating two again rebuilds the entries in order, with their items.
  WhenModal<TActiveLinesDialog>([](TActiveLinesDialog& dialog) {
    dialog.List()->item(0)->setSelected(true);
    dialog.List()->item(2)->setSelected(true);
    Button(dialog, "Activate/Deactivate Selected")->click();
    Button(dialog, "&OK")->click();
  });
  form->ActiveGraphsClick();
  EXPECT_EQ(ItemTexts(form), (QStringList{"Curve #1", "Curve #3"}));
  EXPECT_EQ(form->LineItems().at(1)->data().toInt(), 2);
}

TEST_F(PlotForm, PrintsToAPdfFileNamedByTheCaption) {
  TPlotForm* form = Open(Distribution(3));
  QTemporaryDir dir;
  const QString file = dir.filePath("graph.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  form->PrintTo(printer);
  EXPECT_EQ(printer.docName(), "Load Distribution");
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 5000);
}

}  // namespace
}  // namespace korvan
