#include "report/ReportPdf.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include "korvan_version.h"
#include "model/Exceptions.h"
#include "report/ReportPages.h"

namespace korvan {

namespace {

// Fine enough for hair lines and for the graphs' pixel layout.
constexpr int kPdfResolution = 600;
constexpr double kMarginMillimetres = 15;

[[noreturn]] void CannotWrite(const std::filesystem::path& target, const QString& reason) {
  throw EInOutError(QStringLiteral("The report could not be written to %1: %2")
                        .arg(QDir::toNativeSeparators(QFile::decodeName(target.c_str())), reason));
}

}  // namespace

std::optional<TReportPaper> ReportPaperNamed(const QString& name) {
  if (name.compare(QStringLiteral("a4"), Qt::CaseInsensitive) == 0) return TReportPaper::A4;
  if (name.compare(QStringLiteral("letter"), Qt::CaseInsensitive) == 0) return TReportPaper::Letter;
  return std::nullopt;
}

TReportPaper LocalePaper() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? TReportPaper::Letter
                                                                            : TReportPaper::A4;
}

TReportPaper PaperOf(const QPageSize& size) {
  return size.id() == QPageSize::Letter ? TReportPaper::Letter : TReportPaper::A4;
}

QPageLayout ReportPageLayout(TReportPaper paper) {
  const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres,
                          kMarginMillimetres);
  return QPageLayout(QPageSize(paper == TReportPaper::Letter ? QPageSize::Letter : QPageSize::A4),
                     QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

std::optional<int> PaintReport(const TReportDocument& document, QPagedPaintDevice& device) {
  const TReportPages pages(document, QSize(device.width(), device.height()), device.logicalDpiY());
  QPainter painter;
  if (!painter.begin(&device)) return std::nullopt;
  for (int page = 0; page < pages.PageCount(); ++page) {
    if (page > 0) device.newPage();
    pages.PaintPage(painter, page);
  }
  painter.end();
  return pages.PageCount();
}

QByteArray ReportPdfBytes(const TReportDocument& document, TReportPaper paper) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kPdfResolution);
    pdf.setPageLayout(ReportPageLayout(paper));
    pdf.setTitle(document.Heading.Title);
    pdf.setCreator(QStringLiteral("KORVAN %1").arg(QLatin1String(kVersionText)));
    if (!PaintReport(document, pdf))
      throw EKorvanError(QStringLiteral("The report cannot be drawn."));
  }
  return buffer.data();
}

void WriteReportPdf(const TReportDocument& document, const std::filesystem::path& target,
                    TReportPaper paper, const std::vector<platform::TKeptFile>& kept) {
  platform::TSafeOutput output(target, kept, platform::TProjectNames::kRefused);
  if (!output.Ready()) CannotWrite(target, QString::fromLocal8Bit(output.Reason()));
  const QByteArray bytes = ReportPdfBytes(document, paper);
  if (!output.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) ||
      !output.Commit())
    CannotWrite(target, QString::fromLocal8Bit(output.Reason()));
}

}  // namespace korvan
