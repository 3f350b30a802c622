// Shared set-up of the main-window tests: a project model over the input
// tables, a temporary folder, plot data files written from their blocks,
// settings kept in the temporary folder, and captured messages and answers.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "app/MainForm.h"
#include "message_capture.h"
#include "model/InputTables.h"
#include "model/ProgramData.h"
#include "model/ResultGraphs.h"
#include "platform/qt/message_box.h"
#include "qstring_printer.h"

namespace korvan::testing {

inline QString WriteText(const QString& path, const QString& text) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text.toUtf8());
  return path;
}

inline QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A plot data file in its blocks: t-z curves, tip curve, distributions,
// summary, applied loads.
struct TPlotText {
  std::vector<std::vector<std::pair<double, double>>> tzCurves;     // (t, z) points
  std::vector<std::pair<double, double>> tip = {{0, 0}, {100, 1}};  // (Q, w)
  int unitFlag = 1;
  int increments = 2;
  // Per tip movement: per increment (depth, load, movement); then the
  // summary (head load, head movement, tip movement, tip load).
  std::vector<std::vector<std::array<double, 3>>> distributions;
  std::vector<std::array<double, 4>> summary;
  // Applied loads: flag, the four result values, the distribution.
  struct TCase {
    int flag = 1;
    std::array<double, 4> result{};
    std::vector<std::array<double, 3>> points;
  };
  std::vector<TCase> cases;
  bool withCases = false;

  QString Text() const {
    QString text = QStringLiteral("%1\n").arg(tzCurves.size());
    for (size_t i = 0; i < tzCurves.size(); ++i) {
      text += QStringLiteral("%1 %2 %3\n").arg(i + 1).arg(tzCurves[i].size()).arg(120.0 * i);
      for (const auto& [t, z] : tzCurves[i]) text += QStringLiteral("  %1 %2\n").arg(t).arg(z);
    }
    text += QStringLiteral("%1\n").arg(tip.size());
    for (const auto& [q, w] : tip) text += QStringLiteral("%1 %2\n").arg(q).arg(w);
    text += QStringLiteral("%1 %2 %3\n").arg(distributions.size()).arg(increments).arg(unitFlag);
    for (const auto& line : distributions)
      for (const auto& p : line)
        text += QStringLiteral(" %1 %2 %3\n").arg(p[0]).arg(p[1]).arg(p[2]);
    for (const auto& s : summary)
      text += QStringLiteral("%1 %2 %3 %4\n").arg(s[0]).arg(s[1]).arg(s[2]).arg(s[3]);
    if (!withCases) return text;
    text += QStringLiteral("%1 %2 %3\n").arg(cases.size()).arg(increments).arg(unitFlag);
    for (const auto& c : cases) {
      text += QStringLiteral("%1\n%2 %3 %4 %5\n")
                  .arg(c.flag)
                  .arg(c.result[0])
                  .arg(c.result[1])
                  .arg(c.result[2])
                  .arg(c.result[3]);
      for (const auto& p : c.points)
        text += QStringLiteral(" %1 %2 %3\n").arg(p[0]).arg(p[1]).arg(p[2]);
    }
    return text;
  }
};

// A small complete result: two tip movements over two increments.
inline TPlotText SmallResult() {
  TPlotText plot;
  plot.tzCurves = {{{0, 0}, {2, 0.1}, {3, 1}}};
  plot.distributions = {{{{60, 900, 0.1}}, {{120, 500, 0.05}}},
                        {{{60, 1900, 0.3}}, {{120, 1000, 0.2}}}};
  plot.summary = {{1000, 0.12, 0.1, 400}, {2000, 0.35, 0.3, 700}};
  return plot;
}

// Settings of the program, and the recovery copies of its projects (the
// user's state folder), kept in a temporary folder for the test's life.
class TTestSettings {
 public:
  TTestSettings() : fSavedState(qgetenv("XDG_STATE_HOME")) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, fFolder.path());
    qputenv("XDG_STATE_HOME", QFile::encodeName(StateFolder()));
  }
  ~TTestSettings() { qputenv("XDG_STATE_HOME", fSavedState); }
  TTestSettings(const TTestSettings&) = delete;
  TTestSettings& operator=(const TTestSettings&) = delete;

  QString StateFolder() const { return fFolder.filePath(QStringLiteral("state")); }
  QString RecoveryFolder() const { return StateFolder() + QStringLiteral("/KORVAN/recovery"); }
  // Writes one of the program's settings before the window reads them.
  void Set(const QString& name, const QVariant& value) const {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                       kSettingsApplication);
    settings.beginGroup(kSettingsVersion);
    settings.setValue(name, value);
  }

 private:
  QTemporaryDir fFolder;
  QByteArray fSavedState;
};

// Answers the questions asked while it lives, in order; records them.
class TQuestionAnswers {
 public:
  explicit TQuestionAnswers(std::deque<platform::TAnswer> answers = {})
      : fAnswers(std::move(answers)),
        fPrevious(platform::SetQuestionHandler([this](const QString& text) {
          fAsked.append(text);
          if (fAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return platform::TAnswer::Cancel;
          }
          const platform::TAnswer answer = fAnswers.front();
          fAnswers.pop_front();
          return answer;
        })) {}
  ~TQuestionAnswers() { platform::SetQuestionHandler(std::move(fPrevious)); }
  TQuestionAnswers(const TQuestionAnswers&) = delete;
  TQuestionAnswers& operator=(const TQuestionAnswers&) = delete;

  const QStringList& Asked() const { return fAsked; }

 private:
  std::deque<platform::TAnswer> fAnswers;
  QStringList fAsked;
  platform::QuestionHandler fPrevious;
};

// The project model with result graphs, without the main window.
class GraphsTest : public ::testing::Test {
 protected:
  void SetUp() override { ProgramData = std::make_unique<TProgramData>(fTables); }
  void TearDown() override { ProgramData.reset(); }

  TProgramData& Project() { return *ProgramData; }
  TInputTables& Tables() { return fTables; }
  TResultGraphs& Graphs() { return fGraphs; }
  QString PathOf(const QString& name) const { return fFolder.filePath(name); }

  bool Read(const TPlotText& plot) {
    return fGraphs.ReadPlotData(WriteText(PathOf(QStringLiteral("p.kv4p")), plot.Text()),
                                Project());
  }

 private:
  QTemporaryDir fFolder;
  TInputTables fTables;
  TResultGraphs fGraphs;
};

}  // namespace korvan::testing
