// Answers the questions the program asks (Yes/No/Cancel boxes) while it
// lives, and records them.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <deque>

#include "platform/qt/message_box.h"

namespace korvan::testing {

// Answers the questions asked while it lives, in order; records them.
class TQuestionAnswers {
 public:
  explicit TQuestionAnswers(std::deque<platform::TAnswer> answers = {})
      : fAnswers(std::move(answers)),
        fPrevious(platform::SetQuestionHandler([this](const QString& text) {
          fAsked.append(text);
          if (fAnswers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return platform::TAnswer::Cancel;
          }
          const platform::TAnswer answer = fAnswers.front();
          fAnswers.pop_front();
          return answer;
        })) {}
  ~TQuestionAnswers() { platform::SetQuestionHandler(std::move(fPrevious)); }
  TQuestionAnswers(const TQuestionAnswers&) = delete;
  TQuestionAnswers& operator=(const TQuestionAnswers&) = delete;

  const QStringList& Asked() const { return fAsked; }

 private:
  std::deque<platform::TAnswer> fAnswers;
  QStringList fAsked;
  platform::QuestionHandler fPrevious;
};

}  // namespace korvan::testing
