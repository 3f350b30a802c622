// Failures of the front end: small exception classes carrying the message
// text that the command which started the work shows to the user.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace korvan {

class EKorvanError : public std::exception {
 public:
  explicit EKorvanError(QString message)
      : fMessage(std::move(message)), fUtf8(fMessage.toStdString()) {}
  const QString& Message() const { return fMessage; }
  const char* what() const noexcept override { return fUtf8.c_str(); }

 private:
  QString fMessage;
  std::string fUtf8;
};

// A text file that cannot be opened or read as expected.
class EInOutError : public EKorvanError {
  using EKorvanError::EKorvanError;
};

// An entry that does not evaluate to a number.
class EAssignError : public EKorvanError {
  using EKorvanError::EKorvanError;
};

}  // namespace korvan
