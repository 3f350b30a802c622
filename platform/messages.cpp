#include "platform/messages.h"

#include <cctype>
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

std::string AsSentence(std::string reason) {
  if (reason.empty()) return reason;
  reason.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(reason.front())));
  if (reason.back() != '.') reason += '.';
  return reason;
}

}  // namespace korvan::platform
