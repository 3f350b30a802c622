#include "platform/qt/text_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextDocument>
#include <QVBoxLayout>

#include "platform/qt/message_box.h"

namespace korvan::platform {

TTextViewer::TTextViewer(const QString& path, const QString& text, const QString& note)
    : fPath(path),
      fText(new QPlainTextEdit(this)),
      fFind(new QLineEdit(this)),
      fNote(new QLabel(note, this)) {
  setWindowTitle(QFileInfo(path).fileName());
  fText->setReadOnly(true);
  fText->setLineWrapMode(QPlainTextEdit::NoWrap);
  fText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  fText->setPlainText(text);
  fNote->setWordWrap(true);
  fNote->setVisible(!note.isEmpty());
  fFind->setPlaceholderText(QStringLiteral("Find"));
  fFind->setClearButtonEnabled(true);

  auto* next = new QPushButton(QStringLiteral("Find &Next"), this);
  auto* previous = new QPushButton(QStringLiteral("Find Pre&vious"), this);
  auto* print = new QPushButton(QStringLiteral("&Print..."), this);
  auto* saveAs = new QPushButton(QStringLiteral("Save &As..."), this);
  connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(fFind, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
  connect(print, &QPushButton::clicked, this, &TTextViewer::PrintClick);
  connect(saveAs, &QPushButton::clicked, this, &TTextViewer::SaveAsClick);
  auto* find = new QShortcut(QKeySequence::Find, this);
  find->setContext(Qt::WidgetWithChildrenShortcut);
  connect(find, &QShortcut::activated, this, [this] {
    fFind->setFocus();
    fFind->selectAll();
  });

  auto* bar = new QHBoxLayout;
  bar->addWidget(fFind, 1);
  bar->addWidget(next);
  bar->addWidget(previous);
  bar->addSpacing(fFind->fontMetrics().height());
  bar->addWidget(print);
  bar->addWidget(saveAs);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fNote);
  layout->addLayout(bar);
  layout->addWidget(fText, 1);
  const QFontMetrics metrics(fText->font());
  resize(metrics.horizontalAdvance(QLatin1Char('0')) * 90, metrics.height() * 32);
}

bool TTextViewer::FindNext(bool backwards) {
  const QString wanted = fFind->text();
  if (wanted.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (fText->find(wanted, flags)) return true;
  // Round the end to the other side.
  QTextCursor cursor = fText->textCursor();
  cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
  fText->setTextCursor(cursor);
  return fText->find(wanted, flags);
}

bool TTextViewer::SaveAs(const QString& fileName) {
  QSaveFile file(fileName);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(fText->toPlainText().toUtf8());
    if (file.commit()) return true;
  }
  ShowInformation(QStringLiteral("The text could not be saved to %1: %2")
                      .arg(QDir::toNativeSeparators(fileName), file.errorString()));
  return false;
}

void TTextViewer::PrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) fText->print(&printer);
}

void TTextViewer::SaveAsClick() {
  const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), fPath);
  if (!name.isEmpty()) SaveAs(name);
}

bool ShowTextFile(const QString& path, const QString& note) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ShowInformation(QStringLiteral("The file %1 cannot be shown: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  // The engine's files are plain ASCII; older data files may hold Latin-1.
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  auto* viewer = new TTextViewer(path, text, note);
  viewer->ShowChild();
  return true;
}

}  // namespace korvan::platform
