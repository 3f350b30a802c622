// report_picture: the first page of the calculation report of a sample
// project as a picture for the users' manual, made at build time with the
// program's own engine, project model and report painter.
//
//   report_picture PROJECT.kv4d OUTPUT.png
//
// The project is analysed in a temporary folder. The heading's organisation
// and date are fixed, so that the picture changes only with the program.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

#include "engine/run.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "report/ReportBuilder.h"
#include "report/ReportPages.h"
#include "report/ReportPdf.h"
#include "runner/run_record.h"

namespace {

// Fine enough to read the tables in the manual, small enough to keep it
// light; the picture declares a resolution at which it shows at about half
// the page's size.
constexpr int kPixelsPerInch = 110;
constexpr int kShownPixelsPerInch = 200;
constexpr double kMetresPerInch = 0.0254;

int Fail(const char* what, const QString& detail) {
  std::fprintf(stderr, "report_picture: %s %s\n", what, qPrintable(detail));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 3) {
    std::fprintf(stderr, "Usage: report_picture PROJECT.kv4d OUTPUT.png\n");
    return 64;
  }
  QFile source(arguments[1]);
  if (!source.open(QIODevice::ReadOnly)) return Fail("cannot read", arguments[1]);
  const QByteArray text = source.readAll();

  QTemporaryDir folder;
  const QString data = folder.filePath(QFileInfo(arguments[1]).fileName());
  const QString base = data.chopped(5);
  QFile copy(data);
  if (!copy.open(QIODevice::WriteOnly) || copy.write(text) != text.size())
    return Fail("cannot write", data);
  copy.close();
  if (korvan::RunProjectText(text.toStdString(), (base + QStringLiteral(".kv4o")).toStdString(),
                             (base + QStringLiteral(".kv4p")).toStdString()) != 0)
    return Fail("the analysis stopped for", arguments[1]);

  korvan::TInputTables tables;
  korvan::ProgramData = std::make_unique<korvan::TProgramData>(tables);
  korvan::TProgramData& project = *korvan::ProgramData;
  if (!project.ReadFile(data, korvan::dfKorvan2021).isEmpty()) return Fail("cannot read", data);
  project.FileName = data;
  korvan::TResultGraphs graphs;
  if (!graphs.ReadPlotData(base + QStringLiteral(".kv4p"), project))
    return Fail("no results for", data);
  const korvan::RunRecord run = korvan::ReadRunRecord(QFile::encodeName(data).toStdString());

  korvan::TReportSources sources;
  sources.Project = &project;
  sources.Graphs = &graphs;
  sources.Run = &run;
  sources.User.organisation = "Harbour Piling Co";
  sources.User.city = "Leith";
  korvan::TReportDocument document = korvan::BuildReport(sources);
  document.Heading.AnalysisDate = QStringLiteral("March 05, 2024 09:07:30");

  const QPageLayout layout = korvan::ReportPageLayout(korvan::TReportPaper::A4);
  const QRect paper = layout.fullRectPixels(kPixelsPerInch);
  const QRect printable = layout.paintRectPixels(kPixelsPerInch);
  QImage page(paper.size(), QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    const korvan::TReportPages pages(document, printable.size(), kPixelsPerInch);
    QPainter painter(&page);
    painter.setPen(Qt::lightGray);
    painter.drawRect(paper.adjusted(0, 0, -1, -1));
    painter.translate(printable.topLeft());
    pages.PaintPage(painter, 0);
  }
  korvan::ProgramData.reset();
  const int dotsPerMetre = static_cast<int>(kShownPixelsPerInch / kMetresPerInch);
  page.setDotsPerMeterX(dotsPerMetre);
  page.setDotsPerMeterY(dotsPerMetre);

  QSaveFile output(arguments[2]);
  if (!output.open(QIODevice::WriteOnly) || !page.save(&output, "PNG") || !output.commit())
    return Fail("cannot write", arguments[2]);
  return 0;
}
