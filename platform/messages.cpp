#include "messages.h"

#include <iostream>
#include <utility>

namespace korvan::platform {

namespace {
MessageHandler& CurrentHandler() {
  static MessageHandler handler;
  return handler;
}
MessageHandler& CurrentPresenter() {
  static MessageHandler presenter;
  return presenter;
}
}  // namespace

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

bool HasMessageHandler() {
  return static_cast<bool>(CurrentHandler());
}

MessageHandler SetMessagePresenter(MessageHandler presenter) {
  return std::exchange(CurrentPresenter(), std::move(presenter));
}

void ShowMessage(const std::string& text) {
  if (CurrentHandler()) {
    CurrentHandler()(text);
  } else if (CurrentPresenter()) {
    CurrentPresenter()(text);
  } else {
    std::cerr << text << '\n';
  }
}

}  // namespace korvan::platform
