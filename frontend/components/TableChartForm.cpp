#include "components/TableChartForm.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLegend>
#include <QMimeData>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <memory>

#include "components/ChartPreview.h"
#include "components/NumberLines.h"
#include "model/EntryEvaluator.h"
#include "model/Exceptions.h"
#include "model/NumberFormat.h"
#include "model/TableValues.h"
#include "platform/qt/message_box.h"
#include "platform/qt/text_editor.h"

namespace korvan {

namespace {

constexpr int kRowsUnderChart = 5;
constexpr qreal kSmallestTitlePoints = 6;
constexpr qreal kTitleStepPoints = 0.5;
constexpr const char* kFittedTitle = "korvanFittedTitle";
// File values go into the cells with the digits of a general number.
constexpr int kFileDigits = 15;

enum class TMarkerShape { Diamond, Square };

QImage MarkerImage(TMarkerShape shape, const QColor& color) {
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  if (shape == TMarkerShape::Diamond) {
    painter.drawPolygon(QPolygonF({{8, 0}, {16, 8}, {8, 16}, {0, 8}}));
  } else {
    painter.drawRect(0, 0, 16, 16);
  }
  return image;
}

QLineSeries* NewSeries(const QColor& color, TMarkerShape shape, qreal markerSize) {
  auto* series = new QLineSeries;
  series->setPen(QPen(color, 2));
  series->setLightMarker(MarkerImage(shape, color));
  series->setMarkerSize(markerSize);
  return series;
}

QCategoryAxis* NewAxis() {
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setLinePen(QPen(Qt::black, 1));
  return axis;
}

}  // namespace

TTableChartForm::TTableChartForm(TGridTableChart& table, bool modal)
    : TTableForm(table, modal),
      fTable(table),
      fChartView(new QChartView(this)),
      fChart(new QChart),
      fSeries1(NewSeries(Qt::red, TMarkerShape::Diamond, 5)),
      fSeries2(NewSeries(QColor(0, 128, 0), TMarkerShape::Square, 7)),
      fBottomAxis(NewAxis()),
      fLeftAxis(NewAxis()),
      fPaintBox(new QWidget(this)),
      fFileNameLabel(new QLabel(QStringLiteral("File Name:"), this)),
      fFileNameEdit(new QLineEdit(this)) {
  // The view owns the chart, the chart its parts. The view's own empty
  // chart is released by setChart, not deleted.
  std::unique_ptr<QChart> emptyChart(fChartView->chart());
  fChartView->setChart(fChart);
  fChart->legend()->hide();
  fChart->setBackgroundRoundness(0);
  fChart->addSeries(fSeries1);
  fChart->addSeries(fSeries2);
  fTitleFont = fBottomAxis->titleFont();
  connect(fChart, &QChart::plotAreaChanged, this, &TTableChartForm::FitAxisTitles);
  fChart->addAxis(fBottomAxis, Qt::AlignBottom);
  fChart->addAxis(fLeftAxis, Qt::AlignLeft);
  for (QLineSeries* series : {fSeries1, fSeries2}) {
    series->attachAxis(fBottomAxis);
    series->attachAxis(fLeftAxis);
  }
  fSeries2->setVisible(false);
  fChartView->hide();
  fPaintBox->hide();

  fBtnBrowse = NewButton(QStringLiteral("Browse"));
  fBtnEdit = NewButton(QStringLiteral("View/Edit File"));
  fBtnRead = NewButton(QStringLiteral("Read values from File"));
  fBtnClip = NewButton(QStringLiteral("Paste values from  Clipboard (text)"));
  fBtnCpy = NewButton(QStringLiteral("Copy values to Clipboard (comma separated)"));
  fBtnOK = NewButton(QStringLiteral("OK"));
  fBtnCancel = NewButton(QStringLiteral("Cancel"));
  connect(fBtnBrowse, &QPushButton::clicked, this, &TTableChartForm::BtnBrowseClick);
  connect(fBtnEdit, &QPushButton::clicked, this, &TTableChartForm::BtnEditClick);
  connect(fBtnRead, &QPushButton::clicked, this, &TTableChartForm::BtnReadClick);
  connect(fBtnClip, &QPushButton::clicked, this, &TTableChartForm::BtnClipClick);
  connect(fBtnCpy, &QPushButton::clicked, this, &TTableChartForm::BtnCpyClick);
  // Edits are stored cell by cell: both buttons close the window.
  connect(fBtnOK, &QPushButton::clicked, this, &QWidget::close);
  connect(fBtnCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(fFileNameEdit, &QLineEdit::textChanged, this, &TTableChartForm::FileNameChanged);
  FileNameChanged();
}

bool TTableChartForm::ChartShown() const {
  return fTable.VisibleChart();
}

int TTableChartForm::MaxRowsInView() const {
  return ChartShown() ? kRowsUnderChart : TTableForm::MaxRowsInView();
}

// ---------------------------------------------------------------- layout

int TTableChartForm::PlaceAboveGrid(int gridWidth, int& right) {
  const int g = Gap();
  fChartView->setVisible(fTable.VisibleChart() && !fTable.RowsOption());
  fPaintBox->setVisible(fTable.VisibleChart() && fTable.RowsOption());
  if (!fTable.VisibleChart()) return g;
  const int width = std::max(gridWidth, logicalDpiX() * 4);
  const int height = logicalDpiY() * 5 / 2;
  QWidget* shown = fTable.RowsOption() ? fPaintBox : static_cast<QWidget*>(fChartView);
  shown->setGeometry(g, g, width, height);
  right = std::max(right, g + width);
  return g + height + g;
}

int TTableChartForm::PlaceBelowButtons(int rowButtonsTop, int top, int& right) {
  static_cast<void>(rowButtonsTop);
  const int g = Gap();
  const int step = g + fBtnBrowse->sizeHint().height();
  const bool okCancel = fTable.OKCancelButtons();
  fBtnOK->setVisible(okCancel);
  fBtnCancel->setVisible(okCancel);
  if (okCancel) {
    fBtnOK->move(g, top + g);
    fBtnCancel->move(fBtnOK->geometry().right() + 1 + g, top + g);
    right = std::max(right, fBtnCancel->geometry().right() + 1);
    top = fBtnOK->geometry().bottom() + 1 + 2 * g;
  }
  const bool transfer = fTable.GetDataFromFile();
  for (QWidget* part : std::initializer_list<QWidget*>{fFileNameLabel, fFileNameEdit, fBtnBrowse,
                                                       fBtnEdit, fBtnRead, fBtnClip, fBtnCpy}) {
    part->setVisible(transfer);
  }
  if (!transfer) return top;
  const int buttonHeight = fBtnBrowse->sizeHint().height();
  fFileNameLabel->setGeometry(2 * g, top, fFileNameLabel->sizeHint().width(), buttonHeight);
  fBtnBrowse->move(2 * g, top + step);
  fBtnEdit->move(fBtnBrowse->geometry().right() + 1 + g, top + step);
  fBtnRead->move(fBtnEdit->geometry().right() + 1 + g, top + step);
  const int editLeft = fFileNameLabel->geometry().right() + 1 + g;
  fFileNameEdit->setGeometry(editLeft, top, fBtnRead->geometry().right() + 1 - editLeft,
                             buttonHeight);
  const int readRight = fBtnRead->geometry().right() + 1;
  fBtnClip->move(readRight - fBtnClip->width(), top + 2 * step);
  fBtnCpy->move(readRight - fBtnCpy->width(), top + 3 * step);
  right = std::max({right, readRight, fBtnClip->geometry().right() + 1});
  return top + 4 * step;
}

void TTableChartForm::mousePressEvent(QMouseEvent* event) {
  TTableForm::mousePressEvent(event);
  UpdateChart();
}

// ---------------------------------------------------------------- chart

void TTableChartForm::ApplyAxis(QCategoryAxis& axis, const TAxisScale& scale) {
  for (const QString& label : axis.categoriesLabels()) axis.remove(label);
  const std::vector<double> ticks = AxisTicks(scale.Min, scale.Max);
  if (!ticks.empty()) {
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : scale.Max - scale.Min;
    axis.setStartValue(ticks.front() - step);
    QSet<QString> used;  // labels name the categories: each once
    for (const double tick : ticks) {
      const QString label = FormatAxisNumber(tick, scale.Format);
      if (used.contains(label)) continue;
      used.insert(label);
      axis.append(label, tick);
    }
  }
  axis.setRange(scale.Min, scale.Max);
  axis.setTitleText(scale.Title);
  axis.setReverse(scale.Inverted);
}

void TTableChartForm::FitAxisTitles() {
  // The chart cuts a title longer than its axis short; a long one is set in
  // a smaller font instead, down to a size still read.
  const QRectF plot = fChart->plotArea();
  const QPair<QCategoryAxis*, qreal> axes[] = {{fBottomAxis, plot.width()},
                                               {fLeftAxis, plot.height()}};
  for (const auto& [axis, length] : axes) {
    if (length <= 0) continue;  // not laid out yet
    // A title is only ever made smaller, so that the area it frees cannot
    // make it grow again.
    const bool fitted = axis->property(kFittedTitle).toString() == axis->titleText();
    QFont font = fitted ? axis->titleFont() : fTitleFont;
    while (font.pointSizeF() > kSmallestTitlePoints &&
           QFontMetricsF(font).horizontalAdvance(axis->titleText()) > length)
      font.setPointSizeF(font.pointSizeF() - kTitleStepPoints);
    axis->setProperty(kFittedTitle, axis->titleText());
    if (font != axis->titleFont()) axis->setTitleFont(font);
  }
}

void TTableChartForm::UpdateChart() {
  if (!Data() || !fTable.VisibleChart() || fTable.RowsOption()) return;
  const TChartPreview preview = BuildChartPreview(fTable);
  fSeries1->replace(QList<QPointF>(preview.Series1.begin(), preview.Series1.end()));
  fSeries1->setLightMarker(preview.Series1Marks ? MarkerImage(TMarkerShape::Diamond, Qt::red)
                                                : QImage());
  fSeries2->setVisible(preview.TwoCurves);
  fSeries2->replace(QList<QPointF>(preview.Series2.begin(), preview.Series2.end()));
  fChart->legend()->setVisible(preview.TwoCurves);
  fSeries1->setName(preview.Title1);
  fSeries2->setName(preview.Title2);
  ApplyAxis(*fBottomAxis, preview.Bottom);
  ApplyAxis(*fLeftAxis, preview.Left);
  FitAxisTitles();
}

// ---------------------------------------------------------------- transfer

void TTableChartForm::FileNameChanged() {
  const bool exists = QFileInfo(fFileNameEdit->text()).isFile();
  fBtnEdit->setEnabled(exists);
  fBtnRead->setEnabled(exists);
}

void TTableChartForm::BtnBrowseClick() {
  const QString name = QFileDialog::getOpenFileName(
      this, QString(), fFileNameEdit->text(),
      QStringLiteral("Text Files (*.txt);;Data Files (*.dat);;All Files (*)"));
  if (!name.isEmpty()) fFileNameEdit->setText(name);
}

void TTableChartForm::BtnEditClick() {
  platform::OpenInTextEditor(fFileNameEdit->text());
}

TTableChartForm::TLinesRead TTableChartForm::ReadLines(const QStringList& lines) {
  TGridTable& table = *Data();
  const int columns = table.VisibleColCount();
  const int maxRows = table.MaxRows();
  const std::vector<TCellValue> before = TableValues(table);
  TLinesRead read;
  QString failure;
  SuspendRefresh(true);
  try {
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const std::vector<long double> numbers = ParseNumberLine(lines[i]);
      if (static_cast<int>(numbers.size()) != columns) continue;
      ++read.Matching;
      if (maxRows > 0 && read.Filled >= maxRows) continue;  // counted, not read
      // Every number of the line is checked before any cell of the row changes.
      QStringList texts;
      try {
        for (const long double number : numbers) {
          texts.append(FormatGeneral(number, kFileDigits));
          CheckStorable(EvaluateEntry(texts.back()));
        }
      } catch (const EAssignError& refusal) {
        read.Refused.append(QStringLiteral("Line %1: %2").arg(i + 1).arg(refusal.Message()));
        continue;
      }
      if (read.Filled >= table.RowCount()) AddRowInView();
      for (int k = 0; k < columns; ++k) {
        table.VisibleColumn(k).SetStringValue(read.Filled, texts[k]);
      }
      ++read.Filled;
    }
    if (read.Filled > 0) DeleteRowsAfter(read.Filled);
  } catch (const EKorvanError& error) {
    failure = error.Message();  // the rows read so far stay
  }
  if (TableValues(table) != before) table.SetChanged(true);
  SuspendRefresh(false);
  RefreshGrid();
  if (!failure.isEmpty()) platform::ShowInformation(failure);
  return read;
}

QString TTableChartForm::DroppedText(const TLinesRead& read, const QString& verb) const {
  constexpr qsizetype kLinesNamed = 5;
  QStringList parts;
  const int maxRows = Data()->MaxRows();
  const int taken = read.Matching - static_cast<int>(read.Refused.size());
  if (maxRows > 0 && taken > read.Filled) {
    parts.append(QStringLiteral("%1 of %2 rows were %3; the table holds at most %4")
                     .arg(read.Filled)
                     .arg(taken)
                     .arg(verb)
                     .arg(maxRows));
  }
  if (!read.Refused.isEmpty()) {
    parts.append(QStringLiteral("%1 line(s) were not %2:").arg(read.Refused.size()).arg(verb));
    parts.append(read.Refused.mid(0, kLinesNamed));
    if (read.Refused.size() > kLinesNamed) {
      parts.append(QStringLiteral("and %1 more").arg(read.Refused.size() - kLinesNamed));
    }
  }
  return parts.join(QLatin1Char('\n'));
}

void TTableChartForm::BtnReadClick() {
  if (!Data() || !StoreCurrentCell()) return;
  QFile file(fFileNameEdit->text());
  if (!file.open(QIODevice::ReadOnly)) {
    platform::ShowInformation(
        QStringLiteral("Cannot open file %1: %2")
            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    return;
  }
  const TLinesRead read = ReadLines(SplitTextLines(QString::fromLocal8Bit(file.readAll())));
  const QString dropped = DroppedText(read, QStringLiteral("read"));
  if (!dropped.isEmpty()) {
    platform::ShowInformation(
        QStringLiteral("File %1:\n%2").arg(QDir::toNativeSeparators(file.fileName()), dropped));
  }
}

void TTableChartForm::BtnClipClick() {
  if (!Data() || !StoreCurrentCell()) return;
  const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
  if (!clip || !clip->hasText() || clip->text().isEmpty()) {
    platform::ShowInformation(QStringLiteral("There is no text available on the Clipboard"));
    return;
  }
  const TLinesRead read = ReadLines(SplitTextLines(clip->text()));
  const QString dropped = DroppedText(read, QStringLiteral("copied"));
  QString message;
  if (read.Filled == 0) {
    message = QStringLiteral("No data was copied from the Clipboard");
  } else if (read.Matching - static_cast<int>(read.Refused.size()) == read.Filled) {
    message =
        QString::number(read.Filled) + QStringLiteral(" row(s) were copied from the Clipboard");
  }
  if (!dropped.isEmpty())
    message = message.isEmpty() ? dropped : message + QLatin1Char('\n') + dropped;
  platform::ShowInformation(message);
}

// The visible columns, so that the text pastes back into the same table.
void TTableChartForm::BtnCpyClick() {
  if (!Data() || !StoreCurrentCell()) return;
  const TGridTable& table = *Data();
  QString text;
  for (int row = 0; row < table.RowCount(); ++row) {
    QStringList values;
    for (int v = 0; v < table.VisibleColCount(); ++v) {
      values.append(table.VisibleColumn(v).GetStringValue(row));
    }
    text += values.join(ListSeparator()) + QStringLiteral("\r\n");
  }
  QGuiApplication::clipboard()->setText(text);
  platform::ShowInformation(QStringLiteral("Data was copied to the Clipboard"));
}

}  // namespace korvan
