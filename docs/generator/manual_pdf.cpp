// manual_pdf: turns a manual written in Markdown into a PDF file, so that the
// manuals are built with the program itself and need no tools of their own.
//
//   manual_pdf TITLE SOURCE.md OUTPUT.pdf [PICTURES]
//
// Pictures named in the manual are looked for in the folder PICTURES; each
// shows at the size its resolution gives it, within the text's width.
//
// The output is written to a new file beside OUTPUT and renamed into place
// only when it is complete.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

// Tables get thin ruled cells and the headings the manual's own sizes; the
// Markdown reader leaves both at plain defaults.
void StyleTables(QTextFrame* frame) {
  for (QTextFrame* child : frame->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      QTextTableFormat format = table->format();
      format.setBorder(0.5);
      format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
      format.setBorderBrush(QColor(120, 120, 120));
      format.setBorderCollapse(true);
      format.setCellPadding(2.5);
      format.setCellSpacing(0);
      table->setFormat(format);
      // The reader gives every cell a border of its own; the header row is
      // shaded.
      for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
          QTextTableCell cell = table->cellAt(row, column);
          QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
          cellFormat.setBorder(0.5);
          cellFormat.setBorderBrush(QColor(120, 120, 120));
          cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
          cellFormat.setPadding(2.5);
          if (row == 0) cellFormat.setBackground(QColor(0xe8, 0xec, 0xf2));
          cell.setFormat(cellFormat);
        }
      }
    }
    StyleTables(child);
  }
}

void StyleHeadings(QTextDocument& document) {
  static constexpr double kSizes[] = {0, 20, 15, 12.5, 11, 10.5, 10.5};
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 1 || level > 6) continue;
    QTextCursor cursor(block);
    QTextBlockFormat blockFormat = block.blockFormat();
    blockFormat.setTopMargin(level <= 2 ? 14 : 9);
    blockFormat.setBottomMargin(5);
    if (level == 2) blockFormat.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.setBlockFormat(blockFormat);
    cursor.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat charFormat;
    charFormat.setFontPointSize(kSizes[level]);
    charFormat.setFontWeight(QFont::Bold);
    charFormat.setForeground(QColor(0x1f, 0x3a, 0x5f));
    cursor.mergeCharFormat(charFormat);
  }
}

// A picture's width and height in the document's units (a 96th of an
// inch), from its resolution, scaled down to `widest` inches.
void SizePictures(QTextDocument& document, const QDir& pictures, double widest) {
  constexpr double kUnitsPerInch = 96;
  constexpr double kMetresPerInch = 0.0254;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QImage image(pictures.filePath(format.name()));
      if (image.isNull() || image.dotsPerMeterX() <= 0 || image.dotsPerMeterY() <= 0) continue;
      double width = image.width() / (image.dotsPerMeterX() * kMetresPerInch);
      double height = image.height() / (image.dotsPerMeterY() * kMetresPerInch);
      if (width > widest) {
        height *= widest / width;
        width = widest;
      }
      // Handed to the document itself: printing lays out a copy of it,
      // which resolves no file names.
      document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
      format.setWidth(width * kUnitsPerInch);
      format.setHeight(height * kUnitsPerInch);
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(format);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 4 && arguments.size() != 5) {
    std::fprintf(stderr, "Usage: manual_pdf TITLE SOURCE.md OUTPUT.pdf [PICTURES]\n");
    return 64;
  }
  const QString& title = arguments[1];
  QFile source(arguments[2]);
  if (!source.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "manual_pdf: cannot read %s\n", qPrintable(arguments[2]));
    return 66;
  }

  QTextDocument document;
  QFont body(QStringLiteral("Liberation Serif"), 10);
  document.setDefaultFont(body);
  document.setDefaultStyleSheet(QStringLiteral("code { font-family: 'Liberation Mono'; }"));
  const QDir pictures(arguments.size() == 5 ? arguments[4] : QFileInfo(arguments[2]).path());
  document.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
  StyleTables(document.rootFrame());
  StyleHeadings(document);
  // The text's width on the page below.
  SizePictures(document, pictures, (210.0 - 2 * 18) / 25.4);
  document.setMetaInformation(QTextDocument::DocumentTitle, title);

  QSaveFile output(arguments[3]);
  if (!output.open(QIODevice::WriteOnly)) {
    std::fprintf(stderr, "manual_pdf: cannot write %s\n", qPrintable(arguments[3]));
    return 73;
  }
  {
    QPdfWriter writer(&output);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("KORVAN"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter));
    document.print(&writer);
  }
  if (!output.commit()) {
    std::fprintf(stderr, "manual_pdf: cannot write %s\n", qPrintable(arguments[3]));
    return 73;
  }
  return 0;
}
