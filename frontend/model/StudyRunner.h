// A design study for the desktop program: the variants are made on the
// calling thread from the project's text, then run by `korvan` beside the
// program on a thread of their own, so that the window never waits for
// them; progress and the end come back as signals on the calling thread.
// Cancel ends the runs under way at once. The study works on a copy of the
// project's text and never touches the project.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runner/study_outcome.h"
#include "runner/study_range.h"

namespace korvan {

struct TStudyRequest {
  QByteArray project;  // as the program saves it
  TStudyRange range;
  std::optional<double> designLoad;
  std::optional<double> settlementLimit;
  bool scaleAE = false;
  std::filesystem::path runner;          // korvan
  std::vector<std::string> environment;  // the report heading's user
  int jobs = 0;                          // 0: one per core
};

class TStudyRunner : public QObject {
  Q_OBJECT

 public:
  explicit TStudyRunner(QObject* parent = nullptr);
  // Cancels a study under way and waits for its runs to end.
  ~TStudyRunner() override;

  // Makes every variant and starts the runs; false, with the message for
  // the user, when the study cannot start (nothing runs then).
  bool Start(const TStudyRequest& request, QString& message);
  // Ends the runs under way; finished() follows with completed false.
  void Cancel();
  bool Running() const { return fRunning; }

  // The last study's outcomes (in the order of the values) and settings.
  const std::vector<TVariantOutcome>& Outcomes() const { return fOutcomes; }
  const TStudySettings& Settings() const { return fSettings; }

 signals:
  void progress(int finished, int total);
  // `completed` is false when the study was cancelled or a run could not be
  // started (`failure` says why); the outcomes then hold the variants whose
  // runs ended before.
  void finished(bool completed, const QString& failure);

 private:
  void Finish(std::vector<TVariantOutcome> outcomes, bool completed, const QString& failure);
  void Join();

  std::thread fThread;
  int fCancel = -1;  // readable once Cancel was asked
  bool fRunning = false;
  int fTotal = 0;
  std::atomic<int> fDone = 0;
  std::vector<TVariantOutcome> fOutcomes;
  TStudySettings fSettings;
};

}  // namespace korvan
