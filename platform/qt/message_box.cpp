#include "platform/qt/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "platform/messages.h"

namespace korvan::platform {

namespace {

QuestionHandler& CurrentQuestionHandler() {
  static QuestionHandler handler;
  return handler;
}

void ShowBoxNow(QMessageBox::Icon icon, const QString& text) {
  // Messages break their lines with a lone carriage return; the box needs a
  // line feed to show the break.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(icon, QApplication::applicationName(), shown, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void ShowBox(QMessageBox::Icon icon, const QString& text) {
  if (HasMessageHandler()) {
    ShowMessage(text.toStdString());
    return;
  }
  ShowBoxNow(icon, text);
}

}  // namespace

void ShowInformation(const QString& text) {
  ShowBox(QMessageBox::Information, text);
}

void ShowWarning(const QString& text) {
  ShowBox(QMessageBox::Warning, text);
}

void ShowMessageInBox(const std::string& text) {
  ShowBoxNow(QMessageBox::Information, QString::fromStdString(text));
}

TAnswer AskYesNoCancel(const QString& text) {
  return AskYesNoCancel(text, TQuestionButtons{});
}

TAnswer AskYesNoCancel(const QString& text, const TQuestionButtons& buttons) {
  if (CurrentQuestionHandler()) return CurrentQuestionHandler()(text);
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  QApplication::activeWindow());
  if (!buttons.Yes.isEmpty()) box.button(QMessageBox::Yes)->setText(buttons.Yes);
  if (!buttons.No.isEmpty()) box.button(QMessageBox::No)->setText(buttons.No);
  switch (buttons.Default) {
    case TAnswer::Yes:
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case TAnswer::No:
      box.setDefaultButton(QMessageBox::No);
      break;
    case TAnswer::Cancel:
      box.setDefaultButton(QMessageBox::Cancel);
      break;
  }
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TAnswer::Yes;
    case QMessageBox::No:
      return TAnswer::No;
    default:
      return TAnswer::Cancel;
  }
}

QuestionHandler SetQuestionHandler(QuestionHandler handler) {
  return std::exchange(CurrentQuestionHandler(), std::move(handler));
}

}  // namespace korvan::platform
