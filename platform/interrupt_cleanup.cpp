#include "platform/interrupt_cleanup.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>

namespace korvan::platform {

namespace {

// A slot is free, being filled or emptied (the handler passes it by), or
// holds a path the handler removes.
enum : int { kFree, kBusy, kArmed };

struct Slot {
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

// Enough for every file one program has under way at once: a run's
// description and the engine's two outputs, and a few saves.
constexpr std::size_t kSlots = 32;
std::array<Slot, kSlots> gSlots;

extern "C" void RemoveAndExit(int signal) {
  for (Slot& slot : gSlots) {
    if (slot.state.load(std::memory_order_acquire) == kArmed) ::unlink(slot.path);
  }
  ::_exit(TInterruptCleanup::ExitStatus(signal));
}

}  // namespace

void TInterruptCleanup::Install() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    struct sigaction action {};
    action.sa_handler = RemoveAndExit;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    for (const int signal : {SIGINT, SIGTERM}) {
      struct sigaction earlier {};
      if (::sigaction(signal, nullptr, &earlier) == 0 && earlier.sa_handler == SIG_IGN) continue;
      ::sigaction(signal, &action, nullptr);
    }
  });
}

TInterruptCleanup::TInterruptCleanup(const std::filesystem::path& path) {
  const std::string& name = path.native();
  if (name.empty() || name.size() >= PATH_MAX) return;
  Install();
  for (std::size_t i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!gSlots[i].state.compare_exchange_strong(expected, kBusy)) continue;
    std::memcpy(gSlots[i].path, name.c_str(), name.size() + 1);
    gSlots[i].state.store(kArmed, std::memory_order_release);
    fSlot = static_cast<int>(i);
    return;
  }
}

TInterruptCleanup::~TInterruptCleanup() {
  if (fSlot >= 0) gSlots[static_cast<std::size_t>(fSlot)].state.store(kFree);
}

}  // namespace korvan::platform
