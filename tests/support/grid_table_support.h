// Shared set-up of the grid-table tests: the two families side by side, a
// layer table with sub-table templates, and a stand-in editor window.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <memory>
#include <ostream>

#include "model/ColumnTypes.h"
#include "model/ColumnTypesChart.h"
#include "model/Exceptions.h"
#include "support/qstring_printer.h"

namespace korvan::testing {

struct PlainFamilyKinds {
  using Table = TGridTable;
  static constexpr bool kCarriesValuesOver = false;
  static TTableFamily& Family() { return PlainFamily(); }
  static const TColumnClass& Enum() { return TEnumColumn::Class(); }
  static const TColumnClass& Int() { return TIntColumn::Class(); }
  static const TColumnClass& Float() { return TFloatColumn::Class(); }
  static const TColumnClass& Table_() { return TTableColumn::Class(); }
  static const TColumnClass& String() { return TStringColumn::Class(); }
};

struct ChartFamilyKinds {
  using Table = TGridTableChart;
  static constexpr bool kCarriesValuesOver = true;
  static TTableFamily& Family() { return ChartFamily(); }
  static const TColumnClass& Enum() { return TEnumColumnChart::Class(); }
  static const TColumnClass& Int() { return TIntColumnChart::Class(); }
  static const TColumnClass& Float() { return TFloatColumnChart::Class(); }
  static const TColumnClass& Table_() { return TTableColumnChart::Class(); }
  static const TColumnClass& String() { return TStringColumnChart::Class(); }
};

template <class TKind>
TKind& Add(TGridTable& table, const TColumnClass& columnClass) {
  return dynamic_cast<TKind&>(table.AddColumn(columnClass));
}

// Two layer-data templates with the same two float columns, and a layer
// table whose column 0 chooses between them (identifiers 900 and 901).
template <class Kinds>
struct LayerTables {
  std::unique_ptr<typename Kinds::Table> clay = std::make_unique<typename Kinds::Table>();
  std::unique_ptr<typename Kinds::Table> sand = std::make_unique<typename Kinds::Table>();
  std::unique_ptr<typename Kinds::Table> layers = std::make_unique<typename Kinds::Table>();

  LayerTables() {
    Fill(*clay, "Clay Layer Data", 900);
    Fill(*sand, "Sand Layer Data", 901);
    auto& soil = Add<TEnumColumn>(*layers, Kinds::Enum());
    soil.SetNames({"Clay", "Sand"});
    Add<TFloatColumn>(*layers, Kinds::Float()).SetUnitsString("L");
    auto& data = Add<TTableColumn>(*layers, Kinds::Table_());
    data.Templates().Resize(0);
    data.Templates().AddByIdent(900);
    data.Templates().AddByIdent(901);
    layers->SetRowCount(2);
  }

  static void Fill(TGridTable& table, const char* caption, int identifier) {
    table.SetCaption(caption);
    table.SetIdentifier(identifier);
    table.SetMinRows(2);
    table.SetMaxRows(2);
    auto& weight = Add<TFloatColumn>(table, Kinds::Float());
    weight.SetHeading({"Effective Unit ", "Weight,"});
    weight.SetUnitsString("F/L^3");
    Add<TFloatColumn>(table, Kinds::Float()).SetDefault(0.9L);
  }
};

// Records what the table asks of its editor window.
class TFakeEditor : public TTableEditor, public TControlHost {
 public:
  TFakeEditor(TGridTable& table, bool modal) : fTable(table), fModal(modal) {}
  void ShowEditor() override { fTable.AttachForm(this, this); }
  void ShowEditorModal() override { fTable.AttachForm(this, this); }
  void CloseEditor() override {
    fTable.DetachForm();
    delete this;
  }
  bool IsModal() const override { return fModal; }
  int FormWidth() const override { return 300; }
  int FormHeight() const override { return 200; }
  void SetCaptionText(const QString& caption) override { fCaption = caption; }
  void HelpPictureChanged() override {}
  int TopRow() const override { return 0; }
  int RowsVisible() const override { return fTable.RowCount(); }
  std::unique_ptr<TCellControl> CreateComboBox(TEnumColumn&) override;
  std::unique_ptr<TCellControl> CreateButton(TTableColumn&) override;

  QString fCaption;

 private:
  TGridTable& fTable;
  bool fModal;
};

class TFakeControl : public TCellControl {
 public:
  void SetTag(int row) override { fTag = row; }
  int Tag() const override { return fTag; }
  void SetItemIndex(int index) override { fItemIndex = index; }
  void SetCaption(const QString& caption) override { fCaption = caption; }
  int fTag = -1;
  int fItemIndex = -1;
  QString fCaption;
};

inline std::unique_ptr<TCellControl> TFakeEditor::CreateComboBox(TEnumColumn&) {
  return std::make_unique<TFakeControl>();
}
inline std::unique_ptr<TCellControl> TFakeEditor::CreateButton(TTableColumn&) {
  return std::make_unique<TFakeControl>();
}

// Installs the stand-in editor for a family while it lives, counting windows.
class TEditorFactoryScope {
 public:
  explicit TEditorFactoryScope(TTableFamily& family) : fFamily(family) {
    fPrevious = family.EditorFactory;
    family.EditorFactory = [this](TGridTable& table, bool modal) -> TTableEditor* {
      ++fCreated;
      return new TFakeEditor(table, modal);
    };
  }
  ~TEditorFactoryScope() { fFamily.EditorFactory = fPrevious; }
  int Created() const { return fCreated; }

 private:
  TTableFamily& fFamily;
  TTableEditorFactory fPrevious;
  int fCreated = 0;
};

// The message of the failure `action` raises, or "" when it raises none.
inline QString MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EKorvanError& error) {
    return error.Message();
  }
  return QString();
}

}  // namespace korvan::testing
