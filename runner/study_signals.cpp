#include "runner/study_signals.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace korvan {

TInterruptWatch::TInterruptWatch() {
  sigset_t interrupts;
  sigemptyset(&interrupts);
  sigaddset(&interrupts, SIGINT);
  sigaddset(&interrupts, SIGTERM);
  fDescriptor = ::signalfd(-1, &interrupts, SFD_CLOEXEC | SFD_NONBLOCK);
  if (fDescriptor >= 0) ::pthread_sigmask(SIG_BLOCK, &interrupts, &fEarlier);
}

TInterruptWatch::~TInterruptWatch() {
  if (fDescriptor < 0) return;
  ::close(fDescriptor);
  ::pthread_sigmask(SIG_SETMASK, &fEarlier, nullptr);
}

int TInterruptWatch::Arrived() {
  if (fArrived != 0 || fDescriptor < 0) return fArrived;
  signalfd_siginfo info{};
  if (::read(fDescriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    fArrived = static_cast<int>(info.ssi_signo);
  }
  return fArrived;
}

}  // namespace korvan
