#include "graphs/windows/SideViewDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "graphs/SideViewDrawing.h"
#include "model/Exceptions.h"
#include "model/NumberFormat.h"
#include "platform/qt/message_box.h"

namespace korvan {

namespace {

constexpr int kControlTop = 8;
constexpr int kControlGap = 6;

QFont WindowFont() {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

QString DepthCaption(long double depth) {
  QString text = QString::number(static_cast<double>(depth), 'f', 1);
  text.replace(QLatin1Char('.'), DecimalSeparator());
  return QStringLiteral("  Depth: ") + text;
}

TSideViewColors WindowColors(const QWidget& window) {
  return {window.palette().color(QPalette::Base), window.palette().color(QPalette::Text)};
}

}  // namespace

TSideViewDialog::TSideViewDialog(TProfileSource source, QWidget* parent)
    : platform::TChildWindow(parent),
      PrintButton(new QPushButton(QStringLiteral("Print"), this)),
      GeometryLabel(new QLabel(QStringLiteral("Pile Geometry"), this)),
      OmitHatchCheckBox(new QCheckBox(QStringLiteral("Omit Hatches"), this)),
      CloseButton(new QPushButton(QStringLiteral("Close"), this)),
      fSource(std::move(source)) {
  setWindowTitle(QStringLiteral("Elevation View"));
  setFont(WindowFont());
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  OmitHatchCheckBox->setToolTip(QStringLiteral("Click to omit hatches from printing"));
  OmitHatchCheckBox->setAutoFillBackground(true);
  CloseButton->setToolTip(QStringLiteral("Press to Close"));
  GeometryLabel->setAutoFillBackground(true);
  GeometryLabel->adjustSize();
  OmitHatchCheckBox->adjustSize();
  connect(PrintButton, &QPushButton::clicked, this, &TSideViewDialog::PrintButtonClick);
  connect(CloseButton, &QPushButton::clicked, this, [this] { Frame()->close(); });
  connect(OmitHatchCheckBox, &QCheckBox::toggled, this, [this] { update(); });
  resize(632, 422);
}

TSideViewDialog::~TSideViewDialog() = default;

void TSideViewDialog::FormActivate() {
  if (fSource) fProfile = fSource();
  fGeometry.Build(fProfile, size());
  update();
}

void TSideViewDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (fGeometry.NoDraw) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    return;
  }
  DrawSideView(painter, size(), fGeometry, fProfile, OmitHatchCheckBox->isChecked(),
               WindowColors(*this));
}

void TSideViewDialog::resizeEvent(QResizeEvent* event) {
  platform::TChildWindow::resizeEvent(event);
  if (!fGeometry.NoDraw) fGeometry.FitAspect(size());
  PlaceControls();
  update();
}

void TSideViewDialog::PlaceControls() {
  const int left = width() - 2 * PrintButton->width();
  int top = kControlTop;
  for (QWidget* control :
       {static_cast<QWidget*>(GeometryLabel), static_cast<QWidget*>(PrintButton),
        static_cast<QWidget*>(OmitHatchCheckBox), static_cast<QWidget*>(CloseButton)}) {
    control->move(left, top);
    top += control->height() + kControlGap;
  }
}

void TSideViewDialog::mouseMoveEvent(QMouseEvent* event) {
  if (!fGeometry.NoDraw)
    setWindowTitle(DepthCaption(fGeometry.DepthAt(event->position().toPoint().y(), height())));
  platform::TChildWindow::mouseMoveEvent(event);
}

void TSideViewDialog::closeEvent(QCloseEvent* event) {
  fGeometry.Clear();
  platform::TChildWindow::closeEvent(event);
}

void TSideViewDialog::PrintTo(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("Soil-Pile Profile"));
  QPainter painter;
  if (!painter.begin(&printer))
    throw EKorvanError(QStringLiteral("The printer could not be started."));
  DrawSideViewPage(painter, QSize(printer.width(), printer.height()), fProfile,
                   GeometryLabel->font(), WindowColors(*this));
  painter.end();
}

void TSideViewDialog::PrintButtonClick() {
  if (!fPrinter) fPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(fPrinter.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    PrintTo(*fPrinter);
  } catch (const EKorvanError& error) {
    platform::ShowInformation(error.Message());
  }
}

}  // namespace korvan
