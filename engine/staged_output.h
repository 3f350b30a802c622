// An output written beside its target under a temporary name and renamed over
// the target once complete, so that a run that is killed, or stops before its
// outputs are whole, leaves the earlier file as it was.
//
// The temporary name is .korvan.<pid>.<tag>.part in the target's own folder:
// <pid> is this process's decimal id and <tag> a short name of the output
// ([a-z0-9]{1,12}). Every part of KORVAN that writes beside a target uses
// this form, so the runner knows the engine's names (it removes them when it
// is interrupted), and whoever writes into a folder first removes the
// temporary files there that a process no longer alive left behind.
#pragma once

#include <string>
#include <string_view>

namespace korvan {

// Removes the temporary files in the folder of `target` whose process has
// ended (a pid for which kill(pid, 0) fails with ESRCH). Those of this
// process and of live processes, and anything but regular files, are left.
void RemoveStaleTemporaryFiles(const std::string& target);

class StagedOutput {
 public:
  StagedOutput() = default;
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;
  // A temporary file that was not put in place is removed.
  ~StagedOutput() {
    Discard();
    CloseFolder();
  }

  // Creates the temporary file of `target`, empty and new (a leftover of the
  // same name is removed first, so nothing it pointed to is written), with
  // the permissions of an existing target. Returns its descriptor, or -1
  // with errno set.
  int Create(const std::string& target, std::string_view tag);
  bool IsCreated() const { return pending_; }
  const std::string& Target() const { return target_; }

  // Empties the temporary file (an output that could not be written whole
  // goes in place empty rather than cut short). False with errno set.
  bool Empty();
  // Renames the temporary file over the target. False with errno set; the
  // temporary file is then still there (Discard removes it).
  bool PutInPlace();
  // Removes the temporary file unless it was put in place.
  void Discard();

 private:
  void CloseFolder();

  std::string target_;
  int folder_ = -1;            // the target's folder (O_PATH)
  std::string name_;           // the target's name in it
  std::string temporaryName_;  // the temporary file's name in it
  bool pending_ = false;       // the temporary file exists
};

// Puts both outputs in place, the plot file first, with signals held back
// in between so that an interrupt cannot leave a new file beside an old one.
// False (errno set) when a rename fails; `failed` then names that output.
bool PutInPlaceTogether(StagedOutput& plot, StagedOutput& report, const StagedOutput*& failed);

}  // namespace korvan
