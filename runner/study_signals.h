// SIGINT and SIGTERM held back while a design study runs its variants, and
// taken as an event the study can wait for together with its runs: the
// study then ends the runs, removes its temporary folder and the file it
// was writing, and exits with 130 or 143 like every command. A signal the
// program was started with ignored stays ignored. Once the object goes, a
// signal that arrived in between ends the program as usual
// (TInterruptCleanup).
#pragma once

#include <signal.h>

namespace korvan {

class TInterruptWatch {
 public:
  TInterruptWatch();
  ~TInterruptWatch();
  TInterruptWatch(const TInterruptWatch&) = delete;
  TInterruptWatch& operator=(const TInterruptWatch&) = delete;

  // Readable once a signal has arrived; -1 when it could not be opened
  // (the signals then end the program at once, as elsewhere).
  int Descriptor() const { return fDescriptor; }
  // The signal that arrived (SIGINT or SIGTERM), or 0.
  int Arrived();

 private:
  sigset_t fEarlier;
  int fDescriptor = -1;
  int fArrived = 0;
};

}  // namespace korvan
