#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

#include "components/DataEdit.h"
#include "support/message_capture.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

using testing::TMessageCapture;

void Type(TDataEdit& edit, Qt::Key key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&edit, &press);
}

void Leave(TDataEdit& edit, Qt::FocusReason reason) {
  QFocusEvent out(QEvent::FocusOut, reason);
  QApplication::sendEvent(&edit, &out);
}

// The number-of-increments field: whole numbers from 10 to 500.
void MakeIncrementsField(TDataEdit& edit) {
  edit.SetIntegerOnly(true);
  edit.SetMinVal(10);
  edit.SetMaxVal(500);
}

TEST(DataEdit, StartsWithItsDefaults) {
  TDataEdit edit;
  EXPECT_EQ(edit.text(), "0");
  EXPECT_EQ(edit.Number(), 0.0L);
  EXPECT_FALSE(edit.IntegerOnly());
  EXPECT_EQ(edit.MinVal(), -1.18973149535723176e100L);
  EXPECT_EQ(edit.MaxVal(), 1.18973149535723176e100L);
  EXPECT_EQ(edit.Units(), 1);
  EXPECT_TRUE(edit.Caption().isEmpty());
  EXPECT_TRUE(edit.UnitsString().isEmpty());
}

struct ExitCase {
  const char* typed;
  bool integerOnly;
  bool ok;
  const char* message;  // empty when none
  const char* textAfter;
};

class ExitCheckTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitCheckTest, ChecksEvaluatesAndRewrites) {
  const auto& c = GetParam();
  TDataEdit edit;
  edit.SetMinVal(10);
  edit.SetMaxVal(500);
  edit.SetIntegerOnly(c.integerOnly);
  edit.setText(QString::fromUtf8(c.typed));
  TMessageCapture messages;
  EXPECT_EQ(edit.CloseQuery(), c.ok) << c.typed;
  if (*c.message == '\0') {
    EXPECT_TRUE(messages.Messages().empty()) << c.typed;
  } else {
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{c.message}) << c.typed;
  }
  EXPECT_EQ(edit.text(), QLatin1String(c.textAfter)) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ExitCheckTest,
    ::testing::Values(
        ExitCase{"5", true, false, "Entry must be greater than or equal to 10", "10"},
        ExitCase{"7.5", true, false, "Entry must be an integer.", "7.5"},
        ExitCase{"600", true, false, "Entry must be less than or equal to 500", "500"},
        ExitCase{"2*60", true, true, "", "120"}, ExitCase{" 1e2 ", true, true, "", "100"},
        ExitCase{"abc", true, false, "Entry must be a valid integer.", "abc"},
        ExitCase{"abc", false, false,
                 "Entry could not be evaluated:\ninvalid character(s) in expression", "abc"},
        ExitCase{"", false, false, "Entry could not be evaluated:\nentry cannot be blank", ""},
        ExitCase{"100/3", false, true, "", "33.333333"},
        ExitCase{"9.5", false, false, "Entry must be greater than or equal to 10", "10"}));

// A field with its default limits refuses what a table cell refuses: numbers
// beyond what a project keeps.
TEST(DataEdit, DefaultLimitsRefuseWhatTheProjectCannotKeep) {
  struct Case {
    const char* typed;
    bool ok;
    const char* message;
    const char* textAfter;
  };
  for (const Case c :
       {Case{"1e308*10", false, "Entry must be less than or equal to 1.1897315E100",
             "1.1897315E100"},
        Case{"-1e999", false, "Entry must be greater than or equal to -1.1897315E100",
             "-1.1897315E100"},
        Case{"1e-4000", true, "", "1E-4000"}, Case{"1e100", true, "", "1E100"}}) {
    TDataEdit edit;
    edit.setText(QString::fromLatin1(c.typed));
    TMessageCapture messages;
    EXPECT_EQ(edit.CloseQuery(), c.ok) << c.typed;
    std::vector<std::string> expected;
    if (*c.message) expected.emplace_back(c.message);
    EXPECT_EQ(messages.Messages(), expected) << c.typed;
    EXPECT_EQ(edit.text(), QLatin1String(c.textAfter)) << c.typed;
  }
}

TEST(DataEdit, ALimitViolationLeavesTheLimitForTheNextCheck) {
  TDataEdit edit;
  MakeIncrementsField(edit);
  edit.setText("5");
  TMessageCapture messages;
  EXPECT_FALSE(edit.CloseQuery());
  EXPECT_EQ(edit.Number(), 10.0L);
  EXPECT_TRUE(edit.CloseQuery());
  EXPECT_EQ(messages.Messages().size(), 1u);
}

TEST(DataEdit, MovingALimitPastTheNumberMovesTheNumber) {
  TDataEdit edit;
  edit.SetNumber(50);
  edit.SetMaxVal(20);
  EXPECT_EQ(edit.Number(), 20.0L);
  edit.SetMinVal(30);  // at most MaxVal
  EXPECT_EQ(edit.MinVal(), 20.0L);
  edit.SetMaxVal(40);
  edit.SetMinVal(30);
  EXPECT_EQ(edit.Number(), 30.0L);
  edit.SetMaxVal(25);  // at least MinVal
  EXPECT_EQ(edit.MaxVal(), 30.0L);
}

TEST(DataEdit, NumberIsClampedAndWrittenWithEightDigits) {
  TDataEdit edit;
  edit.SetMinVal(-1);
  edit.SetMaxVal(1);
  edit.SetNumber(5);
  EXPECT_EQ(edit.text(), "1");
  edit.SetNumber(1.0L / 3);
  EXPECT_EQ(edit.text(), "0.33333333");
}

TEST(DataEdit, IntegerOnlyFieldsKeepTheirLimitsInThe32BitRange) {
  TDataEdit edit;
  edit.SetIntegerOnly(true);
  EXPECT_EQ(edit.MinVal(), -2147483648.0L);
  EXPECT_EQ(edit.MaxVal(), 2147483647.0L);
  edit.SetMaxVal(1e12L);
  EXPECT_EQ(edit.MaxVal(), 2147483647.0L);
}

TEST(DataEdit, LoadingStoresLimitsUnchecked) {
  TDataEdit edit;
  edit.SetLoading(true);
  edit.SetMaxVal(5);
  edit.SetMinVal(10);
  edit.SetNumber(100);
  EXPECT_EQ(edit.MinVal(), 10.0L);
  EXPECT_EQ(edit.MaxVal(), 5.0L);
  EXPECT_EQ(edit.text(), "100");
  edit.SetLoading(false);
}

TEST(DataEdit, LabelShowsCaptionAndUnits) {
  QLabel label;
  TDataEdit edit;
  edit.SetEditLabel(&label);
  EXPECT_EQ(label.buddy(), &edit);
  edit.SetCaption("Total Pile Length");
  EXPECT_EQ(label.text(), "Total Pile Length");
  edit.SetUnitsString("L");
  EXPECT_EQ(label.text(), "Total Pile Length (in)");
  edit.SetUnits(2);
  EXPECT_EQ(label.text(), "Total Pile Length (m)");
  edit.SetUnits(7);
  EXPECT_EQ(edit.Units(), 3);
  EXPECT_EQ(label.text(), "Total Pile Length (L)");
  edit.SetUnits(0);
  EXPECT_EQ(edit.Units(), 1);
  edit.SetUnitsString("F1/L2^2");
  EXPECT_EQ(label.text(), "Total Pile Length (kips/ft^2)");
  edit.setEnabled(false);
  EXPECT_FALSE(label.isEnabled());
  edit.setEnabled(true);
  EXPECT_TRUE(label.isEnabled());
}

TEST(DataEdit, OutlivesItsLabel) {
  TDataEdit edit;
  {
    QLabel label;
    edit.SetEditLabel(&label);
  }
  edit.SetCaption("Tolerance");
  EXPECT_EQ(edit.EditLabel(), nullptr);
}

TEST(DataEdit, EnterChecksAndSelectsTheText) {
  TDataEdit edit;
  edit.setText("2+2");
  TMessageCapture messages;
  Type(edit, Qt::Key_Return);
  EXPECT_EQ(edit.text(), "4");
  EXPECT_EQ(edit.selectedText(), "4");
  EXPECT_TRUE(messages.Messages().empty());

  edit.setText("2+");
  Type(edit, Qt::Key_Enter);
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"Entry could not be evaluated:\ninvalid expression"});
}

struct KeyCase {
  Qt::Key key;
  const char* typed;
  const char* textAfter;
};

class OperatorKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(OperatorKeyTest, OperatorsAppendToASelectedNumberOtherKeysReplaceIt) {
  const auto& c = GetParam();
  TDataEdit edit;
  edit.setText("12");
  edit.selectAll();
  Type(edit, c.key, QLatin1String(c.typed));
  EXPECT_EQ(edit.text(), QLatin1String(c.textAfter));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, OperatorKeyTest,
    ::testing::Values(KeyCase{Qt::Key_Asterisk, "*", "12*"}, KeyCase{Qt::Key_Plus, "+", "12+"},
                      KeyCase{Qt::Key_Minus, "-", "12-"}, KeyCase{Qt::Key_Slash, "/", "12/"},
                      KeyCase{Qt::Key_AsciiCircum, "^", "12^"}, KeyCase{Qt::Key_Equal, "=", "12="},
                      KeyCase{Qt::Key_Percent, "%", "12%"}, KeyCase{Qt::Key_Exclam, "!", "12!"},
                      KeyCase{Qt::Key_3, "3", "3"}));

TEST(DataEdit, LeavingTheFieldRunsTheCheckButSwitchingWindowsDoesNot) {
  TDataEdit edit;
  MakeIncrementsField(edit);
  edit.setText("7.5");
  TMessageCapture messages;
  Leave(edit, Qt::ActiveWindowFocusReason);
  EXPECT_TRUE(messages.Messages().empty());
  Leave(edit, Qt::TabFocusReason);
  EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Entry must be an integer."});
}

TEST(DataEdit, ReportsEveryCheckAfterItsMessage) {
  TDataEdit edit;
  MakeIncrementsField(edit);
  TMessageCapture messages;
  std::vector<std::pair<bool, QString>> exits;
  QObject::connect(&edit, &TDataEdit::Exit, [&](bool ok) { exits.emplace_back(ok, edit.text()); });
  edit.setText("4*5");
  edit.Evaluate();
  edit.setText("1000");
  Type(edit, Qt::Key_Return);
  ASSERT_EQ(exits.size(), 2u);
  EXPECT_EQ(exits[0], std::make_pair(true, QStringLiteral("20")));
  EXPECT_EQ(exits[1], std::make_pair(false, QStringLiteral("500")));
  EXPECT_EQ(messages.Messages().size(), 1u);
}

TEST(DataEdit, AFailedCheckTakesTheFocusBack) {
  QWidget form;
  auto* edit = new TDataEdit(&form);
  auto* other = new TDataEdit(&form);
  MakeIncrementsField(*edit);
  form.show();
  QApplication::setActiveWindow(&form);
  other->setFocus();
  edit->setText("3");
  TMessageCapture messages;
  edit->Evaluate();
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"Entry must be greater than or equal to 10"});
  EXPECT_TRUE(edit->hasFocus());
}

}  // namespace
}  // namespace korvan
