// The graph parameter file (".kv4g"): one block a graph with the display
// choices the user made in its window. A block is applied only when its line
// and point counts still match the graph, so settings written before a rerun
// that changed the results leave that graph at its defaults.
#include <QFile>
#include <algorithm>
#include <string_view>

#include "model/Exceptions.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "model/WordReader.h"
#include "platform/messages.h"
#include "platform/safe_output.h"

namespace korvan {

namespace {

QString Switch(bool on, const char* onText, const char* offText) {
  return on ? QStringLiteral("1%1").arg(QLatin1String(onText))
            : QStringLiteral("0%1").arg(QLatin1String(offText));
}

// The leading integer of a line; the rest of the line is skipped.
int LineInteger(TWordReader& reader) {
  const int value = reader.ReadInteger();
  reader.ReadLine();
  return value;
}

// What one block holds, applied to its graph only once read whole.
struct TBlock {
  bool legend = false;
  bool layers = false;
  bool wall = false;
  int markers = 1;
  int fontSize = 10;
  int lineWidth = 1;
  QString userCaption;
  bool captionOnTop = true;
  QStringList names;
  std::vector<std::pair<bool, bool>> activeVisible;
};

TBlock ReadBlockBody(TWordReader& reader, int lines) {
  TBlock block;
  block.legend = LineInteger(reader) == 1;
  block.layers = LineInteger(reader) == 1;
  block.wall = LineInteger(reader) == 1;
  block.markers = LineInteger(reader);
  block.fontSize = LineInteger(reader);
  block.lineWidth = LineInteger(reader);
  reader.ReadLine();  // ":Graph Title"
  block.userCaption = reader.ReadLine();
  block.captionOnTop = LineInteger(reader) == 1;
  for (int k = 0; k < lines; ++k) {
    reader.ReadLine();  // ":Legend, Line k"
    block.names.append(reader.ReadLine());
  }
  for (int k = 0; k < lines; ++k) {
    const bool active = reader.ReadInteger() == 1;
    const bool visible = LineInteger(reader) == 1;
    block.activeVisible.emplace_back(active, visible);
  }
  return block;
}

void Apply(const TBlock& block, TGraphPlot& plot) {
  plot.SetShowLegend(block.legend);
  plot.SetShowLayers(block.layers);
  plot.SetShowWall(block.wall);
  plot.SetMarkers(block.markers);
  plot.SetSizeFont(block.fontSize);
  plot.SetWidthLine(block.lineWidth);
  plot.UserCaption = block.userCaption;
  plot.UserCaptionOnTop = block.captionOnTop;
  for (int k = 0; k < plot.LineCount(); ++k) {
    TLine& line = plot.GetLines(k);
    line.SetLineName(block.names.at(k));
    line.SetActive(block.activeVisible[static_cast<size_t>(k)].first);
    line.SetVisible(block.activeVisible[static_cast<size_t>(k)].second);
  }
  // The stored active flags hold when the window opens.
  plot.LimitActive = false;
}

}  // namespace

std::vector<TGraphPlot*> TResultGraphs::ParameterGraphs(const TProgramData& project) const {
  std::vector<TGraphPlot*> graphs = {&pltLoad(), &pltDisp()};
  if (project.downdrag == 1) graphs.push_back(&pltDispDown());
  graphs.insert(graphs.end(), {&pltAxial(), &pltTZcurves(), &PltQW()});
  return graphs;
}

QString TResultGraphs::GraphPlotParamsText(const TGraphPlot& plot) {
  const int lines = plot.LineCount();
  const int points = plot.Count();
  QString text;
  auto line = [&text](const QString& value) { text += value + QLatin1Char('\n'); };
  line(QStringLiteral(":Plot Caption"));
  line(plot.Caption());
  line(QStringLiteral("%1 %2   :LineCount, Count").arg(lines).arg(points));
  if (lines <= 0 || points <= 0) return text;
  line(Switch(plot.ShowLegend(), " : Show Legend", " : Do not Show Legend"));
  line(Switch(plot.ShowLayers(), " : Show Soil Layers", " : Do not Show Soil Layers"));
  line(Switch(plot.ShowWall(), " : Show Wall Geometry", " : Do not Show Wall Geometry"));
  line(QStringLiteral("%1   :Markers Index").arg(plot.Markers()));
  line(QStringLiteral("%1   :FontSize Index").arg(plot.SizeFont()));
  line(QStringLiteral("%1   :LineWidth Index").arg(plot.WidthLine()));
  line(QStringLiteral(":Graph Title"));
  line(plot.UserCaption);
  line(Switch(plot.UserCaptionOnTop, " : User Caption on Top", " : User Caption on Bottom"));
  for (int k = 1; k <= lines; ++k) {
    line(QStringLiteral(":Legend, Line %1").arg(k));
    line(plot.GetLines(k - 1).LineName());
  }
  for (int k = 1; k <= lines; ++k) {
    const TLine& curve = plot.GetLines(k - 1);
    line(QStringLiteral("%1 %2 : Active, Visible, Line %3")
             .arg(curve.Active() ? 1 : 0)
             .arg(curve.Visible() ? 1 : 0)
             .arg(k));
  }
  return text;
}

bool TResultGraphs::SaveGraphParams(const QString& fileName, const TProgramData& project) {
  const std::vector<TGraphPlot*> graphs = ParameterGraphs(project);
  if (std::none_of(graphs.begin(), graphs.end(),
                   [](TGraphPlot* plot) { return plot->AnyChange(); }))
    return false;
  QString text;
  for (TGraphPlot* plot : graphs) text += GraphPlotParamsText(*plot);
  // Under the temporary name every save of the program uses, renamed over
  // the earlier file once complete.
  const QByteArray bytes = text.toUtf8();
  platform::TSafeOutput file(QFile::encodeName(fileName).toStdString());
  if (!file.Write(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) ||
      !file.Commit()) {
    throw EInOutError(
        QStringLiteral("The graph settings cannot be saved to \"%1\". %2")
            .arg(fileName, QString::fromLocal8Bit(platform::AsSentence(file.Reason()))));
  }
  for (TGraphPlot* plot : graphs) plot->SetAnyChange(false);
  return true;
}

bool TResultGraphs::ReadGraphPlotParams(TGraphPlot& plot, TWordReader& reader) {
  reader.ReadLine();  // ":Plot Caption"
  reader.ReadLine();  // the caption
  const int lines = reader.ReadInteger();
  const int points = reader.ReadInteger();
  reader.ReadLine();
  if (lines <= 0 || points <= 0) return false;
  if (lines == plot.LineCount() && points == plot.Count()) {
    Apply(ReadBlockBody(reader, lines), plot);
    return true;
  }
  // Another run's block: six switch and size lines, the two title lines,
  // the caption's place, a pair of lines and one flag line per curve.
  for (long long k = 0; k < 6 + 2 + 1 + 3LL * lines; ++k) reader.ReadLine();
  return false;
}

void TResultGraphs::ReadGraphParams(const QString& fileName, const TProgramData& project) {
  TWordReader reader(fileName);
  for (TGraphPlot* plot : ParameterGraphs(project)) ReadGraphPlotParams(*plot, reader);
}

}  // namespace korvan
