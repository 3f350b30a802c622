// The property windows in the main window's MDI area: refresh from the
// project, store into it, refuse and keep the focus, and which edits mark
// the project changed.
#include <QApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/OptionsForm.h"
#include "app/PilePropertiesForm.h"
#include "app/ProgramSettings.h"
#include "app/QwFactorForm.h"
#include "app/TitleForm.h"
#include "components/DataEdit.h"
#include "support/grid_table_support.h"
#include "support/message_capture.h"
#include "support/project_fixtures.h"

namespace korvan::testing {
namespace {

class PropertyFormTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    fArea.resize(1000, 800);
    fArea.show();
    fArea.activateWindow();
    platform::SetChildWindowArea(&fArea);
  }
  void TearDown() override {
    platform::SetChildWindowArea(nullptr);
    qDeleteAll(fArea.subWindowList());
    ProjectTest::TearDown();
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
  }

  QMdiArea fArea;
};

TEST_F(PropertyFormTest, PilePropertiesFollowTheTipRefuseAndStoreWhole) {
  TMessageCapture messages;
  TPilePropertiesForm* form = TPilePropertiesForm::Open();
  Type(form->LengthEdit(), QStringLiteral("600"));
  Type(form->HeadEdit(), QStringLiteral("-"));
  EXPECT_EQ(form->TipEdit()->text(), "600");  // no number yet
  QTest::keyClicks(form->HeadEdit(), QStringLiteral("24"));
  EXPECT_EQ(form->TipEdit()->text(), "576");
  EXPECT_EQ(form->TipEdit()->EditLabel()->text(), "Pile Tip Coord. (in)");
  EXPECT_EQ(form->TipAreaEdit()->EditLabel()->text(), "Area of Pile Tip (in²)");

  Type(form->IncrementsEdit(), QStringLiteral("5"));
  EXPECT_FALSE(form->CommitEdits());
  EXPECT_EQ(messages.Messages(),
            std::vector<std::string>{"Entry must be greater than or equal to 10"});
  EXPECT_EQ(form->focusWidget(), form->IncrementsEdit());
  EXPECT_EQ(Data().PLength, 0);  // nothing partial is stored
  EXPECT_EQ(Data().NINC, 50);

  EXPECT_TRUE(form->CommitEdits());  // the field now holds its minimum
  EXPECT_EQ(Data().PLength, 600);
  EXPECT_EQ(Data().HeadCoord, -24);
  EXPECT_EQ(Data().NINC, 10);
  EXPECT_TRUE(Tables().GetDataChanged()) << "the length, head and increments changed";
  EXPECT_EQ(messages.Messages().size(), 1u);

  TEditorFactoryScope editors(ChartFamily());
  form->StiffnessButton()->click();
  EXPECT_TRUE(Tables().PileStiffness().FormVisible());
  Tables().PileStiffness().Hide();

  Data().SetUnits(2);
  EXPECT_EQ(form->LengthEdit()->text(), "15.24");
  EXPECT_EQ(form->LengthEdit()->EditLabel()->text(), "Total Pile Length (m)");
  EXPECT_EQ(form->TipEdit()->text(), "14.6304");
}

// Leaving the window with a refused entry reports it once, stores nothing
// and brings the window back.
TEST_F(PropertyFormTest, LeavingWithARefusedEntryBringsTheWindowBack) {
  TMessageCapture messages;
  TPilePropertiesForm* form = TPilePropertiesForm::Open();
  Type(form->LengthEdit(), QStringLiteral("2+"));
  // A click into another window takes the focus (the field checks itself)
  // before that window becomes the active one.
  QFocusEvent leaving(QEvent::FocusOut, Qt::MouseFocusReason);
  QApplication::sendEvent(form->LengthEdit(), &leaving);
  TQwFactorForm* factors = TQwFactorForm::Open();
  QApplication::processEvents();
  EXPECT_EQ(messages.Messages().size(), 1u);
  EXPECT_TRUE(form->IsActiveChild());
  EXPECT_EQ(form->LengthEdit()->text(), "2+");
  EXPECT_EQ(fArea.subWindowList().size(), 2);
  EXPECT_TRUE(factors->isVisible());

  // Closing is refused too, until the entry is corrected.
  messages.Clear();
  EXPECT_FALSE(form->close());
  EXPECT_EQ(messages.Messages().size(), 1u);
  Type(form->LengthEdit(), QStringLiteral("2*300"));
  EXPECT_TRUE(form->close());
  EXPECT_EQ(Data().PLength, 600);
}

// Every field that is saved with the project marks it changed when a store
// changes its value, and only then: a window opened and left as it was, or
// a value typed again as it was, marks nothing, and a value with more digits
// than a field shows is not rounded by leaving the window.
TEST_F(PropertyFormTest, EveryStoredChangeMarksTheProjectAndNothingElse) {
  using TField = std::function<QLineEdit*()>;
  const TField title = [] { return TTitleForm::Open()->TitleEdit(); };
  const TField name = [] { return TTitleForm::Open()->NameEdit(); };
  const TField date = [] { return TTitleForm::Open()->DateEdit(); };
  const TField tolerance = [] { return TPilePropertiesForm::Open()->ToleranceEdit(); };
  const TField tipArea = [] { return TPilePropertiesForm::Open()->TipAreaEdit(); };
  const TField increments = [] { return TPilePropertiesForm::Open()->IncrementsEdit(); };
  const TField length = [] { return TPilePropertiesForm::Open()->LengthEdit(); };
  const TField diameter = [] { return TPilePropertiesForm::Open()->DiameterEdit(); };
  const TField head = [] { return TPilePropertiesForm::Open()->HeadEdit(); };
  const TField qFactor = [] { return TQwFactorForm::Open()->QFactorEdit(); };
  const TField wFactor = [] { return TQwFactorForm::Open()->wFactorEdit(); };
  struct Case {
    const char* what;
    TField field;
    const char* typed;  // nothing typed when null
    bool marks;
  };
  const std::vector<Case> cases = {
      {"title", title, "Pier 7", true},
      {"title as it was", title, "Example pile", false},
      {"designer", name, "A. Designer", false},
      {"date", date, "today", false},
      {"tolerance", tolerance, "1e-4", true},
      {"tolerance as shown", tolerance, "1e-5", false},
      {"tip area", tipArea, "3.1416*18*18/4", true},
      {"increments", increments, "40", true},
      {"increments as they were", increments, "50", false},
      {"length", length, "600", true},
      {"length as shown", length, "1234.5679", false},
      {"diameter", diameter, "18", true},
      {"head", head, "-24", true},
      {"Q-multiplier", qFactor, "1.5", true},
      {"w-multiplier", wFactor, "0.8", true},
      {"w-multiplier as it was", wFactor, "1", false},
      {"pile window left as it was", length, nullptr, false},
      {"Q-w window left as it was", qFactor, nullptr, false},
      {"title window left as it was", title, nullptr, false},
  };
  for (const Case& c : cases) {
    ProgramData = std::make_unique<TProgramData>(Tables());
    Data().Title = QStringLiteral("Example pile");
    Data().PLength = 1234.5678912L;  // more digits than the field shows
    QLineEdit* field = c.field();
    if (c.typed) Type(field, QString::fromUtf8(c.typed));
    QWidget* owner = field->parentWidget();
    while (owner && !qobject_cast<TPropertyForm*>(owner)) owner = owner->parentWidget();
    auto* form = qobject_cast<TPropertyForm*>(owner);
    ASSERT_NE(form, nullptr) << c.what;
    EXPECT_TRUE(form->CommitEdits()) << c.what;
    EXPECT_EQ(Tables().GetDataChanged(), c.marks) << c.what;
    EXPECT_TRUE(form->close()) << c.what;
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Tables().GetDataChanged(), c.marks) << "closing stores nothing new: " << c.what;
    if (!c.marks) EXPECT_EQ(Data().PLength, 1234.5678912L) << c.what;
  }
  EXPECT_EQ(Data().Title, "Example pile");
}

TEST_F(PropertyFormTest, OptionsEditTheTextEditorSetting) {
  ProgramSettings.WordProcessor = QStringLiteral("/usr/bin/editor");
  TOptionsForm* options = TOptionsForm::Open();
  EXPECT_EQ(options->TextEditorEdit()->text(), "/usr/bin/editor");
  const QString program = WriteFile(QStringLiteral("my editor"), QStringLiteral("#!/bin/sh\n"));
  QFile(program).setPermissions(QFile::permissions(program) | QFileDevice::ExeOwner);
  options->BrowseButton()->click();
  auto* dialog = options->findChild<QFileDialog*>();
  ASSERT_NE(dialog, nullptr);
  dialog->selectFile(program);
  QMetaObject::invokeMethod(dialog, &QDialog::accept);
  EXPECT_EQ(options->TextEditorEdit()->text(), program);
  EXPECT_TRUE(options->close());
  EXPECT_EQ(ProgramSettings.WordProcessor, program);
  EXPECT_FALSE(Tables().GetDataChanged());
  ProgramSettings.WordProcessor.clear();
}

}  // namespace
}  // namespace korvan::testing
