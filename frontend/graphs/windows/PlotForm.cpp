#include "graphs/windows/PlotForm.h"

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QVBoxLayout>
#include <cmath>
#include <map>

#include "graphs/GraphStyle.h"
#include "graphs/windows/ActiveLinesDialog.h"
#include "graphs/windows/GraphCaptionDialog.h"
#include "graphs/windows/LegendList.h"
#include "graphs/windows/LineNamesDialog.h"
#include "graphs/windows/PlotCanvas.h"
#include "graphs/windows/SaveAttributesDialog.h"
#include "model/Exceptions.h"
#include "model/NumberFormat.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

// The legend's font when the window opens, in pixels of the screen.
constexpr int kLegendPixels = 15;
constexpr int kMinLegendWidth = 21;
constexpr int kReadoutDigits = 5;

// Menu texts show "&" as typed.
QString MenuText(const QString& name) {
  QString text = name;
  return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

struct TPictureFilter {
  const char* Filter;
  TPictureFormat Format;
};

constexpr TPictureFilter kPictureFilters[] = {
    {"PNG picture (*.png)", TPictureFormat::Png},
    {"Bitmap (*.bmp)", TPictureFormat::Bmp},
    {"SVG drawing (*.svg)", TPictureFormat::Svg},
    {"PDF document (*.pdf)", TPictureFormat::Pdf},
};

TPictureFormat FilterFormat(const QString& filter) {
  for (const TPictureFilter& f : kPictureFilters)
    if (filter == QLatin1String(f.Filter)) return f.Format;
  return TPictureFormat::Png;
}

// The one window of each graph; a closed window has freed itself.
std::map<const TGraphPlot*, QPointer<TPlotForm>>& GraphWindows() {
  static std::map<const TGraphPlot*, QPointer<TPlotForm>> windows;
  return windows;
}

}  // namespace

TPlotForm* TPlotForm::Of(const TGraphPlot& graph) {
  auto& windows = GraphWindows();
  const auto found = windows.find(&graph);
  if (found == windows.end()) return nullptr;
  if (found->second.isNull()) {
    windows.erase(found);
    return nullptr;
  }
  return found->second;
}

TPlotForm* TPlotForm::ShowGraph(TGraphPlot& graph) {
  TPlotForm* form = Of(graph);
  if (form == nullptr) {
    form = new TPlotForm(&graph);
    if (!form->Opened()) {
      delete form;
      platform::ShowInformation(NoScaleMessage());
      return nullptr;
    }
    GraphWindows()[&graph] = form;
    // The window shows this graph; it must not outlive it.
    connect(&graph, &TGraphPlot::destroying, form, [form] { delete form->Frame(); });
  }
  form->ShowChild(true);
  return form;
}

TPlotForm::TPlotForm(TGraphPlot* data) : fData(data), fView(*data) {
  setWindowTitle(fData->Caption());
  if (!fView.FitBounds()) return;
  fOpened = true;

  if (fData->LimitActive)
    for (int i = kActiveLineLimit; i < fData->LineCount(); ++i) fData->GetLines(i).SetActive(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  fMenuBar = new QMenuBar(this);
  layout->setMenuBar(fMenuBar);
  fCanvas = new TPlotCanvas(*this, this);
  layout->addWidget(fCanvas);
  fLegend = new TLegendList(fCanvas);
  connect(fLegend, &TLegendList::entryDoubleClicked, this,
          [this](int entry) { ToggleLine(fView.Legend.at(static_cast<size_t>(entry)).LineIndex); });

  BuildMenu();
  RebuildLegend();
  fLegend->setFont(SerifFont(kLegendPixels));
  fData->SetLegendFont(static_cast<int>(std::lround(kLegendPixels * 72.0 / logicalDpiY())));
  if (fData->SizeFont() != 10)
    ApplyLegendFont();
  else
    fLegend->SetItemHeight(QFontMetrics(fLegend->font()).height());
  FitLegend();
  fLegend->setVisible(fData->HasSomethingToDraw() && fData->ShowLegend());
  FormResize(true);
}

TPlotForm::~TPlotForm() = default;

QWidget* TPlotForm::Canvas() const {
  return fCanvas;
}

QPrinter& TPlotForm::Printer() {
  if (!fPrinter) {
    fPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    fPrinter->setPageSize(QPageSize(QPageSize::Letter));
  }
  return *fPrinter;
}

void TPlotForm::BuildMenu() {
  fPlotMenu = fMenuBar->addMenu(QStringLiteral("&Plot"));
  fPlotMenu->setObjectName(QStringLiteral("PlotMenu"));
  auto command = [this](const QString& caption, const QString& name, void (TPlotForm::*handler)(),
                        bool checkable) {
    QAction* action = fPlotMenu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  fPlotLegend = command(QStringLiteral("Show &Legend"), QStringLiteral("PlotLegend"),
                        &TPlotForm::PlotLegendClick, true);
  fPlotSoilLayer = command(QStringLiteral("Show &Soil Layer"), QStringLiteral("PlotSoilLayer"),
                           &TPlotForm::PlotSoilLayerClick, true);
  fShowWallGeometry =
      command(QStringLiteral("Show &Wall Geometry"), QStringLiteral("ShowWallGeometry"),
              &TPlotForm::ShowWallGeometryClick, true);
  fMarkersGroup = new QActionGroup(this);
  fMarkersGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  fMarkersMenu = ValueMenu(QStringLiteral("Show &Markers"), QStringLiteral("PlotMarkers"),
                           {{QStringLiteral("&Never"), 0},
                            {QStringLiteral("Every &Increment"), 1},
                            {QStringLiteral("Every &2 Increments"), 2},
                            {QStringLiteral("Every &3 Incrments"), 3},
                            {QStringLiteral("Every &5 Increments"), 5},
                            {QStringLiteral("Every &10 Incements"), 10}},
                           &TPlotForm::MarkersClick, fMarkersGroup);
  connect(fMarkersMenu, &QMenu::aboutToShow, this, [this] {
    for (QAction* item : fMarkersGroup->actions())
      item->setChecked(item->data().toInt() == fData->Markers());
  });
  fFontSize = ValueMenu(QStringLiteral("&Font Size"), QStringLiteral("FontSize"),
                        {{QStringLiteral("&Default"), 10},
                         {QStringLiteral("1.5 * Default"), 15},
                         {QStringLiteral("2 * Default"), 20},
                         {QStringLiteral("2.5 * Default"), 25},
                         {QStringLiteral("3 * Default"), 30},
                         {QStringLiteral("4 * Default"), 40}},
                        &TPlotForm::FontSizeClick)
                  ->menuAction();
  fLineWidth = ValueMenu(QStringLiteral("&Line Width"), QStringLiteral("LineWidth"),
                         {{QStringLiteral("&Default"), 1},
                          {QStringLiteral("2 * Default"), 2},
                          {QStringLiteral("4 * Default"), 4},
                          {QStringLiteral("6 * Default"), 6},
                          {QStringLiteral("10 * Default"), 10}},
                         &TPlotForm::LineWidthClick)
                   ->menuAction();
  command(QStringLiteral("&Graph Title"), QStringLiteral("PlotCaption"),
          &TPlotForm::PlotCaptionClick, false);
  command(QStringLiteral("&Edit Legend"), QStringLiteral("mLineName"), &TPlotForm::mLineNameClick,
          false);
  command(QStringLiteral("&Active Curves"), QStringLiteral("ActiveGraphs"),
          &TPlotForm::ActiveGraphsClick, false);
  fPlotMenu->addSeparator();
  // Qt prints to a PDF file where no printer is installed, so both stay on.
  fPlotPrint = command(QStringLiteral("&Print..."), QStringLiteral("PlotPrint"),
                       &TPlotForm::PlotPrintClick, false);
  fPlotPage = command(QStringLiteral("P&age Setup"), QStringLiteral("PlotPage"),
                      &TPlotForm::PlotPageClick, false);
  command(QStringLiteral("&Save To Disk..."), QStringLiteral("PlotSave"), &TPlotForm::PlotSaveClick,
          false);
  fPlotMenu->addSeparator();
  connect(fPlotMenu, &QMenu::aboutToShow, this, &TPlotForm::UpdateMenu);

  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
  shortcut->setContext(Qt::WidgetWithChildrenShortcut);
  connect(shortcut, &QShortcut::activated, this, [this] {
    fPlotMenu->popup(
        fMenuBar->mapToGlobal(fMenuBar->actionGeometry(fPlotMenu->menuAction()).bottomLeft()));
  });
}

QMenu* TPlotForm::ValueMenu(const QString& caption, const QString& name,
                            const std::vector<std::pair<QString, int>>& items,
                            void (TPlotForm::*command)(int), QActionGroup* group) {
  QMenu* menu = fPlotMenu->addMenu(caption);
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  for (const auto& entry : items) {
    const int value = entry.second;
    QAction* item = menu->addAction(entry.first);
    item->setData(value);
    if (group != nullptr) {
      item->setCheckable(true);
      group->addAction(item);
    }
    connect(item, &QAction::triggered, this, [this, command, value] { (this->*command)(value); });
  }
  return menu;
}

void TPlotForm::UpdateMenu() {
  fPlotLegend->setChecked(fData->ShowLegend());
  fPlotSoilLayer->setVisible(fData->LayerLineCount() > 0);
  fPlotSoilLayer->setChecked(fData->ShowLayers());
  fShowWallGeometry->setVisible(fData->WallLineCount() > 0);
  fShowWallGeometry->setEnabled(fData->ShowLayers());
  fShowWallGeometry->setChecked(fData->ShowWall());
  fFontSize->setVisible(fData->ShowFontWidth());
  fLineWidth->setVisible(fData->ShowFontWidth());
  fPlotPrint->setEnabled(true);
  fPlotPage->setEnabled(true);
  for (QAction* item : fLineItems) {
    const int line = item->data().toInt();
    item->setChecked(line < fData->LineCount() && fData->GetLines(line).Visible());
  }
}

void TPlotForm::RebuildLegend() {
  fView.RebuildLegend();
  std::vector<TLegendList::TItem> items;
  for (size_t k = 0; k < fView.Legend.size(); ++k) {
    const TLegendEntry& entry = fView.Legend[k];
    items.push_back({entry.Text, fData->GetLines(entry.LineIndex).Visible()});
    QAction* item = nullptr;
    if (k < static_cast<size_t>(fLineItems.size())) {
      item = fLineItems[static_cast<qsizetype>(k)];
    } else {
      item = fPlotMenu->addAction(QString());
      item->setCheckable(true);
      connect(item, &QAction::triggered, this,
              [this, item] { LineItemClick(item->data().toInt()); });
      fLineItems.append(item);
    }
    item->setText(MenuText(entry.Text));
    item->setData(entry.LineIndex);
    item->setChecked(fData->GetLines(entry.LineIndex).Visible());
  }
  while (fLineItems.size() > static_cast<qsizetype>(fView.Legend.size()))
    delete fLineItems.takeLast();
  fLegend->SetItems(std::move(items));
}

void TPlotForm::RefreshLegendTexts() {
  std::vector<TLegendList::TItem> items;
  for (size_t k = 0; k < fView.Legend.size(); ++k) {
    TLegendEntry& entry = fView.Legend[k];
    // A line gone since the window opened keeps its entry, shown off.
    const bool exists = entry.LineIndex < fData->LineCount();
    if (exists) entry.Text = fData->LegendCaption(entry.LineIndex);
    items.push_back({entry.Text, exists && fData->GetLines(entry.LineIndex).Visible()});
    fLineItems[static_cast<qsizetype>(k)]->setText(MenuText(entry.Text));
  }
  fLegend->SetItems(std::move(items));
}

void TPlotForm::FitLegend() {
  fLegend->FitSize(fCanvas->logicalDpiX() / 4, kMinLegendWidth);
  fLegend->KeepInside(PlottingArea());
}

QRect TPlotForm::PlottingArea() const {
  const TPixelRect& a = fView.DrawWindow.GraphArea;
  return QRect(QPoint(a.Left, a.Top), QPoint(a.Right, a.Bottom));
}

void TPlotForm::MoveLegendToCorner() {
  // The first corner of the plotting area, from the bottom right, where the
  // legend hides no data.
  const QRect area = PlottingArea();
  const QSize size = fLegend->size();
  const QPoint corners[] = {{area.right() - size.width(), area.bottom() - size.height()},
                            {area.right() - size.width(), area.top()},
                            {area.left(), area.bottom() - size.height()},
                            {area.left(), area.top()}};
  for (QPoint corner : corners) {
    if (CoveredSegments(fView, QRect(corner, size)) == 0) {
      fLegend->move(corner);
      return;
    }
  }
  fLegend->move(corners[0]);
}

void TPlotForm::ApplyLegendFont() {
  const int points = fData->SizeFont() * fData->LegendFont() / 10;
  QFont font = SerifFont(kLegendPixels);
  font.setPointSize(std::max(points, 1));
  fLegend->setFont(font);
  fLegend->SetItemHeight(points * 3 / 2);
  FitLegend();
}

void TPlotForm::FormResize(bool legendToCorner) {
  TDrawArea& window = fView.DrawWindow;
  window.Bounds = {0, 0, fCanvas->width(), fCanvas->height()};
  window.PixelsPerInch = QPoint(fCanvas->logicalDpiX(), fCanvas->logicalDpiY());
  window.PrintLegend = false;
  fView.LayoutWindow();
  if (legendToCorner) MoveLegendToCorner();
  fLegend->KeepInside(PlottingArea());
  fCanvas->update();
}

void TPlotForm::Changed() {
  fData->SetAnyChange(true);
}

void TPlotForm::ToggleLine(int line) {
  if (line < 0 || line >= fData->LineCount()) return;
  TLine& target = fData->GetLines(line);
  target.SetVisible(!target.Visible());
  RefreshLegendTexts();
  fCanvas->update();
  Changed();
}

void TPlotForm::PlotLegendClick() {
  fData->SetShowLegend(!fData->ShowLegend());
  fLegend->setVisible(fData->HasSomethingToDraw() && fData->ShowLegend());
  Changed();
}

void TPlotForm::PlotSoilLayerClick() {
  fData->SetShowLayers(!fData->ShowLayers());
  FormResize(true);
  Changed();
}

void TPlotForm::ShowWallGeometryClick() {
  fData->SetShowWall(!fData->ShowWall());
  FormResize(true);
  Changed();
}

void TPlotForm::MarkersClick(int every) {
  fData->SetMarkers(every);
  fCanvas->update();
  Changed();
}

void TPlotForm::FontSizeClick(int tenths) {
  fData->SetSizeFont(tenths);
  ApplyLegendFont();
  FormResize(true);
  Changed();
}

void TPlotForm::LineWidthClick(int multiplier) {
  fData->SetWidthLine(multiplier);
  fCanvas->update();
  Changed();
}

void TPlotForm::LineItemClick(int line) {
  ToggleLine(line);
}

void TPlotForm::PlotCaptionClick() {
  TGraphCaptionDialog dialog(this);
  dialog.SetCaption(fData->UserCaption);
  dialog.SetOnTop(fData->UserCaptionOnTop);
  dialog.exec();
  // However the dialog was closed, the title is taken.
  fData->UserCaption = dialog.Caption();
  fData->UserCaptionOnTop = dialog.OnTop();
  Changed();
  FormResize(false);
}

void TPlotForm::mLineNameClick() {
  TLineNamesDialog dialog(*fData, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList names = dialog.Names();
  for (int i = 0; i < fData->LineCount() && i < names.size(); ++i)
    fData->GetLines(i).SetLineName(names.at(i));
  RefreshLegendTexts();
  FitLegend();
  fCanvas->update();
  Changed();
}

void TPlotForm::ActiveGraphsClick() {
  TActiveLinesDialog dialog(*fData, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const std::vector<bool> active = dialog.ActiveFlags();
  for (int i = 0; i < fData->LineCount() && i < static_cast<int>(active.size()); ++i)
    fData->GetLines(i).SetActive(active[static_cast<size_t>(i)]);
  RebuildLegend();
  FitLegend();
  fCanvas->update();
  Changed();
}

void TPlotForm::SyncLegendPlace() {
  fView.LegendPlace =
      TLegendPlace{fLegend->pos(), fCanvas->size(), PlottingArea(), fLegend->size()};
}

void TPlotForm::PrintTo(QPrinter& printer) {
  SyncLegendPlace();
  PrintGraph(fView, printer, Margins);
  fCanvas->update();
}

void TPlotForm::PlotPrintClick() {
  QPrintDialog dialog(&Printer(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    PrintTo(Printer());
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

void TPlotForm::PlotPageClick() {
  ApplyMargins(Printer(), Margins);
  QPageSetupDialog dialog(&Printer(), this);
  if (dialog.exec() == QDialog::Accepted) Margins = MarginsOf(Printer());
}

void TPlotForm::SavePicture(const QString& fileName, TPictureFormat format,
                            const TPictureAttributes& attributes) {
  SyncLegendPlace();
  WritePicture(fView, fileName, format, attributes);
}

void TPlotForm::SaveToDisk(const QString& fileName, TPictureFormat format) {
  TSaveAttributesDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    SavePicture(fileName, format, dialog.Attributes());
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

void TPlotForm::PlotSaveClick() {
  QFileDialog dialog(this, QStringLiteral("Save To Disk"), fData->ResultFolder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  QStringList filters;
  for (const TPictureFilter& f : kPictureFilters) filters << QString::fromLatin1(f.Filter);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.front());
  dialog.setDefaultSuffix(PictureExtension(TPictureFormat::Png));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(PictureExtension(FilterFormat(filter)));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString fileName = dialog.selectedFiles().front();
  // The extension typed decides; the filter chosen serves otherwise.
  const TPictureFormat format =
      PictureFormatOf(fileName).value_or(FilterFormat(dialog.selectedNameFilter()));
  SaveToDisk(fileName, format);
}

void TPlotForm::ShowReadout(QPoint pixel) {
  const TFloatPoint at = fView.ScreenToLogic(fView.DrawWindow.GraphArea.Clamp(pixel));
  setWindowTitle(fData->Caption() + QStringLiteral(" X: ") + FormatGeneral(at.x, kReadoutDigits) +
                 QStringLiteral(" Y: ") + FormatGeneral(at.y, kReadoutDigits));
}

}  // namespace korvan
