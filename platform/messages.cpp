#include "messages.h"

#include <iostream>
#include <utility>

namespace korvan::platform {

namespace {
MessageHandler& CurrentHandler() {
  static MessageHandler handler;
  return handler;
}
}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

bool HasMessageHandler() {
  return static_cast<bool>(CurrentHandler());
}

void ShowMessage(const std::string& text) {
  if (CurrentHandler()) {
    CurrentHandler()(text);
  } else {
    std::cerr << text << '\n';
  }
}

}  // namespace korvan::platform
