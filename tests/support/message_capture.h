// Records the information messages shown while it lives.
#pragma once

#include <string>
#include <vector>

#include "platform/messages.h"

namespace korvan::testing {

class TMessageCapture {
 public:
  TMessageCapture()
      : fPrevious(platform::SetMessageHandler(
            [this](const std::string& text) { fMessages.push_back(text); })) {}
  ~TMessageCapture() { platform::SetMessageHandler(std::move(fPrevious)); }
  TMessageCapture(const TMessageCapture&) = delete;
  TMessageCapture& operator=(const TMessageCapture&) = delete;

  const std::vector<std::string>& Messages() const { return fMessages; }
  void Clear() { fMessages.clear(); }

 private:
  std::vector<std::string> fMessages;
  platform::MessageHandler fPrevious;
};

}  // namespace korvan::testing
