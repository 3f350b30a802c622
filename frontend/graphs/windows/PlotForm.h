// TPlotForm: the window of one graph. It shows the graph maximised in the
// main window, with its legend, zooms with the mouse, reads coordinates out
// in its title, and offers the "&Plot" menu: legend, soil layers, markers,
// font size, line width, graph title, legend texts, active curves, printing,
// page set-up and saving as a picture.
#pragma once

#include <QList>
#include <memory>

#include "graphs/PlotPicture.h"
#include "graphs/PlotView.h"
#include "graphs/windows/PlotPrint.h"
#include "platform/qt/child_window.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QPrinter;

namespace korvan {

class TLegendList;
class TPlotCanvas;

class TPlotForm : public platform::TChildWindow {
  Q_OBJECT

 public:
  // Fits the graph's full range, applies its 20-line limit and builds the
  // legend and the per-line menu items. Opened() is false when the data has
  // no usable scale; such a window is never shown.
  explicit TPlotForm(TGraphPlot* data);
  ~TPlotForm() override;

  // Opens the graph's window, or brings the open one forward and restores
  // it when minimised; a graph without a usable scale gets a message and no
  // window. A window closed by the user is freed; the next ShowGraph makes a
  // fresh one with the full range and a new legend. The window goes when its
  // graph goes.
  static TPlotForm* ShowGraph(TGraphPlot& graph);
  // The open window of `graph`, or none.
  static TPlotForm* Of(const TGraphPlot& graph);

  bool Opened() const { return fOpened; }
  TGraphPlot* Data() const { return fData; }
  TPlotView& View() { return fView; }
  TLegendList* Legend() const { return fLegend; }
  QWidget* Canvas() const;
  QMenu* PlotMenu() const { return fPlotMenu; }
  // One checkable item per active line, after the fixed items.
  QList<QAction*> LineItems() const { return fLineItems; }

  // Page margins of Page Setup, used by Print.
  TPageMargins Margins;
  QPrinter& Printer();

  // Lays the graph out for the window's size; the legend goes back to the
  // plotting area's bottom-right corner when asked, and always stays inside.
  void FormResize(bool legendToCorner);
  // Shows, checks and enables the menu items for the graph's state.
  void UpdateMenu();

  // The "&Plot" commands.
  void PlotLegendClick();
  void PlotSoilLayerClick();
  void ShowWallGeometryClick();
  void MarkersClick(int every);
  void FontSizeClick(int tenths);
  void LineWidthClick(int multiplier);
  void PlotCaptionClick();
  void mLineNameClick();
  void ActiveGraphsClick();
  void PlotPrintClick();
  void PlotPageClick();
  void PlotSaveClick();
  void LineItemClick(int line);

  // Print and Save To Disk after their dialogs; both throw EKorvanError.
  void PrintTo(QPrinter& printer);
  void SavePicture(const QString& fileName, TPictureFormat format,
                   const TPictureAttributes& attributes);
  // The "Save Attributes" dialog for a chosen file, then the picture.
  void SaveToDisk(const QString& fileName, TPictureFormat format);

  // Title with the data coordinates under a pixel of the drawing.
  void ShowReadout(QPoint pixel);

 private:
  void BuildMenu();
  QMenu* ValueMenu(const QString& caption, const QString& name,
                   const std::vector<std::pair<QString, int>>& items,
                   void (TPlotForm::*command)(int), QActionGroup* group = nullptr);
  void RebuildLegend();
  void RefreshLegendTexts();
  void FitLegend();
  QRect PlottingArea() const;
  void MoveLegendToCorner();
  void ApplyLegendFont();
  void ToggleLine(int line);
  void Changed();
  void SyncLegendPlace();

  TGraphPlot* fData;
  TPlotView fView;
  bool fOpened = false;
  TPlotCanvas* fCanvas = nullptr;
  TLegendList* fLegend = nullptr;
  QMenuBar* fMenuBar = nullptr;
  QMenu* fPlotMenu = nullptr;
  QMenu* fMarkersMenu = nullptr;
  QActionGroup* fMarkersGroup = nullptr;
  QAction* fPlotLegend = nullptr;
  QAction* fPlotSoilLayer = nullptr;
  QAction* fShowWallGeometry = nullptr;
  QAction* fFontSize = nullptr;
  QAction* fLineWidth = nullptr;
  QAction* fPlotPrint = nullptr;
  QAction* fPlotPage = nullptr;
  QList<QAction*> fLineItems;
  std::unique_ptr<QPrinter> fPrinter;
};

}  // namespace korvan
