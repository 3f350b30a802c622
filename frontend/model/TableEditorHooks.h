// What the grid tables need from their editor windows. The tables hold values
// only; the editor windows implement these interfaces and register a factory
// per table family, so the tables work (and are tested) without any window.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace korvan {

class TGridTable;
class TEnumColumn;
class TTableColumn;

// The open editor window of one table, as its table sees it.
class TTableEditor {
 public:
  virtual ~TTableEditor() = default;
  virtual void ShowEditor() = 0;       // show without blocking
  virtual void ShowEditorModal() = 0;  // show and return when closed
  // Closes and frees the window; the window calls DetachForm on its table.
  virtual void CloseEditor() = 0;
  virtual bool IsModal() const = 0;
  virtual int FormWidth() const = 0;
  virtual int FormHeight() const = 0;
  virtual void SetCaptionText(const QString& caption) = 0;
  virtual void HelpPictureChanged() = 0;
  // The rows in view, for the cell controls of columns added while open.
  virtual int TopRow() const = 0;
  virtual int RowsVisible() const = 0;
  // The window follows its table's signals (TGridTable::cellChanged,
  // majorChange, controlEntered) while it is attached.
};

// Creates the editor window of `table`; `modal` asks for a free-standing
// window that will be shown modally.
using TTableEditorFactory = std::function<TTableEditor*(TGridTable& table, bool modal)>;

// One control laid over a cell: a combo box (enumeration) or a button (table).
class TCellControl {
 public:
  virtual ~TCellControl() = default;
  virtual void SetTag(int row) = 0;
  virtual int Tag() const = 0;
  virtual void SetItems(const QStringList& names) { static_cast<void>(names); }
  virtual void SetItemIndex(int index) { static_cast<void>(index); }
  virtual void SetCaption(const QString& caption) { static_cast<void>(caption); }
};

// The window that creates and parents the cell controls.
class TControlHost {
 public:
  virtual ~TControlHost() = default;
  virtual std::unique_ptr<TCellControl> CreateComboBox(TEnumColumn& column) = 0;
  virtual std::unique_ptr<TCellControl> CreateButton(TTableColumn& column) = 0;
};

// Text measurement of the window that shows the headings.
struct TTextMeasure {
  int PixelsPerInch = 96;
  std::function<int(const QString& text)> TextWidth;
};

}  // namespace korvan
