// Message boxes of the desktop program. Every information and warning
// message goes through ShowInformation or ShowWarning, and every question
// through AskYesNoCancel, so that tests can catch the texts (and answer the
// questions) instead of facing a modal box: messages through
// korvan::platform::SetMessageHandler, questions through SetQuestionHandler.
#pragma once

#include <QString>
#include <functional>
#include <string>

namespace korvan::platform {

// Shows `text` in a modal information box with a single OK button, or hands
// it to the installed message handler when there is one.
void ShowInformation(const QString& text);

// The same with the warning icon.
void ShowWarning(const QString& text);

// Shows a message of the platform layer (such as the engine library's
// loading errors) in an information box: the desktop program installs it
// with SetMessagePresenter, so that no message is lost on standard error.
void ShowMessageInBox(const std::string& text);

enum class TAnswer { Yes, No, Cancel };

// Asks `text` in a modal box with the question icon and the buttons Yes, No
// and Cancel (closing the box counts as Cancel), or asks the installed
// question handler when there is one.
TAnswer AskYesNoCancel(const QString& text);

// The captions of the Yes and No buttons of a question (empty: "Yes" and
// "No"), and the button that Enter presses.
struct TQuestionButtons {
  QString Yes;
  QString No;
  TAnswer Default = TAnswer::Yes;
};
TAnswer AskYesNoCancel(const QString& text, const TQuestionButtons& buttons);

using QuestionHandler = std::function<TAnswer(const QString& text)>;
// Installs `handler` and returns the one it replaces.
QuestionHandler SetQuestionHandler(QuestionHandler handler);

}  // namespace korvan::platform
