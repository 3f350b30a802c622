#include "app/ManualForm.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/qt/message_box.h"

namespace korvan {

namespace {

constexpr int kQueryMilliseconds = 3000;

QString LoadError(QPdfDocument::Error error) {
  switch (error) {
    case QPdfDocument::Error::FileNotFound:
      return QStringLiteral("the file is not there");
    case QPdfDocument::Error::InvalidFileFormat:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
      return QStringLiteral("it is not a PDF file the program can read");
    case QPdfDocument::Error::IncorrectPassword:
      return QStringLiteral("it is protected by a password");
    default:
      return QStringLiteral("it cannot be read");
  }
}

// The desktop names the program it opens PDF files with; without one, an
// opened file would show nowhere.
bool DesktopPdfViewer(const QString& path) {
  const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (query.isEmpty()) return false;
  QProcess mime;
  mime.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                     QStringLiteral("application/pdf")});
  if (!mime.waitForFinished(kQueryMilliseconds) || mime.exitCode() != 0) return false;
  if (mime.readAllStandardOutput().trimmed().isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

TManualForm::TManualForm(const QString& path)
    : fDocument(new QPdfDocument(this)), fView(new QPdfView(this)), fPages(new QLabel(this)) {
  setWindowTitle(QFileInfo(path).completeBaseName());
  fView->setPageMode(QPdfView::PageMode::MultiPage);
  fView->setZoomMode(QPdfView::ZoomMode::FitToWidth);
  fView->setDocument(fDocument);
  const QPdfDocument::Error error = fDocument->load(path);
  fLoaded = error == QPdfDocument::Error::None;
  if (!fLoaded) fError = LoadError(error);
  fPages->setText(QStringLiteral("%1 pages").arg(fDocument->pageCount()));

  auto* bar = new QHBoxLayout;
  auto* zoomIn = new QPushButton(QStringLiteral("Zoom &In"), this);
  auto* zoomOut = new QPushButton(QStringLiteral("Zoom &Out"), this);
  auto* fit = new QPushButton(QStringLiteral("&Fit Width"), this);
  connect(zoomIn, &QPushButton::clicked, this, [this] {
    fView->setZoomMode(QPdfView::ZoomMode::Custom);
    fView->setZoomFactor(fView->zoomFactor() * 1.25);
  });
  connect(zoomOut, &QPushButton::clicked, this, [this] {
    fView->setZoomMode(QPdfView::ZoomMode::Custom);
    fView->setZoomFactor(fView->zoomFactor() / 1.25);
  });
  connect(fit, &QPushButton::clicked, this,
          [this] { fView->setZoomMode(QPdfView::ZoomMode::FitToWidth); });
  bar->addWidget(fPages, 1);
  bar->addWidget(zoomOut);
  bar->addWidget(zoomIn);
  bar->addWidget(fit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(fView, 1);
  resize(fontMetrics().height() * 50, fontMetrics().height() * 40);
}

TExternalViewer& ExternalPdfViewer() {
  static TExternalViewer viewer = DesktopPdfViewer;
  return viewer;
}

bool ShowManual(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    platform::ShowInformation(
        QStringLiteral("The manual %1 is not installed.").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  if (ExternalPdfViewer() && ExternalPdfViewer()(path)) return true;
  auto* window = new TManualForm(path);
  if (!window->Loaded()) {
    const QString reason = window->Error();
    delete window;
    platform::ShowInformation(QStringLiteral("The manual %1 cannot be shown: %2.")
                                  .arg(QDir::toNativeSeparators(path), reason));
    return false;
  }
  window->ShowChild(true);
  return true;
}

}  // namespace korvan
