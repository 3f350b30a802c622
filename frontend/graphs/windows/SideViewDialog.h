// The elevation view of the pile in its soil profile ("Elevation View").
// It draws what the main window hands it on every activation, so that it
// needs nothing of the project model itself.
#pragma once

#include <QFont>
#include <functional>
#include <memory>

#include "graphs/PileProfile.h"
#include "graphs/SideViewGeometry.h"
#include "platform/qt/child_window.h"

class QCheckBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace korvan {

// The side view, formerly TDlgSideView.
class TSideViewDialog : public platform::TChildWindow {
  Q_OBJECT

 public:
  using TProfileSource = std::function<TPileProfile()>;

  // `source` is asked for the profile each time the window becomes active.
  explicit TSideViewDialog(TProfileSource source, QWidget* parent = nullptr);
  ~TSideViewDialog() override;

  // Prints the profile on `printer`: landscape, titled "Soil-Pile Profile".
  // Throws EKorvanError when the printer cannot be started.
  void PrintTo(QPrinter& printer);

  const TSideViewGeometry& Geometry() const { return fGeometry; }
  const TPileProfile& Profile() const { return fProfile; }

  QPushButton* PrintButton;  // "Print"
  QLabel* GeometryLabel;     // "Pile Geometry"; its font prints the labels
  QCheckBox* OmitHatchCheckBox;
  QPushButton* CloseButton;  // "Close"

 protected:
  void FormActivate() override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void PrintButtonClick();
  void PlaceControls();

  TProfileSource fSource;
  TPileProfile fProfile;
  TSideViewGeometry fGeometry;
  std::unique_ptr<QPrinter> fPrinter;
};

}  // namespace korvan
