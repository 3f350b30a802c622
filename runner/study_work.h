// Where a design study's variants run: a private folder in the system's
// temporary folder ($TMPDIR, else /tmp) with one folder per variant holding
// its data file, so that the runs never meet over names.dat or a folder
// lock. The runs' reports and plot files are read back into outcomes, and
// the whole folder goes with the object. The folder's name carries the
// process's id ("korvan-study-<pid>-XXXXXX"): a study that finds the
// folder of a process of the same user that no longer runs (killed in mid
// study) removes it. No Qt.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runner/study_outcome.h"

namespace korvan {

// One variant: the parameter's value, the file name of its data file
// ("pile-length-600.kv4d") and the file's bytes.
struct TStudyVariantFile {
  double value = 0;
  std::string name;
  std::string bytes;
};

class TStudyWork {
 public:
  explicit TStudyWork(std::vector<TStudyVariantFile> variants);
  ~TStudyWork();
  TStudyWork(const TStudyWork&) = delete;
  TStudyWork& operator=(const TStudyWork&) = delete;

  // The folder and every variant's data file are written.
  bool Ready() const { return fFailure.empty(); }
  // Why the folder could not be made or a run could not go on.
  const std::string& Failure() const { return fFailure; }
  const std::filesystem::path& Folder() const { return fFolder; }
  std::size_t Count() const { return fVariants.size(); }

  // Runs every variant through `launcher` (TVariantRuns), `jobs` at a time;
  // `finished(i)` is called as variant i's run ends. False when `stop`
  // became readable first (the runs under way are ended) or a run could
  // not be started (Failure()).
  bool Run(const TVariantLauncher& launcher, int jobs, int stop,
           const std::function<void(std::size_t)>& finished = {});

  // What each variant gave, in the order of the variants.
  std::vector<TVariantOutcome> Outcomes(const TStudySettings& settings) const;

 private:
  std::filesystem::path VariantFolder(std::size_t index) const;
  std::filesystem::path VariantFile(std::size_t index, const char* extension) const;
  bool WriteVariant(std::size_t index);

  std::vector<TStudyVariantFile> fVariants;
  std::filesystem::path fFolder;
  std::string fFailure;
  std::vector<TVariantRunResult> fResults;
};

}  // namespace korvan
