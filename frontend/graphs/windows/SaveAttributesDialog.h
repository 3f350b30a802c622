// "Save Attributes": the size, resolution and colours of a graph saved as a
// picture.
#pragma once

#include <QDialog>

#include "graphs/PlotPicture.h"

class QRadioButton;

namespace korvan {

class TDataEdit;

// The picture attributes dialog of Save To Disk, formerly TdlgFormat.
class TSaveAttributesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSaveAttributesDialog(QWidget* parent = nullptr);

  // The choices as the fields hold them (checked on OK).
  TPictureAttributes Attributes() const;

  TDataEdit* HeightEdit() const { return fHeight; }
  TDataEdit* WidthEdit() const { return fWidth; }
  TDataEdit* PixelsPerInchEdit() const { return fPixelsPerInch; }

  void accept() override;

 private:
  TDataEdit* fHeight;
  TDataEdit* fWidth;
  TDataEdit* fPixelsPerInch;
  std::vector<QRadioButton*> fColors;  // in the order of TPictureColors
};

}  // namespace korvan
