#include "components/CellControls.h"

#include <QEvent>
#include <QSignalBlocker>

namespace korvan {

namespace {

constexpr int kDropDownCount = 11;

// Tells of the focus arriving at a control.
class TFocusWatch : public QObject {
 public:
  TFocusWatch(QObject* parent, std::function<void()> entered)
      : QObject(parent), fEntered(std::move(entered)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn && fEntered) fEntered();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> fEntered;
};

}  // namespace

TCellWidgetControl::~TCellWidgetControl() {
  delete fWidget.data();
}

TCellComboBox::TCellComboBox(QWidget* parent, std::function<void(int, int)> chosen,
                             std::function<void(int)> entered)
    : TCellWidgetControl(new QComboBox(parent)) {
  QComboBox* box = Box();
  box->setMaxVisibleItems(kDropDownCount);
  QObject::connect(box, &QComboBox::activated, box,
                   [this, chosen = std::move(chosen)](int index) { chosen(Tag(), index); });
  box->installEventFilter(
      new TFocusWatch(box, [this, entered = std::move(entered)] { entered(Tag()); }));
}

QComboBox* TCellComboBox::Box() const {
  return static_cast<QComboBox*>(Widget());
}

void TCellComboBox::SetItems(const QStringList& names) {
  QComboBox* box = Box();
  if (!box) return;
  const QSignalBlocker blocker(box);
  const int index = box->currentIndex();
  box->clear();
  box->addItems(names);
  box->setCurrentIndex(index < names.size() ? index : -1);
}

void TCellComboBox::SetItemIndex(int index) {
  QComboBox* box = Box();
  if (!box) return;
  const QSignalBlocker blocker(box);
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

TCellButton::TCellButton(QWidget* parent, std::function<void(int)> clicked)
    : TCellWidgetControl(new QPushButton(parent)) {
  auto* button = static_cast<QPushButton*>(Widget());
  QObject::connect(button, &QPushButton::clicked, button,
                   [this, clicked = std::move(clicked)] { clicked(Tag()); });
}

void TCellButton::SetCaption(const QString& caption) {
  if (auto* button = static_cast<QPushButton*>(Widget())) button->setText(caption);
}

}  // namespace korvan
