#include "graphs/PlotPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <string_view>

#include "graphs/XmlText.h"
#include "model/Exceptions.h"

namespace korvan {

namespace {

const QString kNoMemory = QStringLiteral("There is not enough memory to complete this task.");

// Bitmaps beyond this many bytes of drawing surface are refused before any
// allocation: the operating system may promise memory it cannot give.
constexpr qint64 kMaxBitmapBytes = qint64(1) << 30;
// Vector drawings beyond this many pixels a side are out of integer range
// for the drawing.
constexpr long double kMaxPictureSide = 1 << 24;

constexpr double kMetresPerInch = 0.0254;

// The sixteen colours of a 16-colour picture: every colour of the line
// colour table is one of them.
const QList<QRgb>& SixteenColors() {
  static const QList<QRgb> table = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000,
                                    0xFF000080, 0xFF800080, 0xFF008080, 0xFF808080,
                                    0xFFC0C0C0, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                    0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return table;
}

// Black and white: everything drawn is black, the paper white.
QImage ToBlackAndWhite(const QImage& image) {
  QImage mono(image.size(), QImage::Format_Mono);
  if (mono.isNull()) return mono;
  mono.setColorTable({0xFFFFFFFF, 0xFF000000});
  mono.fill(0);
  for (int y = 0; y < image.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* target = mono.scanLine(y);
    for (int x = 0; x < image.width(); ++x)
      if ((source[x] & 0xFFFFFF) != 0xFFFFFF) target[x >> 3] |= uchar(0x80 >> (x & 7));
  }
  return mono;
}

QImage InColors(const QImage& image, TPictureColors colors) {
  switch (colors) {
    case TPictureColors::BlackAndWhite:
      return ToBlackAndWhite(image);
    case TPictureColors::Colors16:
      return image.convertToFormat(QImage::Format_Indexed8, SixteenColors(), Qt::ThresholdDither);
    case TPictureColors::Colors256:
      return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    case TPictureColors::HighColor:
      return image.convertToFormat(QImage::Format_RGB16);
    case TPictureColors::TrueColor:
      break;
  }
  return image;
}

[[noreturn]] void CannotWrite(const std::filesystem::path& fileName, const QString& reason) {
  throw EInOutError(
      QStringLiteral("The picture could not be written to %1: %2")
          .arg(QDir::toNativeSeparators(QFile::decodeName(fileName.c_str())), reason));
}

// What the picture writers write goes straight to the temporary file
// beside the target, so that a failed write keeps the system's reason (a
// full disk) where the writers would say "Unknown error".
class TOutputDevice : public QIODevice {
 public:
  explicit TOutputDevice(platform::TSafeOutput& output) : fOutput(output) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  }

  // The system's reason when a write failed, else `writerReason`.
  QString FailureOr(const QString& writerReason) const {
    return fOutput.Reason().empty() ? writerReason : QString::fromLocal8Bit(fOutput.Reason());
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    return fOutput.Write(std::string_view(data, static_cast<size_t>(size))) ? size : -1;
  }

 private:
  platform::TSafeOutput& fOutput;
};

// The view laid out on a picture of `size` pixels at its resolution.
TPlotView PictureView(const TPlotView& view, QSize size, int pixelsPerInch) {
  TPlotView picture = view;
  picture.DrawWindow.Bounds = {0, 0, size.width(), size.height()};
  picture.DrawWindow.PixelsPerInch = QPoint(pixelsPerInch, pixelsPerInch);
  picture.DrawWindow.PrintLegend = true;
  picture.PlaceLegendBox(false);
  return picture;
}

void WriteBitmap(TPlotView& picture, TOutputDevice& file, const std::filesystem::path& target,
                 const char* format, QSize size, const TPictureAttributes& attributes) {
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) throw EKorvanError(kNoMemory);
  const int dotsPerMeter = static_cast<int>(std::lround(attributes.PixelsPerInch / kMetresPerInch));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  {
    QPainter painter(&image);
    picture.DrawGraph(painter);
  }
  QImage colored = InColors(image, attributes.Colors);
  if (colored.isNull()) throw EKorvanError(kNoMemory);
  image = QImage();
  colored.setDotsPerMeterX(dotsPerMeter);
  colored.setDotsPerMeterY(dotsPerMeter);
  // The PNG encoder loses memory when a write fails under it: it encodes
  // into memory (a compressed picture is small), and the file takes the
  // whole. A bitmap goes to the file as it is encoded.
  QBuffer encoded;
  encoded.open(QIODevice::WriteOnly);
  const bool compressed = std::string_view(format) == "png";
  QImageWriter writer(compressed ? static_cast<QIODevice*>(&encoded) : &file, format);
  if (!writer.write(colored)) CannotWrite(target, file.FailureOr(writer.errorString()));
  if (compressed && file.write(encoded.data()) != encoded.data().size())
    CannotWrite(target, file.FailureOr(file.errorString()));
}

// Drawn into memory first: the texts of the drawing are made valid for XML
// before anything reaches the file.
void WriteSvg(TPlotView& picture, TOutputDevice& file, const std::filesystem::path& target,
              QSize size, int pixelsPerInch) {
  QBuffer drawing;
  drawing.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&drawing);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(pixelsPerInch);
  svg.setTitle(picture.Data().Caption());
  QPainter painter;
  if (!painter.begin(&svg)) CannotWrite(target, QStringLiteral("the drawing cannot be made"));
  picture.DrawGraph(painter);
  painter.end();
  const QByteArray bytes = XmlSafeUtf8(drawing.data());
  if (file.write(bytes) != bytes.size()) CannotWrite(target, file.FailureOr(file.errorString()));
}

void WritePdf(TPlotView& picture, TOutputDevice& file, const std::filesystem::path& target,
              const TPictureAttributes& attributes) {
  QPdfWriter pdf(&file);
  pdf.setResolution(attributes.PixelsPerInch);
  pdf.setTitle(picture.Data().Caption());
  pdf.setCreator(QStringLiteral("KORVAN"));
  const QPageSize page(QSizeF(static_cast<double>(attributes.WidthInches),
                              static_cast<double>(attributes.HeightInches)),
                       QPageSize::Inch, QString(), QPageSize::ExactMatch);
  pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
  QPainter painter;
  if (!painter.begin(&pdf)) CannotWrite(target, file.FailureOr(QStringLiteral("no page")));
  picture.DrawGraph(painter);
  painter.end();
}

bool ValidAttributes(const TPictureAttributes& a) {
  return a.HeightInches >= kMinPictureInches && a.WidthInches >= kMinPictureInches &&
         a.PixelsPerInch >= kMinPicturePixelsPerInch;
}

}  // namespace

std::optional<TPictureFormat> PictureFormatOf(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == QLatin1String("bmp")) return TPictureFormat::Bmp;
  if (suffix == QLatin1String("png")) return TPictureFormat::Png;
  if (suffix == QLatin1String("svg")) return TPictureFormat::Svg;
  if (suffix == QLatin1String("pdf")) return TPictureFormat::Pdf;
  return std::nullopt;
}

QString PictureExtension(TPictureFormat format) {
  switch (format) {
    case TPictureFormat::Bmp:
      return QStringLiteral("bmp");
    case TPictureFormat::Png:
      return QStringLiteral("png");
    case TPictureFormat::Svg:
      return QStringLiteral("svg");
    case TPictureFormat::Pdf:
      break;
  }
  return QStringLiteral("pdf");
}

QSize PicturePixelSize(const TPictureAttributes& attributes) {
  const long double width = std::round(attributes.WidthInches * attributes.PixelsPerInch);
  const long double height = std::round(attributes.HeightInches * attributes.PixelsPerInch);
  if (!(width >= 1 && width <= kMaxPictureSide && height >= 1 && height <= kMaxPictureSide))
    return QSize();
  return QSize(static_cast<int>(width), static_cast<int>(height));
}

std::optional<QString> PictureAttributesProblem(const TPictureAttributes& attributes,
                                                TPictureFormat format) {
  if (!ValidAttributes(attributes))
    return QStringLiteral(
        "A picture must be at least 2 inches high and 2 inches wide, at 10 or more pixels "
        "per inch.");
  const QSize size = PicturePixelSize(attributes);
  const bool bitmap = format == TPictureFormat::Bmp || format == TPictureFormat::Png;
  if (size.isEmpty() || (bitmap && qint64(size.width()) * size.height() * 4 > kMaxBitmapBytes))
    return kNoMemory;
  return std::nullopt;
}

void WritePicture(const TPlotView& view, const std::filesystem::path& fileName,
                  TPictureFormat format, const TPictureAttributes& attributes,
                  const std::vector<platform::TKeptFile>& kept) {
  if (const auto problem = PictureAttributesProblem(attributes, format))
    throw EKorvanError(*problem);
  const QSize size = PicturePixelSize(attributes);
  TPlotView picture = PictureView(view, size, attributes.PixelsPerInch);

  platform::TSafeOutput part(fileName, kept, platform::TProjectNames::kRefused);
  if (!part.Ready()) CannotWrite(fileName, QString::fromLocal8Bit(part.Reason()));
  TOutputDevice file(part);
  switch (format) {
    case TPictureFormat::Bmp:
      WriteBitmap(picture, file, fileName, "bmp", size, attributes);
      break;
    case TPictureFormat::Png:
      WriteBitmap(picture, file, fileName, "png", size, attributes);
      break;
    case TPictureFormat::Svg:
      WriteSvg(picture, file, fileName, size, attributes.PixelsPerInch);
      break;
    case TPictureFormat::Pdf:
      WritePdf(picture, file, fileName, attributes);
      break;
  }
  // A writer that lost a write without saying so (the PDF writer) is caught
  // here: the first failure is kept.
  if (!part.Commit()) CannotWrite(fileName, QString::fromLocal8Bit(part.Reason()));
}

void WritePicture(const TPlotView& view, const QString& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes) {
  WritePicture(view, QFile::encodeName(fileName).toStdString(), format, attributes);
}

void WritePicture(TGraphPlot& graph, const std::filesystem::path& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes,
                  const std::vector<platform::TKeptFile>& kept) {
  TPlotView view(graph);
  if (!view.FitBounds()) throw EKorvanError(NoScaleMessage());
  view.RebuildLegend();
  WritePicture(view, fileName, format, attributes, kept);
}

void WritePicture(TGraphPlot& graph, const QString& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes) {
  WritePicture(graph, QFile::encodeName(fileName).toStdString(), format, attributes);
}

}  // namespace korvan
