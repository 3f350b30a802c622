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

#include "DataEdit.h"
#include "Options.h"
#include "ProgramSettings.h"
#include "Title.h"
#include "grid_table_support.h"
#include "message_capture.h"
#include "nPilePro.h"
#include "pilemat.h"
#include "project_support.h"

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
  EXPECT_FALSE(Tables().GetDataChanged());
  Type(form->ToleranceEdit(), QStringLiteral("1e-4"));
  EXPECT_TRUE(Tables().GetDataChanged());
  EXPECT_EQ(messages.Messages().size(), 1u);

  TEditorFactoryScope editors(ChartFamily());
  form->StiffnessButton()->click();
  EXPECT_TRUE(Tables().TblAE2().FormVisible());
  Tables().TblAE2().Hide();

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

TEST_F(PropertyFormTest, OnlyTheTitleMarksTheProjectChanged) {
  Data().Title = QString(100, QLatin1Char('x'));  // as a file may hold it
  TTitleForm* title = TTitleForm::Open();
  EXPECT_EQ(title->TitleEdit()->text(), Data().Title);
  Type(title->NameEdit(), QStringLiteral("A. Designer"));
  Type(title->DateEdit(), QStringLiteral("today"));
  EXPECT_TRUE(title->CommitEdits());
  EXPECT_EQ(Data().Name1, "A. Designer");
  EXPECT_EQ(Data().Date1, "today");
  EXPECT_FALSE(Tables().GetDataChanged());

  TQwFactorForm* factors = TQwFactorForm::Open();
  Type(factors->QFactorEdit(), QStringLiteral("1.5"));
  EXPECT_TRUE(factors->CommitEdits());
  EXPECT_EQ(Data().QFactor, 1.5L);
  EXPECT_FALSE(Tables().GetDataChanged());

  Type(title->TitleEdit(), QStringLiteral("Pier 7"));
  EXPECT_TRUE(title->close());
  EXPECT_EQ(Data().Title, "Pier 7");
  EXPECT_TRUE(Tables().GetDataChanged());
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
