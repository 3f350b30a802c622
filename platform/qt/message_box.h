// Message boxes of the desktop program. Every information message goes
// through ShowInformation, so that tests can catch the texts with
// korvan::platform::SetMessageHandler instead of facing a modal box.
#pragma once

#include <QString>

namespace korvan::platform {

// Shows `text` in a modal information box with a single OK button, or hands
// it to the installed message handler when there is one.
void ShowInformation(const QString& text);

}  // namespace korvan::platform
