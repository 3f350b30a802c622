#include "app/ReportDialogs.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "platform/qt/message_box.h"
#include "report/ReportPdf.h"

namespace korvan {

QString ReportFileDialog(QWidget* parent, const QString& preset) {
  QFileDialog dialog(parent, QStringLiteral("Export Report"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({QStringLiteral("PDF (*.pdf)"), QStringLiteral("All Files (*)")});
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.selectFile(preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void ShowReportPreview(const TReportDocument& document, QPrinter& printer, QWidget* parent,
                       const QString& title) {
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(title);
  QObject::connect(
      &dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&document](QPrinter* target) {
        if (!PaintReport(document, *target))
          platform::ShowInformation(QStringLiteral("The printer could not be started."));
      });
  dialog.exec();
}

}  // namespace korvan
