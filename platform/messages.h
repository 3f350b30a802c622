// Information messages of the platform layer. The desktop program installs a
// handler that shows a modal box with one OK button; tests install one that
// records the texts; the default writes them to standard error.
#pragma once

#include <functional>
#include <string>

namespace korvan::platform {

using MessageHandler = std::function<void(const std::string& text)>;

// Installs `handler` and returns the one it replaces.
MessageHandler SetMessageHandler(MessageHandler handler);
bool HasMessageHandler();
void ShowMessage(const std::string& text);

}  // namespace korvan::platform
