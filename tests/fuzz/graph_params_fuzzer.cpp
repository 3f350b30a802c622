// Arbitrary bytes as the graph settings file (".kv4g") applied to graphs
// filled from a sample's plot file. Reading ends with the blocks applied or
// the reader's message, never a crash or a hang. Whatever was applied
// writes a settings file that reads back to the same settings.
//
// With KORVAN_FUZZ_WRITE_SEED=<file> set, the target writes the settings of
// its graphs as they are before any input to <file> (the seed in
// corpus/graph_params) and exits.
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/Exceptions.h"
#include "qt_fuzz_support.h"
#include "result_graphs_fuzz_support.h"

namespace {

using korvan::TResultGraphs;

const korvan::TProgramData& FilledProject() {
  static const korvan::TProgramData* const project = [] {
    korvan::TProgramData& filled = korvan::fuzz::ProjectFor('G');
    const QString plot = QStringLiteral(KORVAN_FUZZ_CORPUS_DIR "/plot_data/downdrag-modified-si");
    QFile seed(plot);
    if (!seed.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray bytes = seed.readAll().mid(1);  // without its selector byte
    const QString path = korvan::fuzz::WriteScratchFile(
        QStringLiteral("pile.kv4p"), reinterpret_cast<const std::uint8_t*>(bytes.constData()),
        static_cast<std::size_t>(bytes.size()));
    if (!korvan::fuzz::Graphs().ReadPlotData(path, filled)) std::abort();
    return &filled;
  }();
  return *project;
}

QString SettingsText(const korvan::TProgramData& project) {
  QString text;
  for (const korvan::TGraphPlot* plot : korvan::fuzz::Graphs().ParameterGraphs(project)) {
    text += TResultGraphs::GraphPlotParamsText(*plot);
  }
  return text;
}

QString WriteText(const QString& name, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return korvan::fuzz::WriteScratchFile(name, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        static_cast<std::size_t>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  korvan::fuzz::EnsureApplication();
  const korvan::TProgramData& project = FilledProject();
  if (const char* seed = std::getenv("KORVAN_FUZZ_WRITE_SEED")) {
    QFile file(QString::fromLocal8Bit(seed));
    if (!file.open(QIODevice::WriteOnly) || file.write(SettingsText(project).toUtf8()) < 0) {
      std::abort();
    }
    file.close();
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvan::fuzz::Graphs;
  const korvan::TProgramData& project = FilledProject();
  // Each input starts from the graphs' settings as the plot file left them.
  static const QString defaults = SettingsText(project);
  Graphs().ReadGraphParams(WriteText(QStringLiteral("defaults.kv4g"), defaults), project);

  try {
    Graphs().ReadGraphParams(korvan::fuzz::WriteScratchFile(QStringLiteral("in.kv4g"), data, size),
                             project);
  } catch (const korvan::EInOutError&) {
    // The blocks before the damaged one stay applied; they are checked below.
  }
  const QString applied = SettingsText(project);
  Graphs().ReadGraphParams(WriteText(QStringLiteral("applied.kv4g"), defaults), project);
  Graphs().ReadGraphParams(WriteText(QStringLiteral("saved.kv4g"), applied), project);
  const QString again = SettingsText(project);
  korvan::fuzz::Require(again == applied, "settings written read back to the same settings",
                        QStringLiteral("--- written:\n%1\n--- read back:\n%2").arg(applied, again));
  return 0;
}
