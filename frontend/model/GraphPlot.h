// The graph model: a result graph of the program is a TGraphPlot holding
// lines of (x, y) points, the soil-layer lines drawn beside them, the axis
// captions and the display settings the user changes in the graph window.
// The model draws nothing and knows no window: the graph windows
// (TPlotForm) show it and follow its signals.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace korvan {

class TGraphPlot;

class TFloatPoint {
 public:
  TFloatPoint() = default;
  TFloatPoint(long double ax, long double ay) : x(ax), y(ay) {}

  long double x = 0;
  long double y = 0;
};

// A data range: Left..Right in x, Top..Bottom in y with Top the smaller y.
struct TFloatRect {
  long double Left = 0;
  long double Right = 0;
  long double Top = 0;
  long double Bottom = 0;
};

// One curve of a graph, or one layer of its soil-layer strip.
class TLine {
 public:
  TLine(TGraphPlot* owner, int index);

  // Number of points: a smaller count drops points from the end, a larger
  // one appends points at (0, 0); a negative count counts as 0.
  int Count() const { return static_cast<int>(fData.size()); }
  void SetCount(int count);
  TFloatPoint& Point(int index) { return fData.at(static_cast<size_t>(index)); }
  const TFloatPoint& Point(int index) const { return fData.at(static_cast<size_t>(index)); }

  // The line's number, its 1-based position when it was made.
  long double Value() const { return fValue; }
  void SetValue(long double value) { fValue = value; }

  // The explicit name when there is one; else the graph's default name for
  // this position; else the graph's curve name followed by the number.
  QString LineName() const;
  void SetLineName(const QString& name) { fValueS = name; }
  const QString& ExplicitName() const { return fValueS; }

  bool Visible() const { return fVisible; }
  void SetVisible(bool visible) { fVisible = visible; }
  bool Active() const { return fActive; }
  void SetActive(bool active) { fActive = active; }

  TGraphPlot* Owner() const { return fOwner; }

 private:
  std::vector<TFloatPoint> fData;
  long double fValue;
  QString fValueS;
  bool fVisible = true;
  bool fActive = true;
  TGraphPlot* fOwner;
  int fIndex;  // position in its collection; lines come and go only at the end
};

// A collection of lines whose count and point count are set as a whole.
class TLineCollection {
 public:
  explicit TLineCollection(TGraphPlot* owner) : fOwner(owner) {}

  int LineCount() const { return static_cast<int>(fLines.size()); }
  // Drops lines from the end or appends lines as long as the first line.
  void SetLineCount(int count);
  // Point count of the first line, or 0.
  int Count() const { return fLines.empty() ? 0 : fLines.front()->Count(); }
  // Sets the point count of every line.
  void SetCount(int count);

  TLine& Line(int index) { return *fLines.at(static_cast<size_t>(index)); }
  const TLine& Line(int index) const { return *fLines.at(static_cast<size_t>(index)); }

 private:
  TGraphPlot* fOwner;
  std::vector<std::unique_ptr<TLine>> fLines;
};

// Unit codes of an axis caption in the names of a unit system: in systems 1
// and 2 "F2", "F1" or "F" (the first kind that occurs) and "L2", "L1" or "L"
// are replaced; system 3 shows the codes as written.
QString ExpandUnitCodes(const QString& codes, int units);

// Colour of the k-th active line (from 0) of a graph, of its legend entry and
// of its name in the legend editor.
QColor LineColor(int k);
inline constexpr int kLineColorCount = 17;

// Lines beyond this many are made inactive when a graph's window opens,
// unless the graph's limit is cleared.
inline constexpr int kActiveLineLimit = 20;

class TGraphPlot : public QObject {
  Q_OBJECT

 public:
  // Called with a line's index and its name before the name enters the
  // legend; may change the name.
  using TGetCaptionEvent = std::function<void(int index, QString& name)>;

  explicit TGraphPlot(QObject* owner = nullptr);
  ~TGraphPlot() override;

  // Stored display settings.
  const QString& CurveName() const { return fCurveName; }
  void SetCurveName(const QString& name) { fCurveName = name; }
  const QString& Caption() const { return fCaption; }
  void SetCaption(const QString& caption) { fCaption = caption; }
  bool AnyChange() const { return fAnyChange; }
  void SetAnyChange(bool changed);
  bool ShowLegend() const { return fShowLegend; }
  void SetShowLegend(bool show) { fShowLegend = show; }
  bool ShowLayers() const { return fShowLayers; }
  void SetShowLayers(bool show) { fShowLayers = show; }
  bool ShowWall() const { return fShowWall; }
  void SetShowWall(bool show) { fShowWall = show; }
  bool ShowThree() const { return fShowThree; }
  void SetShowThree(bool show) { fShowThree = show; }
  bool ShowFontWidth() const { return fShowFontWidth; }
  void SetShowFontWidth(bool show) { fShowFontWidth = show; }
  int WallLineCount() const { return fWallLineCount; }
  void SetWallLineCount(int count) { fWallLineCount = count; }
  int Markers() const { return fMarkers; }
  void SetMarkers(int every) { fMarkers = every; }
  int SizeFont() const { return fSizeFont; }
  void SetSizeFont(int tenths) { fSizeFont = tenths; }
  int LegendFont() const { return fLegendFont; }
  void SetLegendFont(int points) { fLegendFont = points; }
  int WidthLine() const { return fWidthLine; }
  void SetWidthLine(int multiplier) { fWidthLine = multiplier; }
  int Units() const { return fUnits; }
  void SetUnits(int system);  // clamped to 1..3
  const QString& XCaption() const { return fXCaption; }
  void SetXCaption(const QString& caption) { fXCaption = caption; }
  const QString& YCaption() const { return fYCaption; }
  void SetYCaption(const QString& caption) { fYCaption = caption; }
  const QString& XUnits() const { return fXUnits; }
  void SetXUnits(const QString& codes) { fXUnits = codes; }
  const QString& YUnits() const { return fYUnits; }
  void SetYUnits(const QString& codes) { fYUnits = codes; }
  bool XOnTop() const { return fXOnTop; }
  void SetXOnTop(bool onTop) { fXOnTop = onTop; }

  // Unstored state.
  QString UserCaption;
  bool UserCaptionOnTop = true;
  long double LayersTop = 0;
  bool LimitActive = true;
  QStringList DefLineNames;
  TGetCaptionEvent OnGetCaption;
  // Folder of the results the graph shows: saved pictures go there first.
  QString ResultFolder;

  // Data lines.
  int LineCount() const { return fLines.LineCount(); }
  void SetLineCount(int count) { fLines.SetLineCount(count); }
  int Count() const { return fLines.Count(); }
  void SetCount(int count) { fLines.SetCount(count); }
  TLine& GetLines(int index) { return fLines.Line(index); }
  const TLine& GetLines(int index) const { return fLines.Line(index); }
  TFloatPoint& GetData(int line, int point) { return GetLines(line).Point(point); }
  const TFloatPoint& GetData(int line, int point) const { return GetLines(line).Point(point); }

  // Layer lines of the soil-layer strip: one point each, x the fill pattern
  // code and y the depth of the layer's bottom; the name is the layer's.
  int LayerLineCount() const { return fLayerLines.LineCount(); }
  void SetLayerLineCount(int count) { fLayerLines.SetLineCount(count); }
  int LayerCount() const { return fLayerLines.Count(); }
  void SetLayerCount(int count) { fLayerLines.SetCount(count); }
  TLine& GetLayerLines(int index) { return fLayerLines.Line(index); }
  const TLine& GetLayerLines(int index) const { return fLayerLines.Line(index); }
  TFloatPoint& GetLayerData(int line, int point) { return GetLayerLines(line).Point(point); }
  const TFloatPoint& GetLayerData(int line, int point) const {
    return GetLayerLines(line).Point(point);
  }

  bool HasSomethingToDraw() const { return LineCount() > 0; }

  // The name of a line as its legend entry shows it (through OnGetCaption).
  QString LegendCaption(int line) const;

 signals:
  // The changed flag went up or down; the main window watches it to know
  // that the graph parameters need storing.
  void anyChangeChanged(bool changed);
  // The graph is about to go: a window that shows it must go first.
  void destroying();

 private:
  QString fCurveName = QStringLiteral("Curve #");
  QString fCaption;
  bool fAnyChange = false;
  bool fShowLegend = true;
  bool fShowLayers = false;
  bool fShowWall = false;
  bool fShowThree = false;
  bool fShowFontWidth = true;
  int fWallLineCount = 0;
  int fMarkers = 1;
  int fSizeFont = 10;
  int fLegendFont = 11;
  int fWidthLine = 1;
  int fUnits = 1;
  QString fXCaption;
  QString fYCaption;
  QString fXUnits;
  QString fYUnits;
  bool fXOnTop = true;

  TLineCollection fLines{this};
  TLineCollection fLayerLines{this};
};

}  // namespace korvan
