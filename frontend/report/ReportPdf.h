// The report on paper: its page layout, its painting onto any paged device
// (a PDF writer, a printer, the print preview) through the one page
// painter, and the PDF file written without ever losing a file.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/safe_output.h"
#include "report/ReportDocument.h"

class QPagedPaintDevice;

namespace korvan {

enum class TReportPaper { A4, Letter };

// "a4" or "letter" (any case).
std::optional<TReportPaper> ReportPaperNamed(const QString& name);
// Letter where the locale measures in US customary units, else A4.
TReportPaper LocalePaper();
// The paper of a page size: Letter for Letter, A4 for every other.
TReportPaper PaperOf(const QPageSize& size);

// Portrait, with margins of 15 mm.
QPageLayout ReportPageLayout(TReportPaper paper);

// Paints every page of `document` onto `device`, whose page layout is set,
// one page after another. The number of pages, or nothing when no painter
// could be started on the device.
std::optional<int> PaintReport(const TReportDocument& document, QPagedPaintDevice& device);

// The report as the bytes of a PDF file with embedded fonts. Throws
// EKorvanError when it cannot be made.
QByteArray ReportPdfBytes(const TReportDocument& document, TReportPaper paper);

// Writes the report as a PDF file to `target` (the bytes of the name as the
// user gave them) through a temporary file beside it, renamed into place
// when complete. A target that is one of the `kept` files, has the
// extension of a project's files, or is read-only or no regular file is
// refused. Throws EKorvanError with the message for the user; an existing
// file is then as it was.
void WriteReportPdf(const TReportDocument& document, const std::filesystem::path& target,
                    TReportPaper paper, const std::vector<platform::TKeptFile>& kept = {});

}  // namespace korvan
