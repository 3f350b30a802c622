// Graphs saved as pictures: bitmaps (BMP, PNG) in the colours chosen and
// vector drawings (SVG, PDF) for reports. The picture shows the graph as its
// window does, at the picture's own size and resolution, with the legend box
// drawn in. Usable without a window.
#pragma once

#include <QSize>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

#include "graphs/PlotView.h"
#include "platform/safe_output.h"

namespace korvan {

enum class TPictureFormat { Bmp, Png, Svg, Pdf };

// The colour depths offered for bitmaps; vector drawings keep every colour.
enum class TPictureColors { BlackAndWhite, Colors16, Colors256, HighColor, TrueColor };

struct TPictureAttributes {
  long double HeightInches = 4;
  long double WidthInches = 6;
  int PixelsPerInch = 72;
  TPictureColors Colors = TPictureColors::Colors16;
};

// The smallest picture: 2 by 2 inches at 10 pixels per inch.
inline constexpr long double kMinPictureInches = 2;
inline constexpr int kMinPicturePixelsPerInch = 10;

// The format named by a file's extension (case ignored), if any.
std::optional<TPictureFormat> PictureFormatOf(const QString& fileName);
QString PictureExtension(TPictureFormat format);

// round(width x pixels per inch) by round(height x pixels per inch); an
// empty size when that is beyond any surface.
QSize PicturePixelSize(const TPictureAttributes& attributes);

// Why no picture of `attributes` can be made in `format` (too small, or
// beyond any surface or the memory a bitmap may take), or nothing.
std::optional<QString> PictureAttributesProblem(const TPictureAttributes& attributes,
                                                TPictureFormat format);

// Draws `view`'s graph into a picture file, written beside the target and
// renamed into place so that an existing file survives any failure. A
// target that is one of the `kept` files, that has the extension of a
// project's files, or that is read-only or no regular file is refused.
// Texts in an SVG drawing are made valid for XML (XmlText.h). Throws
// EKorvanError with the message for the user; nothing is written then.
void WritePicture(const TPlotView& view, const std::filesystem::path& fileName,
                  TPictureFormat format, const TPictureAttributes& attributes,
                  const std::vector<platform::TKeptFile>& kept = {});
void WritePicture(const TPlotView& view, const QString& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes);

// The same without a window: the full range of the graph, its active lines
// in the legend, and the legend box in the plotting area's bottom-right
// corner.
void WritePicture(TGraphPlot& graph, const std::filesystem::path& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes,
                  const std::vector<platform::TKeptFile>& kept = {});
void WritePicture(TGraphPlot& graph, const QString& fileName, TPictureFormat format,
                  const TPictureAttributes& attributes);

}  // namespace korvan
