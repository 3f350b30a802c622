// Information messages of the platform layer. Tests install a handler that
// records the texts; without one, a message goes to the presenter the
// program installed (the desktop program's shows a modal box with one OK
// button), or else to standard error.
#pragma once

#include <functional>
#include <string>

namespace korvan::platform {

using MessageHandler = std::function<void(const std::string& text)>;

// Installs `handler` and returns the one it replaces.
MessageHandler SetMessageHandler(MessageHandler handler);
bool HasMessageHandler();
// Installs the presenter and returns the one it replaces.
MessageHandler SetMessagePresenter(MessageHandler presenter);
void ShowMessage(const std::string& text);

// A reason that ends a message as a sentence of its own: "it is read-only"
// becomes "It is read-only."
std::string AsSentence(std::string reason);

}  // namespace korvan::platform
