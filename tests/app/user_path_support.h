// The real main window driven as a user drives it, under the X server the
// test runs in: menus chosen with the mouse by their captions, fields and
// cells typed into, modal dialogs and file dialogs answered as they open,
// and pictures of windows left in the screenshots folder of the build.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/FileDialogs.h"
#include "components/TableForm.h"
#include "main_window_support.h"

namespace korvan::testing {

inline QString Plain(QString caption) {
  return caption.remove(QLatin1Char('&'));
}

class UserPathTest : public MainWindowTest {
 protected:
  void SetUp() override {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    MainWindowTest::SetUp();
    // The program's own dialogs, not the scripted ones of the other tests.
    Window().ChooseSaveFile = [this](const QString& title, const QString& preset) {
      return SaveFileDialog(&Window(), title, preset);
    };
    Window().ChooseOpenFile = [this] { return OpenFileDialog(&Window()); };
    Window().resize(1200, 900);
    Window().show();
    Window().FormShow({});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    QDir().mkpath(QStringLiteral(KORVAN_SCREENSHOT_DIR));
    // A dialog left unanswered fails the test instead of hanging it.
    fWatchdog.setInterval(15000);
    QObject::connect(&fWatchdog, &QTimer::timeout, [this] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog != nullptr && dialog == fLastModal) {
        ADD_FAILURE() << "unanswered dialog: " << dialog->windowTitle().toStdString();
        dialog->reject();
      }
      fLastModal = dialog;
    });
    fWatchdog.start();
  }

  // Opens the menu bar's menu `title` with a click, and the submenus on the
  // way with the right arrow (a click on a submenu's entry opens it only
  // after a delay), and clicks the last item.
  void Choose(const QStringList& path) {
    QMenuBar* bar = Window().menuBar();
    QAction* entry = FindAction(bar->actions(), path.first());
    ASSERT_NE(entry, nullptr) << path.first().toStdString();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(entry).center());
    QMenu* menu = entry->menu();
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    for (qsizetype i = 1; i < path.size(); ++i) {
      QAction* action = FindAction(menu->actions(), path[i]);
      ASSERT_NE(action, nullptr) << path[i].toStdString();
      ASSERT_TRUE(action->isEnabled()) << path[i].toStdString() << " is disabled";
      const QPoint at = menu->actionGeometry(action).center();
      if (action->menu() == nullptr) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        break;
      }
      // The menu takes no pointer motion just after it opens: the entry is
      // highlighted as the arrow keys would, and the right arrow opens it.
      menu->setActiveAction(action);
      QTest::keyClick(menu, Qt::Key_Right);
      menu = action->menu();
      ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); })) << path[i].toStdString();
    }
    Settle();
  }
  // Whether the item at the end of `path` is enabled when its menu opens.
  bool Enabled(const QString& title, const QString& item) {
    QMenu* menu = FindAction(Window().menuBar()->actions(), title)->menu();
    emit menu->aboutToShow();
    QAction* action = FindAction(menu->actions(), item);
    return action != nullptr && action->isEnabled();
  }
  static QAction* FindAction(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions)
      if (Plain(action->text()) == Plain(caption)) return action;
    return nullptr;
  }

  // Runs `answer` on the next modal window of class `className`, from the
  // event loop of whatever command opened it.
  static void WhenModal(const char* className, std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(30);
    QObject::connect(timer, &QTimer::timeout, [timer, className, answer] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->inherits(className) || !modal->isVisible()) return;
      timer->stop();
      timer->deleteLater();
      answer(modal);
    });
    timer->start();
  }
  // Answers the next file dialog with `path`, typed into its name field, and
  // confirms it; until the dialog has gone (a completion list opened by the
  // typing, or a slow folder listing, can keep it open once).
  static void AnswerFileDialog(const QString& path, QString* title = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(50);
    auto answered = std::make_shared<QPointer<QFileDialog>>();
    auto tried = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [=] {
      if (*tried && (answered->isNull() || !(*answered)->isVisible())) {
        timer->stop();
        timer->deleteLater();
        return;
      }
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      *answered = dialog;
      *tried = true;
      if (title != nullptr) *title = dialog->windowTitle();
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      TypeInto(name, path);
      if (name->completer() != nullptr) name->completer()->popup()->hide();
      static_cast<QDialog*>(dialog)->accept();
    });
    timer->start();
  }

  // Answers the next question box with its button `button`; `asked` gets
  // the question, and the picture `picture` (when named) shows the box.
  static void AnswerQuestion(const QString& button, QString* asked = nullptr,
                             const QString& picture = {}) {
    WhenModal("QMessageBox", [button, asked, picture](QWidget* modal) {
      auto* box = static_cast<QMessageBox*>(modal);
      if (asked != nullptr) *asked = box->text();
      if (!picture.isEmpty()) Screenshot(box, picture);
      for (QAbstractButton* choice : box->buttons()) {
        if (Plain(choice->text()) == Plain(button)) {
          choice->click();
          return;
        }
      }
      ADD_FAILURE() << "no button " << button.toStdString() << " in " << box->text().toStdString();
      box->reject();
    });
  }

  static void Settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  static void TypeInto(QWidget* field, const QString& text) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
  }
  static void ClickButton(QWidget* window, const QString& caption) {
    for (auto* button : window->findChildren<QPushButton*>()) {
      if (Plain(button->text()) == Plain(caption) && button->isVisible()) {
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
        return;
      }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
  }

  // The table editor window that is active, or whose caption starts with
  // `caption`.
  TTableForm* ActiveWindow() {
    QMdiSubWindow* sub = Window().MdiArea()->activeSubWindow();
    return sub ? dynamic_cast<TTableForm*>(sub->widget()) : nullptr;
  }
  TTableForm* WindowCaptioned(const QString& caption) {
    for (QMdiSubWindow* sub : Window().MdiArea()->subWindowList())
      if (sub->widget()->windowTitle().startsWith(caption))
        return dynamic_cast<TTableForm*>(sub->widget());
    return nullptr;
  }
  // The grid column whose heading holds `word`.
  static int ColumnHeaded(TTableForm& form, const QString& word) {
    for (int c = 0; c < form.Grid()->columnCount(); ++c) {
      const QTableWidgetItem* heading = form.Grid()->horizontalHeaderItem(c);
      if (heading != nullptr && heading->text().contains(word)) return c;
    }
    ADD_FAILURE() << "no column headed " << word.toStdString();
    return 0;
  }
  // Clicks the cell and types `text` into it, ending with Enter.
  static void EnterCell(TTableForm& form, int row, int column, const QString& text) {
    TTableGrid* grid = form.Grid();
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    Settle();
    ASSERT_EQ(grid->currentIndex(), index) << "the cursor did not move to the clicked cell";
    grid->EditCurrentCell();
    QWidget* editor = grid->indexWidget(index);
    ASSERT_NE(editor, nullptr);
    TypeInto(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  static void EnterColumn(TTableForm& form, const QString& heading, const QStringList& texts) {
    const int column = ColumnHeaded(form, heading);
    for (int row = 0; row < texts.size(); ++row) EnterCell(form, row, column, texts[row]);
  }

  // A picture of `widget` (a window, or the whole main window).
  static void Screenshot(QWidget* widget, const QString& name) {
    Settle();
    const QString path = QStringLiteral(KORVAN_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
    EXPECT_TRUE(widget->grab().save(path)) << path.toStdString();
  }
  void Screenshot(const QString& name) { Screenshot(&Window(), name); }

 private:
  QTimer fWatchdog;
  QPointer<QDialog> fLastModal;
};

}  // namespace korvan::testing
