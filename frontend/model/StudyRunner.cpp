#include "model/StudyRunner.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "runner/study_variant.h"
#include "runner/study_work.h"

namespace korvan {

TStudyRunner::TStudyRunner(QObject* parent)
    : QObject(parent), fCancel(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TStudyRunner::~TStudyRunner() {
  Cancel();
  Join();
  if (fCancel >= 0) ::close(fCancel);
}

void TStudyRunner::Join() {
  if (fThread.joinable()) fThread.join();
}

void TStudyRunner::Cancel() {
  if (!fRunning || fCancel < 0) return;
  const std::uint64_t one = 1;
  (void)!::write(fCancel, &one, sizeof one);
}

bool TStudyRunner::Start(const TStudyRequest& request, QString& message) {
  if (fRunning) {
    message = QStringLiteral("A design study is under way.");
    return false;
  }
  if (fCancel < 0) {
    message = QStringLiteral("A design study cannot be run: the system gives no event for Cancel.");
    return false;
  }
  std::string error;
  const std::optional<std::vector<double>> values = StudyValues(request.range, error);
  if (!values) {
    message = QString::fromStdString(error);
    return false;
  }
  const TVariantRules rules{request.range.parameter, request.designLoad, request.scaleAE};
  const TVariantMaker maker(request.project.toStdString(), rules);
  if (!maker.Problem().empty()) {
    message = QString::fromStdString(maker.Problem());
    return false;
  }
  std::vector<TStudyVariantFile> variants;
  for (const double value : *values) {
    std::optional<std::string> text = maker.VariantText(value, error);
    if (!text) {
      message = QString::fromStdString(error);
      return false;
    }
    variants.push_back({value,
                        std::string("variant-") + ParameterWord(rules.parameter) + "-" +
                            ValueText(value) + ".kv4d",
                        std::move(*text)});
  }
  fSettings = TStudySettings{};
  fSettings.parameter = rules.parameter;
  fSettings.unitSystem = maker.Units();
  if (request.designLoad) fSettings.designLoad = DataFileValue(*request.designLoad);
  fSettings.settlementLimit = request.settlementLimit;
  fSettings.designLoadIndex = maker.DesignLoadIndex();
  fSettings.curvesStartAtOrigin = !maker.DownDrag();
  auto work = std::make_unique<TStudyWork>(std::move(variants));
  if (!work->Ready()) {
    message = QStringLiteral("The variants cannot be prepared for their runs: %1")
                  .arg(QString::fromStdString(work->Failure()));
    return false;
  }
  // A cancel left over from the last study must not stop this one.
  std::uint64_t drained = 0;
  while (::read(fCancel, &drained, sizeof drained) > 0) {
  }
  Join();
  fOutcomes.clear();
  fTotal = static_cast<int>(work->Count());
  fDone = 0;
  fRunning = true;
  const TVariantLauncher launcher = SpawnedRunner(request.runner, request.environment);
  const int jobs = request.jobs > 0
                       ? request.jobs
                       : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  fThread =
      std::thread([this, work = std::move(work), launcher, jobs, settings = fSettings]() mutable {
        const bool completed = work->Run(launcher, jobs, fCancel, [this](std::size_t) {
          const int done = ++fDone;
          QMetaObject::invokeMethod(
              this, [this, done] { emit progress(done, fTotal); }, Qt::QueuedConnection);
        });
        std::vector<TVariantOutcome> outcomes = work->Outcomes(settings);
        const QString failure = QString::fromStdString(work->Failure());
        work.reset();  // the runs' folder goes
        QMetaObject::invokeMethod(
            this,
            [this, outcomes = std::move(outcomes), completed, failure]() mutable {
              Finish(std::move(outcomes), completed, failure);
            },
            Qt::QueuedConnection);
      });
  return true;
}

void TStudyRunner::Finish(std::vector<TVariantOutcome> outcomes, bool completed,
                          const QString& failure) {
  Join();
  fOutcomes = std::move(outcomes);
  fRunning = false;
  emit finished(completed, failure);
}

}  // namespace korvan
