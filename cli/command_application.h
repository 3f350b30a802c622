// The Qt application a command of korvan needs: Qt Core to read and write
// projects, Qt Gui to draw. Drawing needs fonts and paint devices, never a
// display: the Gui application is always offscreen.
#pragma once

#include <QCoreApplication>
#include <memory>

namespace korvan {

class TCommandApplication {
 public:
  enum class TKind { kCore, kGui };
  explicit TCommandApplication(TKind kind);
  ~TCommandApplication();
  TCommandApplication(const TCommandApplication&) = delete;
  TCommandApplication& operator=(const TCommandApplication&) = delete;

 private:
  // The application keeps referring to its arguments for its whole life.
  int fArgc = 1;
  char fName[7] = "korvan";
  char* fArgv[2] = {fName, nullptr};
  std::unique_ptr<QCoreApplication> fApplication;
};

}  // namespace korvan
