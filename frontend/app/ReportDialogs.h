// The dialogs of Export Report: the name of the PDF file, and Qt's print
// preview of the report, from which it prints.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace korvan {

struct TReportDocument;

// The chosen file name, ending in ".pdf"; empty when cancelled. Asks before
// replacing an existing file.
QString ReportFileDialog(QWidget* parent, const QString& preset);

// Shows `document` in the print preview of `printer`, each page painted by
// the report's page painter, as printing from the preview prints it.
void ShowReportPreview(const TReportDocument& document, QPrinter& printer, QWidget* parent,
                       const QString& title);

}  // namespace korvan
